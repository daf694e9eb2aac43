// Clicks on the tip: the background closes it, a web address opens in the browser, a tip link
// shows the linked tip (and enters the history), a button performs its call.
#include "platform/browser.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/strings.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/browser_command.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::ProcessControlsRtn() {
  const int32_t event = rt::Event();
  const int32_t field = rt::Field();
  if (event == rt::kEventPreAlertKey && CONTROLFORMATTING) {
    rt::Post(rt::kEventAlertKey, kOverlay);
    return;
  }
  if (event == rt::kEventAlertKey && field == kCloseRegion && !GLO.VTSTAYOPEN)
    rt::Post(rt::kEventCloseWindow);
  if (event != rt::kEventAccepted || field == 0) return;
  const std::optional<CtlRecord> clicked = FindControl(CONTROLQUEUE, field - kFieldOffset);
  if (!clicked) return;  // one of the window's own controls
  const std::string type = rt::Upper(clicked->TYPE.clip());
  if (type == kTypeRegion) {
    // The text the region covers.
    const std::optional<CtlRecord> covered = FindControl(CONTROLQUEUE, clicked->CONTROLNUMBER - 1);
    if (!covered) return;
    const std::string covered_type = rt::Upper(covered->TYPE.clip());
    if (covered_type == kTypeHttp) OpenWebAddress(*covered);
    if (covered_type == kTypeLnk) FollowLink(*covered);
  } else if (type == kTypeButton) {
    ButtonCall(*clicked);
  }
}

void HelpTipWindow::OpenWebAddress(const CtlRecord& link) {
  std::string value;
  const int32_t ret = QueryDefaultBrowser(value);
  const BrowserLaunch launch = PlanBrowserLaunch(ret, value, link.TEXT.clip());
  if (launch.words.empty()) {
    rt::Message(launch.message);
    return;
  }
  if (!rt::Command("/VTHTEST").empty())
    rt::Stop("Vistip test result : Browser = " + ShownCommandLine(launch.words));
  rt::RunArgv(launch.words);
}

void HelpTipWindow::FollowLink(const CtlRecord& link) {
  TrimHistory();
  HISTORYQUEUE.Get(CURRENTHISTORYENTRY);
  RememberShownTip();
  CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
  const rt::String<20> name = link.NAME;
  TipNames& target = REQUEST.NAMES;
  target = TipNames{};
  if (const auto proc = FindSetting(name.clip(), kPropLinkTipProc))
    target.PROCEDURENAME = proc->SETTING;
  if (const auto ctl = FindSetting(name.clip(), kPropLinkTipCtl)) {
    target.CONTROLNAME = ctl->SETTING;
  } else {
    // A link without a target leads to the tip of the control named like its text, and
    // keeps that target from now on.
    target.PROCEDURENAME.clear();
    target.CONTROLNAME = LinkTargetControl(link.TEXT.clip());
    SETTINGSQUEUE.buf = SetRecord{name, kPropLinkTipProc, "", ""};
    SETTINGSQUEUE.Add();
    SETTINGSQUEUE.buf = SetRecord{name, kPropLinkTipCtl, target.CONTROLNAME, ""};
    SETTINGSQUEUE.Add();
    ChangeSettingsRtn();
    rt::Post(kEventTipAdded, 0, REQUEST.PARENTTHREAD);
  }
  ReloadTip();
}

// Entries after the current one are forgotten when a link is followed.
void HelpTipWindow::TrimHistory() {
  while (HISTORYQUEUE.Records() > CURRENTHISTORYENTRY) {
    HISTORYQUEUE.Get(CURRENTHISTORYENTRY + 1);
    if (rt::ErrorCode() != 0) break;
    HISTORYQUEUE.Delete();
  }
}

rt::String<50> LinkTargetControl(std::string_view link_text) {
  const rt::String<50> cut = link_text;
  std::string name;
  for (const char c : cut.clip())
    if (c != ' ') name += c;
  return name;
}

}  // namespace vistip::tipwindow
