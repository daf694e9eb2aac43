// Formatting mode's right-click menu: the settings of the selected control, saving the settings
// and rebuilding the tip with them, or leaving the mode without writing.
#include "runtime/dialogs.h"
#include "settings/upd_control_setting.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

enum MenuChoice : int32_t { kProperties = 1, kSaveAndExit = 2, kExit = 3 };

}  // namespace

void HelpTipWindow::ControlEdit() {
  VTPOPUPTEXT = SELECTION.CONTROLNUMBER == 0 ? "~Properties|-|Save and Exit|Exit"
                                             : "Properties|-|Save and Exit|Exit";
  // Other tip windows run while the menu or the dialog shows, and may read into the record
  // buffer: this window's copy is put back after each.
  const int32_t choice = rt::Popup(VTPOPUPTEXT.clip());
  VTH = SHOWNTIP;
  switch (choice) {
    case kProperties:
      vistip::UpdControlSetting(SELECTION,
                                SETTINGSQUEUE);  // new settings show after "Save and Exit"
      VTH = SHOWNTIP;
      break;
    case kSaveAndExit:
      SaveFormatting();
      break;
    case kExit:
      CloseFormatting();  // the dialog's changes stay in SETTINGSQUEUE, unwritten
      break;
  }
}

// The mode ends before the tip is rebuilt, so that the rebuilt window is sized without the
// status bar's room and the close region is the rebuild's own.
void HelpTipWindow::SaveFormatting() {
  HELPISLOADED = 0;
  ChangeSettingsRtn();
  CloseFormatting();
  Window.SetPropInt(0, rt::kPropHide, 1);
  Window.Destroy(kFirstTipField, CURRENTCONTROL - 1);
  LoadTipTabRtn();
}

}  // namespace vistip::tipwindow
