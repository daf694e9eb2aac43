// The runtime's dialogs on an X server: message boxes with their standard icons drawn and the
// default button ready for Enter, and the help viewer coming to the front when asked again.
#include <gtest/gtest.h>

#include <string>

#include "runtime/codes.h"
#include "runtime/dialogs.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "runtime/x11/x11_backend.h"
#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

struct IconCase {
  int32_t icon;
  const char* shot;
  int32_t body;  // the icon's own colour, 0BBGGRRH
};

void PrintTo(const IconCase& c, std::ostream* os) {
  *os << c.shot;
}

class MessageX11Test : public X11Test, public ::testing::WithParamInterface<IconCase> {};

TEST_P(MessageX11Test, IconDrawnAndTheDefaultButtonAnswersEnter) {
  const IconCase c = GetParam();
  int32_t answer = -1;
  const int32_t t = rt::Start([&] {
    answer = rt::Message("The order has been saved.|Print the delivery note now?", "Save Order",
                         c.icon, rt::kButtonYes | rt::kButtonNo | rt::kButtonCancel, rt::kButtonNo);
  });
  rt::Window* box = rt::harness::WaitForCaption("Save Order");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(rt::WaitFor([box] { return rt::X11Painted(*box); }));
  const unsigned long xid = rt::X11WindowId(*box);
  Capture shot;
  ASSERT_TRUE(rt::WaitFor([&] {
    shot = CaptureWindow(xid);
    return shot.At(2, 2) == 0xC0C0C0;
  }));
  const ScreenRect icon = FieldRect(*box, 1);
  EXPECT_GT(shot.CountColor(icon, c.body), icon.w * icon.h / 5) << "the icon in its colour";
  const int32_t no = rt::harness::FieldWithText(*box, "&No");
  ASSERT_NE(no, 0);
  EXPECT_EQ(box->focus(), no) << "the default button has the focus";
  const ScreenRect button = FieldRect(*box, no);
  EXPECT_EQ(shot.At(button.x, button.y + button.h / 2), 0) << "framed in black";
  EXPECT_TRUE(shot.Keep(c.shot));
  ASSERT_TRUE(Xdotool("key Return"));
  ASSERT_TRUE(rt::Join(t));
  EXPECT_EQ(answer, rt::kButtonNo);
}

INSTANTIATE_TEST_SUITE_P(
    StandardIcons, MessageX11Test,
    ::testing::Values(IconCase{rt::kIconAsterisk, "message-information", 0xFF0000},
                      IconCase{rt::kIconExclamation, "message-exclamation", 0x00FFFF},
                      IconCase{rt::kIconHand, "message-stop", 0x0000FF},
                      IconCase{rt::kIconQuestion, "message-question", 0xFF0000}));

using HelpViewerX11Test = X11Test;

TEST_F(HelpViewerX11Test, AskedAgainTheViewerComesToTheFrontWithTheFocus) {
  rt::Help(VISTIP_HELP_FILE, "Contents");
  rt::Window* viewer = rt::harness::WaitForWindow(
      [](const rt::Window& w) { return w.caption().rfind("Help", 0) == 0 && rt::X11Painted(w); });
  ASSERT_NE(viewer, nullptr);
  const unsigned long viewer_xid = rt::X11WindowId(*viewer);
  // A window opened later lies on top of it.
  rt::Window* other = nullptr;
  const int32_t t = rt::Start([&] {
    rt::WindowDesc d;
    d.caption = "In front";
    d.x = 0;
    d.y = 0;
    d.w = 400;
    d.h = 300;
    rt::Window w(d);
    w.Open();
    other = &w;
    while (w.Accept()) {
    }
    other = nullptr;
  });
  ASSERT_TRUE(rt::WaitFor([&] { return other != nullptr && rt::X11Painted(*other); }));
  const unsigned long other_xid = rt::X11WindowId(*other);
  ASSERT_TRUE(rt::WaitFor([&] { return StackingOrder().back() == other_xid; }));
  ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(other_xid)));  // the user's click
  ASSERT_EQ(FocusedWindow(), other_xid);

  rt::Help();
  EXPECT_TRUE(rt::WaitFor([&] { return StackingOrder().back() == viewer_xid; }))
      << "the viewer is raised";
  EXPECT_TRUE(rt::WaitFor([&] { return FocusedWindow() == viewer_xid; })) << "with the focus";

  rt::harness::CloseWindow(*other);
  EXPECT_TRUE(rt::Join(t));
  const int32_t viewer_thread = viewer->thread();
  rt::harness::CloseWindow(*viewer);
  EXPECT_TRUE(rt::Join(viewer_thread));
}

}  // namespace
}  // namespace x11test
