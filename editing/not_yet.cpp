// The edit tab and formatting mode's right-click menu are not available yet: their keys, buttons
// and clicks are taken and leave the tip as it is.
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::EnterEditing() {}
void HelpTipWindow::SaveEditedTip() {}
void HelpTipWindow::CancelEditing() {}
void HelpTipWindow::SyncWindow() {}
void HelpTipWindow::ControlEdit() {}

}  // namespace vistip::tipwindow
