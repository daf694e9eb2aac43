// The X11 tests' shared pieces: the Xvfb environment, xdotool input, pixel read-back and
// screenshots.
#include "tests/x11/x11_fixture.h"

// After GoogleTest: Xlib's macros (None, Bool) would clash with its templates.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "runtime/backend.h"
#include "tests/support/xvfb.h"

namespace x11test {
namespace {

testsupport::Xvfb* g_xvfb = nullptr;

// The server is not stopped when the tests are done: the runtime's X connections stay open until
// the process ends, and the server then ends with it.
class X11Environment : public ::testing::Environment {
 public:
  void SetUp() override { g_xvfb = new testsupport::Xvfb; }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new X11Environment);

// A connection of the test's own, apart from the runtime's.
class Connection {
 public:
  Connection() : dpy_(XOpenDisplay(nullptr)) {}
  ~Connection() {
    if (dpy_) XCloseDisplay(dpy_);
  }
  ::Display* get() const { return dpy_; }

 private:
  ::Display* dpy_;
};

Capture FromImage(XImage* img, int w, int h) {
  Capture c;
  if (img == nullptr) return c;
  c.width = w;
  c.height = h;
  c.colors.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned long p = XGetPixel(img, x, y);  // 00RRGGBB on a 24-bit screen
      c.colors[static_cast<size_t>(y) * w + x] =
          static_cast<int32_t>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
    }
  XDestroyImage(img);
  return c;
}

}  // namespace

int32_t Capture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return -1;
  return colors[static_cast<size_t>(y) * width + x];
}

int Capture::Count(const ScreenRect& r, bool (*pred)(int32_t)) const {
  int n = 0;
  for (int y = r.y; y < r.bottom(); ++y)
    for (int x = r.x; x < r.right(); ++x) n += At(x, y) >= 0 && pred(At(x, y)) ? 1 : 0;
  return n;
}

int Capture::CountColor(const ScreenRect& r, int32_t color) const {
  int n = 0;
  for (int y = r.y; y < r.bottom(); ++y)
    for (int x = r.x; x < r.right(); ++x) n += At(x, y) == color ? 1 : 0;
  return n;
}

bool Capture::Keep(const std::string& name) const {
  const char* dir = std::getenv("VISTIP_SHOTS");
  if (dir == nullptr || *dir == '\0' || width == 0) return true;
  std::filesystem::create_directories(dir);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const uint32_t c = static_cast<uint32_t>(At(x, y));
      row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
  cairo_surface_mark_dirty(s);
  const bool ok =
      cairo_surface_write_to_png(s, (std::filesystem::path(dir) / (name + ".png")).c_str()) ==
      CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

bool IsBlue(int32_t c) {
  return c >= 0 && ((c >> 16) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) < 0x90 && (c & 0xFF) < 0x90;
}

// xdotool runs apart, so that the runtime's threads go on handling what it makes happen. A run
// that outlasts the wait still finishes after this returns, so what it reports is shared.
bool Xdotool(const std::string& args) {
  struct Outcome {
    std::atomic<bool> done{false};
    std::atomic<bool> ok{false};
  };
  const auto outcome = std::make_shared<Outcome>();
  std::thread([outcome, command = "xdotool " + args + " >/dev/null 2>&1"] {
    outcome->ok = std::system(command.c_str()) == 0;
    outcome->done = true;
  }).detach();
  rt::WaitFor([&] { return outcome->done.load(); }, std::chrono::seconds(10));
  return outcome->done && outcome->ok;
}

bool ClickAt(unsigned long xid, int x, int y, int button) {
  return Xdotool("mousemove --window " + std::to_string(xid) + " " + std::to_string(x) + " " +
                 std::to_string(y) + " click " + std::to_string(button));
}

ScreenRect FieldRect(const rt::Window& w, int32_t field) {
  const rt::Control* c = w.Find(field);
  if (c == nullptr) return {};
  const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
  const int left = px(c->x * w.PxPerDuX()), top = px(c->y * w.PxPerDuY());
  return {left, top, px((c->x + w.AutoWidth(*c)) * w.PxPerDuX()) - left,
          px((c->y + w.AutoHeight(*c)) * w.PxPerDuY()) - top};
}

std::pair<int, int> FieldCentre(const rt::Window& w, int32_t field) {
  const ScreenRect r = FieldRect(w, field);
  return {r.x + r.w / 2, r.y + r.h / 2};
}

ScreenRect WindowOnScreen(unsigned long xid) {
  Connection c;
  XWindowAttributes a;
  if (c.get() == nullptr || xid == 0 || !XGetWindowAttributes(c.get(), xid, &a) ||
      a.map_state != IsViewable)
    return {};
  int x = 0, y = 0;
  ::Window child;
  XTranslateCoordinates(c.get(), xid, DefaultRootWindow(c.get()), 0, 0, &x, &y, &child);
  return {x, y, a.width, a.height};
}

Capture CaptureWindow(unsigned long xid) {
  Connection c;
  XWindowAttributes a;
  if (c.get() == nullptr || xid == 0 || !XGetWindowAttributes(c.get(), xid, &a) ||
      a.map_state != IsViewable)
    return {};
  return FromImage(XGetImage(c.get(), xid, 0, 0, a.width, a.height, AllPlanes, ZPixmap), a.width,
                   a.height);
}

Capture CaptureScreen(const ScreenRect& r) {
  Connection c;
  if (c.get() == nullptr) return {};
  return FromImage(
      XGetImage(c.get(), DefaultRootWindow(c.get()), r.x, r.y, r.w, r.h, AllPlanes, ZPixmap), r.w,
      r.h);
}

unsigned long FocusedWindow() {
  Connection c;
  ::Window focus = 0;
  int revert = 0;
  if (c.get()) XGetInputFocus(c.get(), &focus, &revert);
  return focus;
}

std::vector<unsigned long> StackingOrder() {
  Connection c;
  std::vector<unsigned long> out;
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  if (c.get() && XQueryTree(c.get(), DefaultRootWindow(c.get()), &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i) {
      XWindowAttributes a;
      if (XGetWindowAttributes(c.get(), children[i], &a) && a.map_state == IsViewable)
        out.push_back(children[i]);
    }
    XFree(children);
  }
  return out;
}

void X11Test::SetUp() {
  if (g_xvfb == nullptr || !g_xvfb->running()) GTEST_SKIP() << "Xvfb is not installed";
  if (!testsupport::Xvfb::Found("xdotool")) GTEST_SKIP() << "xdotool is not installed";
  ASSERT_STREQ(rt::CurrentBackend().name(), "x11");
}

}  // namespace x11test
