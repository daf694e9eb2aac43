// Formatting mode's status bar: each instruction shows in full, then runs off to the left one
// character a tick; the three follow each other, then a blank turn.
#include <string>

#include "editing/formatting.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::FormattingTimer() {
  rt::String<60>& shown = VTSTATUSTEXT[3];
  if (shown.blank()) {
    STATUSSUB = STATUSSUB >= 1 && STATUSSUB <= 3 ? STATUSSUB + 1 : 1;
    shown = VTSTATUSTEXT[STATUSSUB - 1];
    Window.SetPropInt(0, rt::kPropTimer, kInstructionTimer);
  } else {
    shown = std::string(shown.clip().substr(1));
    Window.SetPropInt(0, rt::kPropTimer, kRunOffTimer);
  }
  Window.SetProp(0, rt::kPropStatusText, shown.clip());
}

}  // namespace vistip::tipwindow
