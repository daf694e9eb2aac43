// The tip history of one window: back and forward over the tips it has shown.
#include "api/state.h"
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::HistoryBack() {
  RestoreShownTip();
  // The tip on show joins the history first unless it is the entry last read or added.
  if (HIS.PROCEDURENAME != GLO.VTPROCEDURENAME || HIS.CONTROLNAME != GLO.VTCONTROLNAME ||
      HIS.CONTROLTYPE != GLO.VTCONTROLTYPE) {
    HIS.PROCEDURENAME = GLO.VTPROCEDURENAME;
    HIS.CONTROLNAME = GLO.VTCONTROLNAME;
    HIS.CONTROLTYPE = GLO.VTCONTROLTYPE;
    HISTORYQUEUE.Add();
    CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
  }
  TakeHistoryEntry(CURRENTHISTORYENTRY - 1);
  ReloadTip();
}

void HelpTipWindow::HistoryForward() {
  RestoreShownTip();
  TakeHistoryEntry(CURRENTHISTORYENTRY + 1);
  ReloadTip();
}

// The entry at `position` becomes the request; beyond either end the shown tip stays.
void HelpTipWindow::TakeHistoryEntry(int32_t position) {
  HISTORYQUEUE.Get(position);
  if (rt::ErrorCode() != 0) return;
  GLO.VTPROCEDURENAME = HIS.PROCEDURENAME;
  GLO.VTCONTROLNAME = HIS.CONTROLNAME;
  GLO.VTCONTROLTYPE = HIS.CONTROLTYPE;
  CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
}

// Loads the request's tip; the timer event posted here has it built.
void HelpTipWindow::ReloadTip() {
  ClearCurrentTip();
  LoadTipFromFile();
  rt::Post(rt::kEventTimer);
}

}  // namespace vistip::tipwindow
