// The test host window and its loop, and helpers that answer the popup menu and STOP dialogs.
#include "tests/api/test_host.h"

#include <cstdlib>
#include <sstream>

#include "api/help_request.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"

namespace vistip::testing {
namespace {

constexpr int32_t kColumns = 4;

rt::WindowDesc HostWindow(const HostOptions& options) {
  rt::WindowDesc d;
  d.caption = TestHost::kCaption;
  d.x = options.x;
  d.y = options.y;
  d.w = 5 + kColumns * 70;
  d.h = HostFieldY(options.fields) + 25;
  d.alerts = {rt::kF2Key};  // an alerted key that is no help request
  for (int32_t f = 1; f <= options.fields; ++f) {
    rt::ControlDesc c{.field = f, .x = HostFieldX(f), .y = HostFieldY(f)};
    if (f % 2 == 1) {
      c.type = rt::kCreateEntry;
      c.w = 60;
      c.h = 10;
    } else {
      c.type = rt::kCreateButton;
      c.w = 40;
      c.h = 14;
      c.text = "Button " + std::to_string(f);
    }
    d.controls.push_back(std::move(c));
  }
  for (int32_t f : options.extra_fields) {
    d.controls.push_back(
        {.field = f, .type = rt::kCreateString, .text = "hidden", .props = {{rt::kPropHide, "1"}}});
  }
  return d;
}

}  // namespace

int32_t HostFieldX(int32_t field) {
  return 5 + ((field - 1) % kColumns) * 70;
}
int32_t HostFieldY(int32_t field) {
  return 5 + ((field - 1) / kColumns) * 16;
}

TestHost::TestHost(HostOptions options) : options_(std::move(options)) {
  thread_ = rt::Start([this] { Run(); });
}

TestHost::~TestHost() {
  // Closes whatever is open on the host's thread (a menu or STOP a failed test left, then the
  // host window) until the thread has ended; it must not outlive this object.
  for (int tries = 0; tries < 50; ++tries) {
    if (rt::Window* w = rt::harness::CurrentWindowOf(thread_)) rt::harness::CloseWindow(*w);
    if (rt::Join(thread_, std::chrono::milliseconds(100))) return;
  }
  std::abort();
}

void TestHost::Run() {
  rt::Window w(HostWindow(options_));
  w.Open();
  window_ = &w;
  if (options_.arm) {
    std::optional<std::string_view> exclusions;
    if (options_.exclusions) exclusions = *options_.exclusions;
    vtSHOWHELP(exclusions, options_.flags);
  }
  armed_ = true;
  std::optional<std::string_view> popup_text;
  if (options_.popup_text) popup_text = *options_.popup_text;
  while (w.Accept()) {
    WatchCall call{.event = rt::Event(),
                   .field = rt::Field(),
                   .keycode_before = rt::KeyCode(),
                   .pos_control_before = POS.CONTROL};
    call.result = VTWATCH(popup_text);
    call.keycode_after = rt::KeyCode();
    call.pos_control_after = POS.CONTROL;
    calls_.push_back(call);
    if (call.result > 0 && call.event == rt::kEventAlertKey && options_.on_help)
      options_.on_help(call.result);
  }
  window_ = nullptr;
}

bool TestHost::WaitArmed() {
  return rt::WaitFor([this] { return armed_; }) && rt::harness::Settle();
}

std::vector<WatchCall> TestHost::CallsWith(int32_t event) const {
  std::vector<WatchCall> out;
  for (const WatchCall& c : calls_)
    if (c.event == event) out.push_back(c);
  return out;
}

int32_t TestHost::HelpAlert(int32_t field) const {
  return window_->GetPropInt(field, rt::kPropAlert, kHelpAlertSlot);
}

rt::Window* WaitForPopup(std::chrono::milliseconds timeout) {
  return rt::harness::WaitForWindow([](const rt::Window& w) { return w.popup(); }, timeout);
}

bool ChoosePopupItem(rt::Window& popup, std::string_view item) {
  const int32_t field = rt::harness::FieldWithText(popup, item);
  if (field == 0) return false;
  rt::harness::Click(popup, field);
  return true;
}

std::string OneBlank(std::string_view text) {
  std::istringstream words{std::string(text)};
  std::string word, out;
  while (words >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

std::string ShownStrings(const rt::Window& w) {
  std::string out;
  for (const auto& c : w.controls())
    if (c->type == rt::kCreateString) out += w.DisplayText(*c) + " ";
  return OneBlank(out);
}

}  // namespace vistip::testing
