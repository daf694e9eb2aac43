// The settings dialog's life: opening the link declaration and the window, the event loop by
// event and by field, and the single exit path.
#include "settings/upd_control_setting.h"

#include "runtime/thread.h"
#include "tipstore/window_files.h"

namespace vistip {

void UpdControlSetting() {
  // The procedure's buffers live on the heap for as long as the dialog does.
  auto procedure = std::make_unique<settings::UpdControlSetting>();
  procedure->Run();
}

namespace settings {

UpdControlSetting::UpdControlSetting()
    : Window(SettingsWindowDesc()), ENTRYFIELD(std::make_unique<rt::String<60>[]>(11)) {}

void UpdControlSetting::Run() {
  if (rt::KeyCode() == rt::kMouseRight) rt::SetKeyCode(0);  // the click that opened the popup
  PrepareProcedure();
  while (Window.Accept()) TakeEvent();
  ProcedureReturn();
}

void UpdControlSetting::PrepareProcedure() {
  OpenWindowFiles({&LINKTIP}, FILESOPENED);
  Window.Open();
  WINDOWOPENED = 1;
  Window.SetPropInt(0, rt::kPropHide, 1);  // until the page is built
}

void UpdControlSetting::TakeEvent() {
  switch (rt::Field()) {
    case kOkButton:
      if (rt::Event() == rt::kEventAccepted) rt::Post(rt::kEventCloseWindow);
      break;
    case kCancelButton:
      if (rt::Event() == rt::kEventAccepted) rt::Post(rt::kEventCloseWindow);
      break;
    default:
      break;
  }
  if (rt::Event() == rt::kEventOpenWindow) Window.SetPropInt(0, rt::kPropHide, 0);
}

void UpdControlSetting::ProcedureReturn() {
  CloseWindowFiles({&LINKTIP}, FILESOPENED);
  if (WINDOWOPENED) Window.Close();
  WINDOWOPENED = 0;
  FILEDROPCOMBO.Free();
}

}  // namespace settings
}  // namespace vistip
