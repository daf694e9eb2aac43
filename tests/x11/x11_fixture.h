// What the X11 tests share: the private Xvfb of the test binary (one for all its tests), real
// input through xdotool, and the pixels of a window or of a part of the screen read back from
// the server, optionally kept as PNG screenshots.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/thread.h"
#include "runtime/window.h"

namespace x11test {

// A rectangle in screen pixels.
struct ScreenRect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
};

// Pixels read back from the server, each as the runtime's colour 0BBGGRRH.
struct Capture {
  int width = 0, height = 0;
  std::vector<int32_t> colors;
  int32_t At(int x, int y) const;  // -1 outside
  // Pixels of r (capture coordinates) that satisfy pred.
  int Count(const ScreenRect& r, bool (*pred)(int32_t)) const;
  int CountColor(const ScreenRect& r, int32_t color) const;
  // Written as a PNG under $VISTIP_SHOTS (when set) as NAME.png; true when not asked or done.
  bool Keep(const std::string& name) const;
};

bool IsBlue(int32_t color);  // a link's blue, anti-aliased edges included

// Runs an xdotool command line (arguments already quoted), releasing the runtime lock meanwhile.
bool Xdotool(const std::string& args);
// Moves the pointer to (x, y) of the X window and clicks the button there (1 left, 3 right).
bool ClickAt(unsigned long xid, int x, int y, int button = 1);
// The centre of a field of a runtime window, in that window's pixels.
std::pair<int, int> FieldCentre(const rt::Window& w, int32_t field);
// A field's rectangle in the window's pixels.
ScreenRect FieldRect(const rt::Window& w, int32_t field);

// Where an X window is on the screen, 0 x 0 when it is not there.
ScreenRect WindowOnScreen(unsigned long xid);
// The pixels of an X window, or of a rectangle of the screen.
Capture CaptureWindow(unsigned long xid);
Capture CaptureScreen(const ScreenRect& r);
// The X window that has the input focus.
unsigned long FocusedWindow();
// The top-level X windows from bottom to top.
std::vector<unsigned long> StackingOrder();

// The base of the X11 tests: skips with a clear message without Xvfb or xdotool, and makes the
// test thread a runtime thread.
class X11Test : public ::testing::Test {
 protected:
  void SetUp() override;
  rt::RuntimeThread thread_;
};

}  // namespace x11test
