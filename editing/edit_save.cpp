// Ok on the edit tab: the edited tip is added, written back in place, or deleted when its text
// was cleared; then the tip tab is rebuilt from the text.
#include "api/state.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::SaveEditedTip() {
  SyncWindow();
  if (VTH.CONTROLNAME.blank() && VTH.CONTROLTYPE.blank()) {
    rt::Message("Either the Control name or the Control Type must be entered.", "Vistip Tip",
                rt::kIconAsterisk);
    Window.Select(kControlName);
    rt::Cycle();
    return;
  }
  if (VTH.HELPTIP.blank() && LOCALREQUEST != kInsertRecord) LOCALREQUEST = kDeleteRecord;
  switch (LOCALREQUEST) {
    case kInsertRecord:
      AddEditedTip();
      rt::Post(kEventTipAdded, 0, GLO.PARENTTHREAD);
      break;
    case kChangeRecord:
      ChangeEditedTip();
      break;
    case kDeleteRecord:
      DeleteEditedTip();
      break;
  }
  Window.Hide(kTab2);
  BackToTab1Rtn();
}

// The tip as it now stands becomes a record of its own and the tip on show: its copies are
// taken again, so the next save of it writes this record in place.
void HelpTipWindow::AddEditedTip() {
  VTH.SETTINGS = SETTINGS1;
  VTH.LASTEDITDATE = rt::Today();
  VISTIP.Add();
  LOCALREQUEST = kChangeRecord;
  KeepRecordCopies();
}

// New names add a record and leave the one under the old names; otherwise (the type alone may
// have changed) the record read is rewritten.
void HelpTipWindow::ChangeEditedTip() {
  if (VTH.PROCEDURENAME != SAV.RECORD.PROCEDURENAME || VTH.CONTROLNAME != SAV.RECORD.CONTROLNAME) {
    AddEditedTip();
    return;
  }
  VTH.LASTEDITDATE = rt::Today();
  VTH.SETTINGS = SETTINGS1;
  VISTIP.Put();
}

// A cleared tip is deleted, unless what was read is the tip of the control's type shown under
// the control's names: that one serves every control of the type and is not this tip's to drop.
// Either way the shown tip is no longer in the file, so a later save adds it anew.
void HelpTipWindow::DeleteEditedTip() {
  if (ShowsTypeTipUnderOtherNames()) {
    LOCALREQUEST = kChangeRecord;
    return;
  }
  VISTIP.Delete();
  LOCALREQUEST = kInsertRecord;
}

bool HelpTipWindow::ShowsTypeTipUnderOtherNames() const {
  return SAV.RECORD.PROCEDURENAME.blank() && SAV.RECORD.CONTROLNAME.blank() &&
         !(VTH.PROCEDURENAME.blank() && VTH.CONTROLNAME.blank());
}

}  // namespace vistip::tipwindow
