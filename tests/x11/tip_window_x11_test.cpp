// The tip window on an X server: a right-click on a host control and the "What's This" pick,
// made with real mouse input from xdotool, bring up the tip beside the control, drawn in the
// tip colour with its blue links; a click on a link shows the linked tip with the back arrow,
// a click on the background closes it; two hosts' tips stay open side by side.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/x11/x11_backend.h"
#include "state/state.h"
#include "tests/x11/tip_x11_fixture.h"
#include "tests/x11/x11_fixture.h"
#include "tests/x11/x11_host.h"
#include "tipwindow/help_tip_window.h"

namespace x11test {
namespace {

using vistip::tipwindow::kBack;
using vistip::tipwindow::kBack2;
using vistip::tipwindow::kTipColor;

constexpr int32_t kNavy = 0x800000;   // the Customer tip's title
constexpr int32_t kGreen = 0x008000;  // the Product codes tip's title
constexpr int32_t kArrowGrey = 0xC0C0C0;

// Text pixels near a colour: anti-aliased edges blend with the tip colour.
bool Near(int32_t c, int32_t target) {
  for (int shift : {0, 8, 16})
    if (std::abs(((c >> shift) & 0xFF) - ((target >> shift) & 0xFF)) > 0x30) return false;
  return true;
}
bool IsNavy(int32_t c) {
  return Near(c, kNavy);
}
bool IsGreen(int32_t c) {
  return Near(c, kGreen);
}
bool IsDarker(int32_t c) {  // than the arrow's grey
  return c >= 0 && (c & 0xFF) < 0xA0 && ((c >> 8) & 0xFF) < 0xA0 && ((c >> 16) & 0xFF) < 0xA0;
}

TEST_F(TipWindowX11Test, WhatsThisShowsTheTipBesideTheControlDrawnInTheTipColour) {
  X11Host& host = OpenHost(280, 260);
  const ScreenRect form = WindowOnScreen(host.xid());
  rt::Window* tip = ShowTipFor(host, kCustomer);
  ASSERT_NE(tip, nullptr) << host.picks() << " picks; " << TipWindowsState();

  // Its lower right corner lies 2 units above and left of the requesting control's position.
  const ScreenRect at = WindowOnScreen(rt::X11WindowId(*tip));
  const double sx = tip->PxPerDuX(), sy = tip->PxPerDuY();
  EXPECT_NEAR(at.right(), (vistip::POS.X - 2) * sx, 2.0);
  EXPECT_NEAR(at.bottom(), (vistip::POS.Y - 2) * sy, 2.0);
  const ScreenRect entry = FieldRect(host.window(), kCustomer);
  EXPECT_LT(at.y, form.y + entry.y) << "the tip starts above the control";
  EXPECT_LT(at.x, form.x + entry.x) << "and to its left";

  const Capture shot = CaptureWindow(rt::X11WindowId(*tip));
  const int32_t link = TipField(*tip, "Product Codes");
  ASSERT_GE(link, 300);
  EXPECT_GT(shot.Count(FieldRect(*tip, link), IsBlue), 20) << "link pixels are blue";
  const int32_t title = TipField(*tip, "Customer");
  EXPECT_GT(shot.Count(FieldRect(*tip, title), IsNavy), 10) << "the title in its font colour";
  EXPECT_EQ(shot.At(shot.width - 3, shot.height - 3), kTipColor);
  EXPECT_EQ(shot.At(shot.width / 2, shot.height - 3), kTipColor);
  EXPECT_TRUE(shot.Keep("tip"));
  const int right = std::max(form.right(), at.right()) + 8;
  const int bottom = std::max(form.bottom(), at.bottom()) + 8;
  const int left = std::min(form.x, at.x) - 8, top = std::min(form.y, at.y) - 8;
  EXPECT_TRUE(CaptureScreen({left, top, right - left, bottom - top}).Keep("tip-and-form"));
}

TEST_F(TipWindowX11Test, ALinkClickShowsTheTargetWithTheBackArrowAndABackgroundClickCloses) {
  X11Host& host = OpenHost(280, 260);
  rt::Window* tip = ShowTipFor(host, kCustomer);
  ASSERT_NE(tip, nullptr) << host.picks() << " picks; " << TipWindowsState();
  const int32_t tip_thread = tip->thread();
  EXPECT_FALSE(rt::harness::Shown(*tip, kBack)) << "no history yet";

  ASSERT_TRUE(ClickTip(*tip, TipField(*tip, "Product Codes")));
  ASSERT_TRUE(WaitForTipText(*tip, "Product codes")) << "the linked tip is shown";
  ASSERT_TRUE(rt::WaitFor([&] {
    const Capture c = CaptureWindow(rt::X11WindowId(*tip));
    return c.Count(FieldRect(*tip, TipField(*tip, "Product codes")), IsGreen) > 10;
  })) << "the target's title is drawn in its own colour";
  EXPECT_TRUE(rt::harness::Shown(*tip, kBack));
  EXPECT_TRUE(rt::harness::Shown(*tip, kBack2));
  const Capture shot = CaptureWindow(rt::X11WindowId(*tip));
  const ScreenRect arrow = FieldRect(*tip, kBack2);
  EXPECT_GT(shot.CountColor(arrow, kArrowGrey), arrow.w * arrow.h / 3) << "the back arrow";
  EXPECT_GT(shot.Count(arrow, IsDarker), 3) << "with its << drawn";

  EXPECT_TRUE(shot.Keep("tip-linked"));
  ASSERT_TRUE(ClickTip(*tip, kBack));
  ASSERT_TRUE(WaitForTipText(*tip, "Customer")) << "back to the tip of origin";

  // The background: the bottom right corner of the tip of origin, which no tip control covers.
  const Capture origin = CaptureWindow(rt::X11WindowId(*tip));
  ASSERT_TRUE(ClickAt(rt::X11WindowId(*tip), origin.width - 3, origin.height - 3));
  EXPECT_TRUE(rt::Join(tip_thread)) << "the tip closes";
}

TEST_F(TipWindowX11Test, TwoHostThreadsShowTwoTipsAtOnceEachOnItsOwnLoop) {
  vistip::GLO.VTSTAYOPEN = 1;  // the second tip takes the focus; the first must not close
  X11Host& left = OpenHost(180, 200, "Left form");
  X11Host& right = OpenHost(560, 430, "Right form");
  rt::Window* first = ShowTipFor(left, kCustomer);
  ASSERT_NE(first, nullptr);
  rt::Window* second = nullptr;
  for (int attempt = 0; attempt < 3 && second == nullptr; ++attempt) {  // as ShowTipFor does
    if (!AskForTip(right, kProduct)) {
      Xdotool("key Escape");
      continue;
    }
    second = rt::harness::WaitForWindow([first](const rt::Window& w) {
      return &w != first && w.color() == kTipColor && !w.hidden() && rt::X11Painted(w);
    });
  }
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first->thread(), second->thread());
  EXPECT_NE(first->thread(), left.thread());
  // Each thread has its own connection: X resource ids carry their client's base.
  constexpr unsigned long kClientBits = ~0x1FFFFFul;
  EXPECT_NE(rt::X11WindowId(*first) & kClientBits, rt::X11WindowId(*second) & kClientBits);
  EXPECT_NE(rt::X11WindowId(*first) & kClientBits, left.xid() & kClientBits);
  EXPECT_TRUE(WaitForTipText(*first, "Customer"));
  EXPECT_NE(second->Find(300), nullptr);
  EXPECT_EQ(TipField(*second, "Customer"), 0) << "the Product tip";

  // Both answer the mouse while both are open: the first follows its link.
  ASSERT_TRUE(ClickTip(*first, TipField(*first, "Product Codes")));
  EXPECT_TRUE(WaitForTipText(*first, "Product codes"));
  EXPECT_TRUE(second->IsOpen() && !second->hidden());
  EXPECT_TRUE(TipField(*second, "Product codes") == 0);
}

}  // namespace
}  // namespace x11test
