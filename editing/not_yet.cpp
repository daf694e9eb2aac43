// The edit tab and formatting mode of the tip window are not available yet: their keys and
// buttons are taken and leave the tip as it is.
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::EnterEditing() {}
void HelpTipWindow::SaveEditedTip() {}
void HelpTipWindow::CancelEditing() {}
void HelpTipWindow::SyncWindow() {}
void HelpTipWindow::EnterFormatting() {}
void HelpTipWindow::FormattingTimer() {}
void HelpTipWindow::SelectControl() {}
void HelpTipWindow::ControlEdit() {}

}  // namespace vistip::tipwindow
