// The headless backend: windows exist only in the model, input comes from the test harness,
// and pictures of windows are painted on cairo image surfaces by the shared painter.
#include "runtime/headless/headless.h"

#include <cairo.h>

#include <atomic>
#include <cstring>

#include "runtime/input.h"
#include "runtime/paint/painter.h"
#include "runtime/window.h"

namespace rt {
namespace {

std::atomic<int32_t> g_beeps{0};

class HeadlessBackend : public Backend {
 public:
  const char* name() const override { return "headless"; }
  // With no window manager the window opened last takes the focus.
  void WindowOpened(Window& w) override { input::WindowFocus(w, true); }
  void WindowClosed(Window&) override {}
  void WindowChanged(Window&) override {}
  void Beep() override { ++g_beeps; }
};

// An image surface of the window's size with the window painted on it.
cairo_surface_t* Paint(const Window& w) {
  const paint::SizePx size = paint::WindowSizePx(w);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.width, size.height);
  cairo_t* cr = cairo_create(surface);
  paint::PaintWindow(cr, w);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() {
  return std::make_unique<HeadlessBackend>();
}

int32_t HeadlessBeeps() {
  return g_beeps.load();
}

uint32_t Pixels::At(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return argb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

int32_t Pixels::ColorAt(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return -1;
  const uint32_t p = At(x, y);
  return static_cast<int32_t>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

Pixels RenderToSurface(const Window& w) {
  cairo_surface_t* surface = Paint(w);
  Pixels px;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    px.width = cairo_image_surface_get_width(surface);
    px.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    px.argb.resize(static_cast<size_t>(px.width) * static_cast<size_t>(px.height));
    for (int32_t y = 0; y < px.height; ++y) {
      std::memcpy(&px.argb[static_cast<size_t>(y) * static_cast<size_t>(px.width)],
                  data + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(px.width) * 4);
    }
  }
  cairo_surface_destroy(surface);
  return px;
}

bool RenderToPng(const Window& w, const std::string& path) {
  cairo_surface_t* surface = Paint(w);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                  cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace rt
