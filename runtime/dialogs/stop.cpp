// STOP: the runtime's stop dialog, a message box that lets the user go on or end the program.
#include "runtime/dialogs.h"
#include "runtime/dialogs/dialog_common.h"
#include "runtime/process.h"
#include "runtime/thread.h"

namespace rt {

bool Stop(std::string_view text) {
  if (Thread() == 0) return false;
  // The text is shown as it is ("|" breaks no line: diagnostics show such lists). Going on is
  // the default, so that Enter or Esc never end the program by accident.
  if (dialogs::MessageBox({text}, "Stop", kIconHand, kButtonAbort | kButtonIgnore, kButtonIgnore) ==
      kButtonAbort)
    Halt(0);
  return true;
}

}  // namespace rt
