// Tip authoring on an X server with real keys and clicks: Alt+E opens the edit tab, typed text
// reaches the tip file with "&Ok"; Alt+C starts formatting mode, where a left click frames a
// control and a right click brings up the formatting menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/x11/x11_backend.h"
#include "tests/x11/tip_x11_fixture.h"
#include "tests/x11/x11_fixture.h"
#include "tests/x11/x11_host.h"
#include "tipwindow/help_tip_window.h"
#include "tools/tip_file_io.h"

namespace x11test {
namespace {

using vistip::tipwindow::kButton1;
using vistip::tipwindow::kCloseRegion;
using vistip::tipwindow::kHelpTip;

using EditingX11Test = TipWindowX11Test;

// The text of the Customer tip as the file holds it.
std::string StoredCustomerTip() {
  std::vector<vistip::TipText> tips;
  EXPECT_TRUE(vistip::ExportTips("tips.tps", tips).ok);
  for (const vistip::TipText& t : tips)
    if (t.procedure == "OrderEntry" && t.control == "Customer") return t.text;
  return "";
}

TEST_F(EditingX11Test, AltETypingAndOkSaveTheTextToTheFile) {
  X11Host& host = OpenHost(280, 260);
  rt::Window* tip = ShowTipFor(host, kCustomer);
  ASSERT_NE(tip, nullptr) << host.picks() << " picks; " << TipWindowsState();
  const unsigned long xid = rt::X11WindowId(*tip);
  ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(xid) + " key --clearmodifiers alt+e"));
  ASSERT_TRUE(rt::WaitFor([&] {
    return tip->caption() == "Edit Help Tip..." && rt::harness::Shown(*tip, kHelpTip) &&
           rt::X11Painted(*tip);
  })) << "the edit tab: caption "
      << tip->caption() << ", text shown " << rt::harness::Shown(*tip, kHelpTip);
  const auto [tx, ty] = FieldCentre(*tip, kHelpTip);
  ASSERT_TRUE(ClickAt(xid, tx, ty));
  ASSERT_TRUE(Xdotool("key --clearmodifiers ctrl+End"));
  ASSERT_TRUE(Xdotool("type --delay 5 ' Typed on X.'"));
  ASSERT_TRUE(rt::WaitFor([&] {
    return rt::harness::ShownText(*tip, kHelpTip).find("Typed on X.") != std::string::npos &&
           rt::X11Painted(*tip);
  })) << rt::harness::ShownText(*tip, kHelpTip);
  EXPECT_TRUE(CaptureWindow(xid).Keep("edit-tab"));
  const auto [ox, oy] = FieldCentre(*tip, kButton1);
  ASSERT_TRUE(ClickAt(xid, ox, oy));
  ASSERT_TRUE(rt::WaitFor([&] { return !rt::harness::Shown(*tip, kHelpTip); }))
      << "back to the tip";
  // Read back once the window has closed the file.
  const int32_t t = tip->thread();
  rt::harness::CloseWindow(*tip);
  ASSERT_TRUE(rt::Join(t));
  EXPECT_NE(StoredCustomerTip().find("Typed on X."), std::string::npos) << StoredCustomerTip();
}

// Alt+C on the tip: formatting mode lays its overlay.
void EnterFormatting(rt::Window& tip) {
  const unsigned long xid = rt::X11WindowId(tip);
  ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(xid) + " key --clearmodifiers alt+c"));
  ASSERT_TRUE(rt::WaitFor([&] {
    return tip.Find(vistip::tipwindow::kOverlay) != nullptr && !tip.hidden() && rt::X11Painted(tip);
  })) << "formatting mode lays its overlay";
}

// The window `w`'s field `field` clicked with the mouse.
bool ClickField(const rt::Window& w, int32_t field, int button = 1) {
  const auto [x, y] = FieldCentre(w, field);
  return ClickAt(rt::X11WindowId(w), x, y, button);
}

// The first open window that `pred` picks, once it is drawn on the server.
rt::Window* DrawnWindow(const std::function<bool(const rt::Window&)>& pred,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
  rt::Window* w = rt::harness::WaitForWindow(pred, timeout);
  return w != nullptr && rt::WaitFor([w] { return rt::X11Painted(*w); }) ? w : nullptr;
}

bool StillOpen(const rt::Window* w) {
  const std::vector<rt::Window*> open = rt::OpenWindows();
  return std::find(open.begin(), open.end(), w) != open.end();
}

// Clicks a field once it shows on the drawn window, until the window that `opens` picks is
// drawn: up to three clicks while the clicked window stays open, as a click from xdotool now
// and then goes missing.
rt::Window* ClickToOpen(const rt::Window& w, int32_t field,
                        const std::function<bool(const rt::Window&)>& opens) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    bool open = true;
    const bool shown = rt::WaitFor([&] {
      open = StillOpen(&w);
      const rt::Control* c = open ? w.Find(field) : nullptr;
      return !open || (c != nullptr && w.Visible(*c) && rt::X11Painted(w));
    });
    if (!open) break;  // the click went through: a menu closes on its pick
    if (!shown || !ClickField(w, field)) return nullptr;
    if (rt::Window* opened = DrawnWindow(opens, std::chrono::seconds(2))) return opened;
  }
  return DrawnWindow(opens);
}

