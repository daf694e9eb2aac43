// The tip window's life: preparing its files and window, the event loop, forgetting the tip on
// show before another is loaded, and the closing step.
#include <memory>

#include "runtime/dialogs.h"
#include "runtime/thread.h"
#include "tipstore/upgrade.h"
#include "tipstore/window_files.h"
#include "tipwindow/help_tip_window.h"

namespace vistip {

void HelpTipWindow(const TipRequest& request) {
  // The procedure's buffers are large; they live on the heap for as long as the window does.
  auto procedure = std::make_unique<tipwindow::HelpTipWindow>(request);
  procedure->Run();
}

namespace tipwindow {

void HelpTipWindow::Run() {
  if (rt::KeyCode() == rt::kMouseRight) rt::SetKeyCode(0);  // the click that asked for help
  PrepareProcedure();
  while (Window.Accept()) TakeEvent();
  ProcedureReturn();
}

void HelpTipWindow::PrepareProcedure() {
  UpgradeIfOldLayout();
  OpenWindowFiles({&VISTIP, &LINKTIP}, FILESOPENED);
  Window.Open();
  WINDOWOPENED = 1;
  Window.SetPropInt(0, rt::kPropHide, 1);  // until the tip is built
  rt::Alias(rt::kF1Key, rt::AltKey('H'));
}

void HelpTipWindow::ProcedureReturn() {
  CloseWindowFiles({&VISTIP, &LINKTIP}, FILESOPENED);
  if (WINDOWOPENED) Window.Close();
  WINDOWOPENED = 0;
  CONTROLQUEUE.Free();
  SETTINGSQUEUE.Free();
  HISTORYQUEUE.Free();
  // A help topic asked for by a button opens once the tip has gone.
  if (!LOC.HELPFILE.blank()) {
    rt::Help(LOC.HELPFILE.clip(), LOC.HELPTOPIC.view());
    rt::Help();
  }
  rt::Alias(0, 0);
}

void HelpTipWindow::ClearCurrentTip() {
  EmptyKeepingRoom(CONTROLQUEUE);
  SETTINGSQUEUE.Free();
  Window.Destroy(kFirstTipField, CURRENTCONTROL);
  Window.Destroy(kCloseRegion, kCloseRegion);
  HELPISLOADED = 0;
}

}  // namespace tipwindow
}  // namespace vistip
