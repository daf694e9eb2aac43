// Finding the tip for the request: by procedure and control, then the control's shared tip
// (blank procedure), then the tip of its control type; otherwise a new tip to be written.
#include "tipwindow/lookup.h"

#include <cstring>
#include <memory>

#include "runtime/errors.h"
#include "runtime/thread.h"
#include "tipstore/standard_warning.h"
#include "tipwindow/help_tip_window.h"

namespace vistip {

TipSource ReadTip(const TipNames& asked, int32_t& read_error) {
  VTH.PROCEDURENAME = asked.PROCEDURENAME;
  VTH.CONTROLNAME = asked.CONTROLNAME;
  if (FetchTip(TipBuffer::PROCEDURENAMEKEY, read_error)) return TipSource::kNames;
  VTH.CONTROLNAME = asked.CONTROLNAME;
  VTH.PROCEDURENAME.clear();
  if (FetchTip(TipBuffer::CONTROLNAMEKEY, read_error)) return TipSource::kControl;
  VTH.CONTROLTYPE = asked.CONTROLTYPE;
  VTH.PROCEDURENAME.clear();
  VTH.CONTROLNAME.clear();
  // Only the first record of the type counts, and only when it names nothing else.
  if (FetchTip(TipBuffer::CONTROLTYPEKEY, read_error) && VTH.PROCEDURENAME.blank() &&
      VTH.CONTROLNAME.blank())
    return TipSource::kType;
  return TipSource::kNone;
}

// A read that fails for another reason than the tip's absence (another writer holding the file
// too long) is reported once per lookup.
bool FetchTip(size_t key, int32_t& read_error) {
  if (read_error != 0) return false;  // each further read would wait as long again
  const int32_t code = VISTIP.Get(key);
  if (code != 0 && code != rt::kRecordNotFound) {
    StandardWarning(35, VISTIP.Name());
    read_error = code;
  }
  return code == 0;
}

namespace tipwindow {

void HelpTipWindow::LoadTipFromFile() {
  LOCALREQUEST = kChangeRecord;
  READERROR = 0;
  const TipNames& asked = REQUEST.NAMES;
  const TipSource source = ReadTip(asked, READERROR);
  if (source != TipSource::kNone) {
    KeepRecordCopies();  // the control's shared tip and the type's tip included
  } else {
    LOCALREQUEST = kInsertRecord;
    VTH.HELPTIP = "No Help for this Topic";
    // A new tip starts without the settings and width of whatever was read last.
    VTH.SETTINGS.clear();
    VTH.OTHER.clear();
  }
  // A type's tip, or a new one, shows under the requested names.
  if (source == TipSource::kType || source == TipSource::kNone) {
    VTH.PROCEDURENAME = asked.PROCEDURENAME;
    VTH.CONTROLNAME = asked.CONTROLNAME;
    VTH.CONTROLTYPE = asked.CONTROLTYPE;
  }
  SETTINGS1 = VTH.SETTINGS;
  // A tip that could not be read is not shown as a missing one, which a save would add twice.
  if (READERROR != 0) rt::Post(rt::kEventCloseWindow);
}

bool HelpTipWindow::FetchTip(size_t key) {
  return vistip::FetchTip(key, READERROR);
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

}  // namespace tipwindow
}  // namespace vistip
