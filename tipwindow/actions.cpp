// Clicks on the tip: the background closes it, a web address opens in the browser, a tip link
// shows the linked tip (and enters the history), a button performs its call.
#include "api/state.h"
#include "platform/browser.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/strings.h"
#include "runtime/thread.h"
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
  CONTROLQUEUE.Sort(&CtlRecord::CONTROLNUMBER);
  CTL.CONTROLNUMBER = field - kFieldOffset;
  CONTROLQUEUE.GetByKey(&CtlRecord::CONTROLNUMBER);
  if (rt::ErrorCode() != 0) return;  // one of the window's own controls
  const std::string type = rt::Upper(CTL.TYPE.clip());
  if (type == kTypeRegion) {
    CONTROLQUEUE.Get(CONTROLQUEUE.Pointer() - 1);  // the text the region covers
    const std::string covered = rt::Upper(CTL.TYPE.clip());
    if (covered == kTypeHttp) OpenWebAddress();
    if (covered == kTypeLnk) FollowLink();
  } else if (type == kTypeButton) {
    ButtonCall();
  }
}

void HelpTipWindow::OpenWebAddress() {
  std::string value;
  const int32_t ret = QueryDefaultBrowser(value);
  const BrowserLaunch launch = PlanBrowserLaunch(ret, value, CTL.TEXT.clip());
  if (launch.words.empty()) {
    rt::Message(launch.message);
    return;
  }
  if (!rt::Command("/VTHTEST").empty())
    rt::Stop("Vistip test result : Browser = " + ShownCommandLine(launch.words));
  rt::RunArgv(launch.words);
}

void HelpTipWindow::FollowLink() {
  RestoreShownTip();
  TrimHistory();
  HISTORYQUEUE.Get(CURRENTHISTORYENTRY);
  if (HIS.PROCEDURENAME != GLO.VTPROCEDURENAME || HIS.CONTROLNAME != GLO.VTCONTROLNAME ||
      HIS.CONTROLTYPE != GLO.VTCONTROLTYPE) {
    HIS.PROCEDURENAME = GLO.VTPROCEDURENAME;
    HIS.CONTROLNAME = GLO.VTCONTROLNAME;
    HIS.CONTROLTYPE = GLO.VTCONTROLTYPE;
    HISTORYQUEUE.Add();
  }
  CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
  const rt::String<20> link = CTL.NAME;
  GLO.VTPROCEDURENAME.clear();
  GLO.VTCONTROLNAME.clear();
  GLO.VTCONTROLTYPE.clear();
  if (FindSetting(link.clip(), kPropLinkTipProc)) GLO.VTPROCEDURENAME = SET.SETTING;
  if (FindSetting(link.clip(), kPropLinkTipCtl)) {
    GLO.VTCONTROLNAME = SET.SETTING;
  } else {
    // A link without a target leads to the tip of the control named like its text, and
    // keeps that target from now on.
    GLO.VTPROCEDURENAME.clear();
    GLO.VTCONTROLNAME = CTL.TEXT.view().substr(0, GLO.VTCONTROLNAME.size());
    MakeControlName();
    SET = SetRecord{link, kPropLinkTipProc, "", ""};
    SETTINGSQUEUE.Add();
    SET = SetRecord{link, kPropLinkTipCtl, GLO.VTCONTROLNAME, ""};
    SETTINGSQUEUE.Add();
    ChangeSettingsRtn();
    rt::Post(kEventTipAdded, 0, GLO.PARENTTHREAD);
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

void HelpTipWindow::MakeControlName() {
  std::string name;
  for (const char c : GLO.VTCONTROLNAME.clip())
    if (c != ' ') name += c;
  GLO.VTCONTROLNAME = name;
}

}  // namespace vistip::tipwindow
