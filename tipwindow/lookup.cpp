// Finding the tip for the request: by procedure and control, then the control's shared tip
// (blank procedure), then the tip of its control type; otherwise a new tip to be written.
#include <cstring>
#include <memory>

#include "api/state.h"
#include "runtime/errors.h"
#include "runtime/thread.h"
#include "tipstore/standard_warning.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::LoadTipFromFile() {
  LOCALREQUEST = kChangeRecord;
  READERROR = 0;
  VTH.PROCEDURENAME = GLO.VTPROCEDURENAME;
  VTH.CONTROLNAME = GLO.VTCONTROLNAME;
  if (FetchTip(TipBuffer::PROCEDURENAMEKEY)) {
    KeepRecordCopies();
  } else {
    VTH.CONTROLNAME = GLO.VTCONTROLNAME;
    VTH.PROCEDURENAME.clear();
    if (FetchTip(TipBuffer::CONTROLNAMEKEY)) {
      KeepRecordCopies();  // the tip every procedure shares for this control name
    } else {
      VTH.CONTROLTYPE = GLO.VTCONTROLTYPE;
      VTH.PROCEDURENAME.clear();
      VTH.CONTROLNAME.clear();
      // Only the first record of the type counts, and only when it names nothing else.
      const bool type_tip = FetchTip(TipBuffer::CONTROLTYPEKEY) && VTH.PROCEDURENAME.blank() &&
                            VTH.CONTROLNAME.blank();
      if (type_tip) {
        KeepRecordCopies();
      } else {
        LOCALREQUEST = kInsertRecord;
        VTH.HELPTIP = "No Help for this Topic";
        // A new tip starts without the settings and width of whatever was read last.
        VTH.SETTINGS.clear();
        VTH.OTHER.clear();
      }
      VTH.PROCEDURENAME = GLO.VTPROCEDURENAME;
      VTH.CONTROLNAME = GLO.VTCONTROLNAME;
      VTH.CONTROLTYPE = GLO.VTCONTROLTYPE;
    }
  }
  SETTINGS1 = VTH.SETTINGS;
  SaveShownTip();
  // A tip that could not be read is not shown as a missing one, which a save would add twice.
  if (READERROR != 0) rt::Post(rt::kEventCloseWindow);
}

// A read that fails for another reason than the tip's absence (another writer holding the file
// too long) is reported once per lookup.
bool HelpTipWindow::FetchTip(size_t key) {
  if (READERROR != 0) return false;  // each further read would wait as long again
  const int32_t code = VISTIP.Get(key);
  if (code != 0 && code != rt::kRecordNotFound) {
    StandardWarning(35, VISTIP.Name());
    READERROR = code;
  }
  return code == 0;
}

// Makes the record this window read the file's current record again: another tip window of the
// process may have read another one since. The record buffer keeps the edited tip. False when
// the record has gone, or with READERROR set (and reported) when it could not be read.
bool HelpTipWindow::FindRecordRead() {
  const auto edited = std::make_unique<TipBuffer>(VTH);
  const bool found = FetchRecordRead();
  VTH = *edited;
  return found;
}

// Reads the record this window read into the record buffer again, as the file now holds it.
bool HelpTipWindow::FetchRecordRead() {
  READERROR = 0;
  VTH.PROCEDURENAME = SAV.RECORD.PROCEDURENAME;
  VTH.CONTROLNAME = SAV.RECORD.CONTROLNAME;
  VTH.CONTROLTYPE = SAV.RECORD.CONTROLTYPE;
  const bool by_type = VTH.PROCEDURENAME.blank() && VTH.CONTROLNAME.blank();
  return FetchTip(by_type ? TipBuffer::CONTROLTYPEKEY : TipBuffer::PROCEDURENAMEKEY) &&
         VTH.PROCEDURENAME == SAV.RECORD.PROCEDURENAME && VTH.CONTROLNAME == SAV.RECORD.CONTROLNAME;
}

void HelpTipWindow::KeepRecordCopies() {
  std::memcpy(static_cast<void*>(&SAV.RECORD), &VTH, sizeof SAV.RECORD);
  SAV.MEMO1 = VTH.HELPTIP;
  SAV.MEMO2 = VTH.SETTINGS;
  SAV.MEMO3 = VTH.OTHER;
}

}  // namespace vistip::tipwindow
