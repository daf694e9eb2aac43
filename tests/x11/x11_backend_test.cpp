// The X11 backend under a private Xvfb: real windows, real clicks and keys from xdotool,
// pixels read back from the server.
#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, Bool) would clash with its templates.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "runtime/x11/x11_backend.h"
#include "tests/x11/x11_fixture.h"

namespace rt {
namespace {

using x11test::Xdotool;
using X11Test = x11test::X11Test;

struct Seen {
  std::vector<std::pair<int32_t, int32_t>> events;
  Window* window = nullptr;
  char name[20];
};

int32_t RunWindow(Seen& s) {
  std::fill(std::begin(s.name), std::end(s.name), ' ');
  return Start([&s] {
    WindowDesc d;
    d.caption = "X11 test";
    d.x = 20;
    d.y = 20;
    d.w = 160;
    d.h = 80;
    d.color = 0xECFFFE;
    d.controls = {
        {.field = 1, .type = kCreateButton, .x = 10, .y = 10, .w = 50, .h = 14, .text = "&Press"},
        {.field = 2,
         .type = kCreateEntry,
         .x = 10,
         .y = 30,
         .w = 100,
         .h = 10,
         .use = Binding{s.name, sizeof s.name, nullptr}},
        {.field = 3,
         .type = kCreatePrompt,
         .x = 10,
         .y = 50,
         .text = "blue link",
         .props = {{kPropFontColor, "16711680"}, {kPropFontStyle, "8592"}}},
    };
    Window w(d);
    w.Open();
    s.window = &w;
    while (w.Accept()) s.events.emplace_back(Event(), Field());
    s.window = nullptr;
  });
}

// The sockets this process holds open: its X connections among them.
int OpenSockets() {
  int n = 0;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    const auto target = std::filesystem::read_symlink(fd.path(), ec);
    n += !ec && target.string().rfind("socket:", 0) == 0 ? 1 : 0;
  }
  return n;
}

// By the time Join says a thread has ended, its X connection is closed: nothing of the thread
// is still talking to the server while the process goes on, or exits.
TEST_F(X11Test, AThreadHasClosedItsConnectionWhenJoinReturns) {
  const int before = OpenSockets();
  for (int round = 0; round < 20; ++round) {
    Seen s;
    const int32_t t = RunWindow(s);
    ASSERT_TRUE(WaitFor([&] { return s.window != nullptr && X11WindowId(*s.window) != 0; }));
    EXPECT_EQ(OpenSockets(), before + 1) << "the thread's own connection";
    harness::CloseWindow(*s.window);
    ASSERT_TRUE(Join(t));
    ASSERT_EQ(OpenSockets(), before) << "round " << round;
  }
}

TEST_F(X11Test, ClicksAndTypingFromXdotoolReachTheWindow) {
  Seen s;
  const int32_t t = RunWindow(s);
  ASSERT_TRUE(WaitFor([&] { return s.window != nullptr && X11WindowId(*s.window) != 0; }));
  const unsigned long xid = X11WindowId(*s.window);
  ASSERT_TRUE(WaitFor([&] {
    return std::find(s.events.begin(), s.events.end(), std::make_pair(kEventGainFocus, 0)) !=
           s.events.end();
  })) << "the mapped window gets the focus";
  auto [bx, by] = x11test::FieldCentre(*s.window, 1);
  ASSERT_TRUE(Xdotool("mousemove --window " + std::to_string(xid) + " " + std::to_string(bx) + " " +
                      std::to_string(by) + " click 1"));
  ASSERT_TRUE(WaitFor(
      [&] { return !s.events.empty() && s.events.back() == std::make_pair(kEventAccepted, 1); }));
  auto [ex, ey] = x11test::FieldCentre(*s.window, 2);
  ASSERT_TRUE(Xdotool("mousemove --window " + std::to_string(xid) + " " + std::to_string(ex) + " " +
                      std::to_string(ey) + " click 1"));
  ASSERT_TRUE(Xdotool("type --delay 5 'Hi there'"));
  EXPECT_TRUE(WaitFor([&] { return std::string(s.name, 8) == "Hi there"; }))
      << std::string(s.name, sizeof s.name);
  harness::CloseWindow(*s.window);
  EXPECT_TRUE(Join(t));
}

TEST_F(X11Test, DrawnPixelsShowTheWindowColourAndABlueLink) {
  Seen s;
  const int32_t t = RunWindow(s);
  ASSERT_TRUE(WaitFor([&] { return s.window != nullptr && X11WindowId(*s.window) != 0; }));
  WaitIdle();
  ::Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Control* link = s.window->Find(3);
  const int lx = static_cast<int>(link->x * s.window->PxPerDuX());
  const int ly = static_cast<int>(link->y * s.window->PxPerDuY());
  const int lw = static_cast<int>(s.window->AutoWidth(*link) * s.window->PxPerDuX());
  const int lh = static_cast<int>(s.window->AutoHeight(*link) * s.window->PxPerDuY());
  int blue = 0;
  unsigned long background = 0;
  XWindowAttributes attrs;
  ASSERT_TRUE(XGetWindowAttributes(dpy, X11WindowId(*s.window), &attrs));
  const int width = attrs.width, height = attrs.height;
  WaitFor([&] {
    XImage* img = XGetImage(dpy, X11WindowId(*s.window), 0, 0, width, height, AllPlanes, ZPixmap);
    if (img == nullptr) return false;
    background = XGetPixel(img, width - 3, height - 3);
    blue = 0;
    for (int y = ly; y < ly + lh && y < height; ++y)
      for (int x = lx; x < lx + lw && x < width; ++x) {
        const unsigned long p = XGetPixel(img, x, y);
        if ((p & 0xFF) > 0xA0 && ((p >> 8) & 0xFF) < 0x60 && ((p >> 16) & 0xFF) < 0x60) ++blue;
      }
    XDestroyImage(img);
    return blue > 10;
  });
  EXPECT_GT(blue, 10) << "link pixels are blue";
  EXPECT_EQ(background & 0xFFFFFF, 0xFEFFECu) << "window colour 0ECFFFEH (BBGGRR) is RGB FEFFEC";
  XCloseDisplay(dpy);
  harness::CloseWindow(*s.window);
  EXPECT_TRUE(Join(t));
}

}  // namespace
}  // namespace rt
