// Draws a window of the model onto a cairo surface, in pixels, in the classic desktop look. The
// one drawing module, shared by the headless and X11 backends; it includes no display headers.
#pragma once

#include <cstdint>

typedef struct _cairo cairo_t;

namespace rt {

class Window;

namespace paint {

struct SizePx {
  int32_t width = 0;
  int32_t height = 0;
};

// The window's client area in whole pixels (at least 1 x 1, at most 16384 on a side).
SizePx WindowSizePx(const Window& w);

// Paints the window with its top-left corner at cairo's origin: the background, the sheets
// (pages lie beneath everything), every other visible control in field order, then the status
// bar. Hidden windows paint nothing. Call with the runtime lock held.
void PaintWindow(cairo_t* cr, const Window& w);

}  // namespace paint
}  // namespace rt
