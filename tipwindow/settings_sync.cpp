// Settings rows and their controls: re-attaching rows to the controls that now carry their
// texts, recording those texts, and writing the rows back as the settings memo.
#include <memory>
#include <vector>

#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::SyncSettingsRtn() {
  CONTROLQUEUE.Sort(&CtlRecord::NAME);
  for (int32_t row = 1; row <= SETTINGSQUEUE.Records();) {
    SETTINGSQUEUE.Get(row);
    const int32_t before = SETTINGSQUEUE.Records();
    const std::optional<CtlRecord> control = FindControlNamed(CONTROLQUEUE, SET.CONTROLNAME.view());
    if (!control) {
      FindMatchingControl(false);
    } else if (rt::Upper(control->TEXT.clip()) != rt::Upper(SET.TEXT.clip())) {
      FindMatchingControl(true);
    }
    if (SETTINGSQUEUE.Records() == before) ++row;  // a deleted row's successor moved up
  }
  CONTROLQUEUE.Sort(&CtlRecord::CONTROLNUMBER);
}

void HelpTipWindow::FindMatchingControl(bool control_present) {
  for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
    CONTROLQUEUE.Get(i);
    if (CTL.TEXT == SET.TEXT) {
      SET.CONTROLNAME = CTL.NAME;
      SETTINGSQUEUE.Put();
      return;
    }
  }
  if (!control_present) SETTINGSQUEUE.Delete();
}

void HelpTipWindow::ChangeSettingsRtn() {
  std::vector<SetRecord> rows;
  rows.reserve(static_cast<size_t>(SETTINGSQUEUE.Records()));
  for (int32_t i = 1; i <= SETTINGSQUEUE.Records(); ++i) {
    SETTINGSQUEUE.Get(i);
    rows.push_back(SET);
  }
  SETTINGS1 = WriteSettingsMemo(rows);
  VTH.SETTINGS = SETTINGS1;
  // Only a tip read from the file is written back in place; any other (a new tip, or a type
  // tip shown under the requested names) gets its settings with its first save.
  if (ShownTipIsStored()) WriteBackSettings();
}

// Only the settings are replaced, in the record as the file holds it now, and only while it has
// the text they were made for: a save of this tip by another process since it was read is not
// overwritten with the copy on show here. A refused write changes nothing and is not reported.
void HelpTipWindow::WriteBackSettings() {
  const auto shown = std::make_unique<TipBuffer>(VTH);
  if (FetchRecordRead() && VTH.HELPTIP == shown->HELPTIP) {
    VTH.SETTINGS = SETTINGS1;
    VISTIP.Put();
  }
  VTH = *shown;
}

bool HelpTipWindow::ShownTipIsStored() const {
  return LOCALREQUEST == kChangeRecord && VTH.PROCEDURENAME == SAV.RECORD.PROCEDURENAME &&
         VTH.CONTROLNAME == SAV.RECORD.CONTROLNAME;
}

void HelpTipWindow::MoveTextToSettings() {
  CONTROLQUEUE.Sort(&CtlRecord::NAME);
  for (int32_t i = 1; i <= SETTINGSQUEUE.Records(); ++i) {
    SETTINGSQUEUE.Get(i);
    const std::optional<CtlRecord> control = FindControlNamed(CONTROLQUEUE, SET.CONTROLNAME.view());
    if (!control) continue;
    SET.TEXT = control->TEXT.view().substr(0, SET.TEXT.size());
    SETTINGSQUEUE.Put();
  }
}

}  // namespace vistip::tipwindow
