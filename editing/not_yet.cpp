// Formatting mode's right-click menu is not available yet: its clicks are taken and leave the tip
// as it is.
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::ControlEdit() {}

}  // namespace vistip::tipwindow
