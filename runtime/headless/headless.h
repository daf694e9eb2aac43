// The headless backend: the window model with no screen, for tests and for rendering to PNG,
// drawn by the same painter as the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/backend.h"

namespace rt {

class Window;

std::unique_ptr<Backend> MakeHeadlessBackend();

// Beeps the headless backend was asked for since the process started (input refused, ...).
int32_t HeadlessBeeps();

// A window as painted: width x height pixels, row by row, each 0xAARRGGBB.
struct Pixels {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;
  // The pixel at (x, y), 0 outside the image.
  uint32_t At(int32_t x, int32_t y) const;
  // The same as the runtime's colour 0BBGGRRH (alpha dropped), -1 outside the image.
  int32_t ColorAt(int32_t x, int32_t y) const;
};

// Paints the window into pixels of its size (a hidden window paints nothing: all zero).
// Call with the runtime lock held.
Pixels RenderToSurface(const Window& w);
// The same, written as a PNG file; false when the file cannot be written.
bool RenderToPng(const Window& w, const std::string& path);

}  // namespace rt
