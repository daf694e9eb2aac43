// The X11 tests' host form, its loop with VTWATCH and vtCALLHELPTIP, and the steps a user takes
// to ask it for a tip.
#include "tests/x11/x11_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "api/call_help_tip.h"
#include "api/help_request.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/x11/x11_backend.h"
#include "tests/x11/x11_fixture.h"
#include "tipwindow/help_tip_window.h"
#include "tools/tip_file_io.h"
#include "tools/tip_text.h"

namespace x11test {
namespace {

constexpr int32_t kFirstTipField = 300;

struct TipName {
  int32_t field;
  const char* control;
  const char* type;
};
constexpr TipName kTipNames[] = {{kCustomerPrompt, "Customer", "ENTRY"},
                                 {kCustomer, "Customer", "ENTRY"},
                                 {kProduct, "Product", "ENTRY"},
                                 {kSave, "SaveOrder", "BUTTON"}};

rt::WindowDesc HostForm(const std::string& caption, int32_t x, int32_t y) {
  rt::WindowDesc d;
  d.caption = caption;
  d.x = x;
  d.y = y;
  d.w = 180;
  d.h = 60;
  d.controls = {
      {.field = kCustomerPrompt, .type = rt::kCreatePrompt, .x = 8, .y = 10, .text = "&Customer:"},
      {.field = kCustomer, .type = rt::kCreateEntry, .x = 60, .y = 9, .w = 110, .h = 11},
      {.field = kProduct, .type = rt::kCreateEntry, .x = 60, .y = 25, .w = 80, .h = 11},
      {.field = kSave,
       .type = rt::kCreateButton,
       .x = 120,
       .y = 40,
       .w = 50,
       .h = 14,
       .text = "&Save"},
  };
  return d;
}

}  // namespace

X11Host::X11Host(std::string tip_file, int32_t x, int32_t y, std::string caption)
    : tip_file_(std::move(tip_file)), x_(x), y_(y), caption_(std::move(caption)) {
  thread_ = rt::Start([this] { Run(); });
}

X11Host::~X11Host() {
  for (int tries = 0; tries < 50; ++tries) {
    if (rt::Window* w = rt::harness::CurrentWindowOf(thread_)) rt::harness::CloseWindow(*w);
    if (rt::Join(thread_, std::chrono::milliseconds(100))) return;
  }
  std::abort();  // the host's thread must not outlive this object
}

void X11Host::Run() {
  rt::Window w(HostForm(caption_, x_, y_));
  w.Open();
  window_ = &w;
  vistip::vtSHOWHELP(std::nullopt, std::nullopt);
  while (w.Accept()) {
    const int32_t asked = vistip::VTWATCH(std::nullopt);
    if (asked <= 0) continue;
    picked_at_ = std::chrono::steady_clock::now();
    ++picks_;
    for (const TipName& t : kTipNames)
      if (t.field == asked) vistip::vtCALLHELPTIP(tip_file_, "OrderEntry", t.control, t.type);
  }
  window_ = nullptr;
}

unsigned long X11Host::xid() const {
  return window_ ? rt::X11WindowId(*window_) : 0;
}

bool X11Host::WaitShown() {
  return rt::WaitFor([this] { return window_ != nullptr && rt::X11Painted(*window_); }) &&
         rt::WaitFor([this] { return CaptureWindow(xid()).At(2, 2) == 0xC0C0C0; });
}

bool BuildSampleTips(const std::filesystem::path& path) {
  std::ifstream in(VISTIP_SAMPLE_TIPS, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<vistip::TipText> tips;
  const vistip::TipTextError e = vistip::ReadTipText(text.str(), tips);
  EXPECT_EQ(e.line, 0) << e.message;
  const vistip::TipFileResult r = vistip::ImportTips(path.string(), tips);
  EXPECT_TRUE(r.ok) << r.error;
  return e.line == 0 && r.ok && !tips.empty();
}

bool AskForTip(X11Host& host, int32_t field) {
  const auto [x, y] = FieldCentre(host.window(), field);
  if (!ClickAt(host.xid(), x, y, 3)) return false;
  rt::Window* menu = rt::harness::WaitForWindow(
      [&](const rt::Window& w) { return w.popup() && w.thread() == host.thread(); },
      std::chrono::seconds(2));
  if (menu == nullptr) return false;
  const int32_t item = rt::harness::FieldWithText(*menu, vistip::kDefaultPopupText);
  if (item == 0) return false;
  // The click must find the menu on the screen and drawn, not the form beneath it.
  const auto [ix, iy] = FieldCentre(*menu, item);
  const unsigned long xid = rt::X11WindowId(*menu);
  if (!rt::WaitFor(
          [&] { return rt::X11Painted(*menu) && CaptureWindow(xid).At(ix, iy) != 0xFFFFFF; }))
    return false;
  return ClickAt(xid, ix, iy, 1);
}

rt::Window* ShowTipFor(X11Host& host, int32_t field) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int32_t picks = host.picks();
    if (AskForTip(host, field) &&
        rt::WaitFor([&] { return host.picks() > picks; }, std::chrono::seconds(1)))
      return WaitForTip(host.thread());
    Xdotool("key Escape");  // a menu left open
  }
  return nullptr;
}

rt::Window* WaitForTip(int32_t not_thread, std::chrono::milliseconds timeout) {
  rt::Window* tip = rt::harness::WaitForWindow(
      [not_thread](const rt::Window& w) {
        return w.thread() != not_thread && w.color() == vistip::tipwindow::kTipColor &&
               !w.hidden() && rt::X11Painted(w);
      },
      timeout);
  if (tip == nullptr) return nullptr;
  const unsigned long xid = rt::X11WindowId(*tip);
  const bool drawn = rt::WaitFor([xid] {
    const Capture c = CaptureWindow(xid);
    // The top right corner: the tip may lie over the form lower down.
    return c.At(c.width - 2, 2) == vistip::tipwindow::kTipColor;
  });
  return drawn ? tip : nullptr;
}

std::string TipWindowsState() {
  std::string out;
  for (const rt::Window* w : rt::OpenWindows())
    if (w->color() == vistip::tipwindow::kTipColor) {
      const unsigned long xid = rt::X11WindowId(*w);
      const ScreenRect r = WindowOnScreen(xid);
      const Capture c = CaptureWindow(xid);
      char corner[16];
      std::snprintf(corner, sizeof corner, "%06X", static_cast<unsigned>(c.At(c.width - 2, 2)));
      out += "tip window on thread " + std::to_string(w->thread()) +
             (w->hidden() ? " hidden" : " shown") + (rt::X11Painted(*w) ? " drawn" : "") + " at " +
             std::to_string(r.x) + "," + std::to_string(r.y) + " size " + std::to_string(r.w) +
             "x" + std::to_string(r.h) + ", top right pixel " + corner + "; ";
    }
  return out.empty() ? "no tip window" : out;
}

int32_t TipField(const rt::Window& tip, const std::string& text) {
  for (const auto& c : tip.controls())
    if (c->field >= kFirstTipField && tip.DisplayText(*c) == text) return c->field;
  return 0;
}

bool WaitForTipText(rt::Window& tip, const std::string& text) {
  return rt::WaitFor(
      [&] { return !tip.hidden() && TipField(tip, text) != 0 && rt::X11Painted(tip); });
}

}  // namespace x11test
