// The tip compiler: the tip text, line by line as the edit control lays it out, into
// CONTROLQUEUE; then the settings memo into SETTINGSQUEUE; then the controls.
#include "runtime/dialogs.h"
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::LoadTipTabRtn() {
  if (HELPISLOADED) return;
  LoadCtlQueueRtn();
  LoadSettingsQueueRtn();
  CreateControlsRtn();
  MoveTextToSettings();
  SHOWNTIP = VTH;
  HELPISLOADED = 1;
}

void HelpTipWindow::LoadCtlQueueRtn() {
  EDITED.HELPTIP = VTH.HELPTIP;  // laid out by the edit tab's text control
  // The edit control's width decides where long paragraphs break, so it is set first.
  const int32_t stored = StoredWidth(VTH.OTHER);
  if (StoredWidthUsed(stored)) {
    Window.SetPropInt(0, rt::kPropWidth, stored);
    ResizeWindowRtn();
  } else {
    Window.SetPropInt(0, rt::kPropMinWidth, kMinTipWidth);
    Window.SetPropInt(0, rt::kPropMinHeight, kMinTipHeight);
  }
  ScanNumbers numbers;
  EmptyKeepingRoom(CONTROLQUEUE);
  CURRENTCONTROL = kFirstTipField;
  const int32_t lines = Window.GetPropInt(kHelpTip, rt::kPropLineCount);
  for (STRINGSUB = 1; STRINGSUB <= lines; ++STRINGSUB) {
    // The line itself is scanned, not its blank-padded copy in HOLDINGSTRING.
    const std::string line = Window.GetProp(kHelpTip, rt::kPropLine, STRINGSUB);
    HOLDINGSTRING = line;
    const LineScan scan = ScanTipLine(std::string_view(line).substr(0, HOLDINGSTRING.size()),
                                      numbers);
    for (const MarkupEntry& entry : scan.entries) AddEntry(entry);
    for (size_t i = 0; i < scan.unclosed.size(); ++i) ReportUnclosedTag();
  }
  // Entries are added in control-number order, so the queue is in that order already.
}

void HelpTipWindow::AddEntry(const MarkupEntry& entry) {
  CTL.NAME = entry.name;
  CTL.TYPE = entry.type;
  CTL.TEXT = entry.text;
  CTL.CONTROLNUMBER = CONTROLQUEUE.Records() + 1;
  CTL.LINE = STRINGSUB;
  CONTROLQUEUE.Add();
}

void HelpTipWindow::ReportUnclosedTag() {
  rt::Message("Control not completed|Line:" + rt::FormatNumber(STRINGSUB),
              "Vistip - Control Formatting", rt::kIconAsterisk, rt::kButtonOk);
}

void HelpTipWindow::LoadSettingsQueueRtn() {
  // Rows still in memory belong to the tip before its text changed: move them to the controls
  // that now carry their texts and keep them.
  if (SETTINGSQUEUE.Records() > 0) {
    SyncSettingsRtn();
    ChangeSettingsRtn();
  }
  SETTINGSQUEUE.Free();
  SET = SetRecord{};
  for (const SetRecord& row : ReadSettingsMemo(SETTINGS1.view())) {
    SET = row;
    SETTINGSQUEUE.Add();
  }
}

}  // namespace vistip::tipwindow
