// Ok on the edit tab: the edited tip is added, written back in place, or deleted when its text
// was cleared; then the tip tab is rebuilt from the text. A write the file refuses is reported
// and the edit tab stays, with what was typed.

#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipstore/standard_warning.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::SaveEditedTip() {
  VTH = EDITED;
  SyncWindow();
  if (VTH.CONTROLNAME.blank() && VTH.CONTROLTYPE.blank()) {
    rt::Message("Either the Control name or the Control Type must be entered.", "Vistip Tip",
                rt::kIconAsterisk);
    Window.Select(kControlName);
    rt::Cycle();
    return;
  }
  if (VTH.HELPTIP.blank() && LOCALREQUEST != kInsertRecord) LOCALREQUEST = kDeleteRecord;
  bool done = false;
  switch (LOCALREQUEST) {
    case kInsertRecord:
      done = AddEditedTip();
      if (done) rt::Post(kEventTipAdded, 0, REQUEST.PARENTTHREAD);
      break;
    case kChangeRecord:
      done = ChangeEditedTip();
      break;
    case kDeleteRecord:
      done = DeleteEditedTip();
      break;
  }
  if (!done) return;
  Window.Hide(kTab2);
  BackToTab1Rtn();
}

// The tip as it now stands becomes a record of its own and the tip on show: its copies are
// taken again, so the next save of it writes this record in place.
bool HelpTipWindow::AddEditedTip() {
  VTH.SETTINGS = SETTINGS1;
  VTH.LASTEDITDATE = rt::Today();
  if (!WriteDone(VISTIP.Add())) return false;
  LOCALREQUEST = kChangeRecord;
  KeepRecordCopies();
  return true;
}

// New names add a record and leave the one under the old names; otherwise (the type alone may
// have changed) the record read is rewritten. One that has gone from the file meanwhile is
// added again, so the edit is not lost.
bool HelpTipWindow::ChangeEditedTip() {
  if (VTH.PROCEDURENAME != SAV.RECORD.PROCEDURENAME || VTH.CONTROLNAME != SAV.RECORD.CONTROLNAME)
    return AddEditedTip();
  if (!FindRecordRead()) return READERROR == 0 && AddEditedTip();
  VTH.LASTEDITDATE = rt::Today();
  VTH.SETTINGS = SETTINGS1;
  return WriteDone(VISTIP.Put());
}

// A cleared tip is deleted, unless what was read is the tip of the control's type shown under
// the control's names: that one serves every control of the type and is not this tip's to drop.
// Either way the shown tip is no longer in the file, so a later save adds it anew.
bool HelpTipWindow::DeleteEditedTip() {
  if (ShowsTypeTipUnderOtherNames()) {
    LOCALREQUEST = kChangeRecord;
    return true;
  }
  if (FindRecordRead() ? !WriteDone(VISTIP.Delete()) : READERROR != 0) return false;
  LOCALREQUEST = kInsertRecord;
  return true;
}

bool HelpTipWindow::ShowsTypeTipUnderOtherNames() const {
  return SAV.RECORD.PROCEDURENAME.blank() && SAV.RECORD.CONTROLNAME.blank() &&
         !(VTH.PROCEDURENAME.blank() && VTH.CONTROLNAME.blank());
}

// A refused write is told with the file's name; the author can press Ok again.
bool HelpTipWindow::WriteDone(int32_t code) {
  if (code == 0) return true;
  StandardWarning(35, VISTIP.Name());
  return false;
}

}  // namespace vistip::tipwindow
