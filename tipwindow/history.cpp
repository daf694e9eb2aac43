// The tip history of one window: back and forward over the tips it has shown.
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

TipNames NamesOf(const HisRecord& entry) {
  return {entry.PROCEDURENAME, entry.CONTROLNAME, entry.CONTROLTYPE};
}

}  // namespace

void HelpTipWindow::HistoryBack() {
  RememberShownTip();
  TakeHistoryEntry(CURRENTHISTORYENTRY - 1);
  ReloadTip();
}

void HelpTipWindow::HistoryForward() {
  TakeHistoryEntry(CURRENTHISTORYENTRY + 1);
  ReloadTip();
}

// The tip on show joins the history unless it is the entry last read or added.
void HelpTipWindow::RememberShownTip() {
  const TipNames& shown = REQUEST.NAMES;
  if (NamesOf(HIS) == shown) return;
  HIS = {shown.PROCEDURENAME, shown.CONTROLNAME, shown.CONTROLTYPE};
  HISTORYQUEUE.Add();
  CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
}

// The entry at `position` becomes the request; beyond either end the shown tip stays.
void HelpTipWindow::TakeHistoryEntry(int32_t position) {
  HISTORYQUEUE.Get(position);
  if (rt::ErrorCode() != 0) return;
  REQUEST.NAMES = NamesOf(HIS);
  CURRENTHISTORYENTRY = HISTORYQUEUE.Pointer();
}

// Loads the request's tip; the timer event posted here has it built.
void HelpTipWindow::ReloadTip() {
  ClearCurrentTip();
  LoadTipFromFile();
  rt::Post(rt::kEventTimer);
}

}  // namespace vistip::tipwindow
