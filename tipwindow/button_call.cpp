// A tip button's call: "EXE" starts a program, "MSG" posts an event to a thread of the host,
// "HLP" opens a help topic once the tip has closed. The kind is followed directly by its data.
#include "platform/run_policy.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/strings.h"
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr size_t kExeLength = 55;
constexpr size_t kNumberLength = 10;
constexpr size_t kHelpLength = 25;

// Characters of `s` from position `at` (from 0) until `stop` or `max` copied; positions past
// the end read as blanks. `at` moves to the character that ended the copy.
std::string CopyUntil(std::string_view s, size_t& at, char stop, size_t max) {
  std::string out;
  while (out.size() < max) {
    const char c = at < s.size() ? s[at] : ' ';
    if (c == stop) break;
    out += c;
    ++at;
  }
  return out;
}

}  // namespace

void HelpTipWindow::ButtonCall(const CtlRecord& button) {
  const std::optional<SetRecord> call = FindSetting(button.NAME.clip(), kPropCallName);
  if (!call) return;
  const std::string_view setting = call->SETTING.view();
  const std::string_view kind = setting.substr(0, 3);
  const std::string_view data = setting.substr(3);
  if (kind == "EXE") {
    if (TipProgramsAllowed()) {
      rt::Run(rt::Clip(data.substr(0, kExeLength)));
    } else {
      rt::Message(kProgramsOffMessage, "Vistip", rt::kIconExclamation);
    }
  } else if (kind == "MSG") {
    MessageCall(data);
  } else if (kind == "HLP") {
    HelpFileCall(data);
  }
}

// "MSG1025,3": event 1025 to thread 3, after the tip window has been told to close.
void HelpTipWindow::MessageCall(std::string_view data) {
  size_t at = 0;
  LOC.MSG = rt::ToLong(CopyUntil(data, at, ',', kNumberLength));
  ++at;
  LOC.THREADNO = rt::ToLong(rt::Left(CopyUntil(data, at, ' ', kNumberLength)));
  rt::Post(rt::kEventCloseWindow);
  rt::Post(LOC.MSG, 0, LOC.THREADNO);
}

// "HLPsales.hlp,Order Entry": file "sales.hlp", topic "Order" (a topic ends at its first blank).
void HelpTipWindow::HelpFileCall(std::string_view data) {
  size_t at = 0;
  LOC.HELPFILE = CopyUntil(data, at, ',', kHelpLength);
  ++at;
  LOC.HELPTOPIC = rt::Left(CopyUntil(data, at, ' ', kHelpLength));
  rt::Post(rt::kEventCloseWindow);
}

}  // namespace vistip::tipwindow