TEST_F(EditingX11Test, AltCLeftClickFramesAControlAndRightClickShowsTheMenu) {
  X11Host& host = OpenHost(280, 260);
  rt::Window* tip = ShowTipFor(host, kCustomer);
  ASSERT_NE(tip, nullptr) << host.picks() << " picks; " << TipWindowsState();
  const unsigned long xid = rt::X11WindowId(*tip);
  ASSERT_NO_FATAL_FAILURE(EnterFormatting(*tip));
  const int32_t link = TipField(*tip, "Product Codes");
  ASSERT_NE(link, 0);
  const auto [lx, ly] = FieldCentre(*tip, link);
  ASSERT_TRUE(ClickAt(xid, lx, ly));
  ASSERT_TRUE(rt::WaitFor([&] {
    const rt::Control* frame = tip->Find(kCloseRegion);
    return frame != nullptr && frame->type == rt::kCreateBox && !frame->hidden &&
           rt::X11Painted(*tip);
  })) << "a frame around the clicked control";
  const rt::Control& frame = *tip->Find(kCloseRegion);
  const rt::Control& clicked = *tip->Find(link);
  EXPECT_LE(frame.x, clicked.x);
  EXPECT_LE(frame.y, clicked.y);
  const ScreenRect box = FieldRect(*tip, kCloseRegion);
  const Capture shot = CaptureWindow(xid);
  EXPECT_GT(shot.CountColor({box.x, box.y, box.w, 1}, frame.color), box.w / 2)
      << "the frame drawn in its colour";
  EXPECT_TRUE(CaptureScreen(WindowOnScreen(xid)).Keep("formatting"));

  ASSERT_TRUE(ClickAt(xid, lx, ly, 3));
  rt::Window* menu = rt::harness::WaitForWindow(
      [tip](const rt::Window& w) { return w.popup() && w.thread() == tip->thread(); });
  ASSERT_NE(menu, nullptr) << "the formatting menu";
  ASSERT_TRUE(rt::WaitFor([menu] { return rt::X11Painted(*menu); }));
  const ScreenRect at = WindowOnScreen(xid), m = WindowOnScreen(rt::X11WindowId(*menu));
  const int left = std::min(at.x, m.x), top = std::min(at.y, m.y);
  EXPECT_TRUE(CaptureScreen({left, top, std::max(at.right(), m.right()) - left,
                             std::max(at.bottom(), m.bottom()) - top})
                  .Keep("formatting-menu"));
  ASSERT_TRUE(Xdotool("key Escape"));  // the menu holds the keyboard
  EXPECT_TRUE(rt::WaitFor([tip] {
    for (rt::Window* w : rt::OpenWindows())
      if (w->popup() && w->thread() == tip->thread()) return false;
    return true;
  }));
}

// "Properties" on the framed title opens the settings dialog with its font page; the page's
// font button opens the font dialog. Both are cancelled.
TEST_F(EditingX11Test, PropertiesShowsTheSettingsDialogAndItsFontButtonTheFontDialog) {
  X11Host& host = OpenHost(280, 260);
  rt::Window* tip = ShowTipFor(host, kCustomer);
  ASSERT_NE(tip, nullptr) << host.picks() << " picks; " << TipWindowsState();
  ASSERT_NO_FATAL_FAILURE(EnterFormatting(*tip));
  const int32_t title = TipField(*tip, "Customer");
  ASSERT_NE(title, 0);
  ASSERT_TRUE(ClickField(*tip, title));
  ASSERT_TRUE(rt::WaitFor([&] {
    const rt::Control* frame = tip->Find(kCloseRegion);
    return frame != nullptr && frame->type == rt::kCreateBox && !frame->hidden;
  })) << "the title framed";
  ASSERT_TRUE(ClickField(*tip, title, 3));
  rt::Window* menu =
      DrawnWindow([tip](const rt::Window& w) { return w.popup() && w.thread() == tip->thread(); });
  ASSERT_NE(menu, nullptr) << "the formatting menu";
  const int32_t properties = rt::harness::FieldWithText(*menu, "Properties");
  ASSERT_NE(properties, 0);
  rt::Window* dialog = ClickToOpen(*menu, properties, [](const rt::Window& w) {
    return w.caption() == "Update Control Settings";
  });
  ASSERT_NE(dialog, nullptr) << "the settings dialog";
  EXPECT_TRUE(CaptureWindow(rt::X11WindowId(*dialog)).Keep("settings-dialog"));
  const int32_t font_button = rt::harness::FieldWithText(*dialog, "...");
  ASSERT_NE(font_button, 0) << "the string page's font button";
  rt::Window* fonts = ClickToOpen(*dialog, font_button, [](const rt::Window& w) {
    return w.caption() == "Select the Font for this String";
  });
  ASSERT_NE(fonts, nullptr) << "the font dialog";
  EXPECT_TRUE(CaptureWindow(rt::X11WindowId(*fonts)).Keep("font-dialog"));

  ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(rt::X11WindowId(*fonts)) +
                      " key --clearmodifiers Escape"));
  ASSERT_TRUE(rt::WaitFor([] {
    for (rt::Window* w : rt::OpenWindows())
      if (w->caption() == "Select the Font for this String") return false;
    return true;
  })) << "Esc cancels the font dialog";
  const int32_t cancel = rt::harness::FieldWithText(*dialog, "&Cancel");
  ASSERT_NE(cancel, 0);
  ASSERT_TRUE(ClickField(*dialog, cancel));
  EXPECT_TRUE(rt::WaitFor([] {
    for (rt::Window* w : rt::OpenWindows())
      if (w->caption() == "Update Control Settings") return false;
    return true;
  })) << "Cancel closes the settings dialog";
}

}  // namespace
}  // namespace x11test
