// The settings dialog's life: opening the link declaration and the window, the event loop by
// event and by field, the link chooser's events, and the single exit path.
#include "settings/upd_control_setting.h"

#include <algorithm>
#include <cctype>

#include "runtime/errors.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "tipstore/window_files.h"
#include "tipwindow/queues.h"

namespace vistip {

void UpdControlSetting(const CtlRecord& control, rt::Queue<SetRecord>& rows) {
  // The procedure's buffers live on the heap for as long as the dialog does.
  auto procedure = std::make_unique<settings::UpdControlSetting>(control, rows);
  procedure->Run();
}

namespace settings {

UpdControlSetting::UpdControlSetting(const CtlRecord& control, rt::Queue<SetRecord>& rows)
    : CTL(control),
      SETTINGSQUEUE(rows),
      Window(SettingsWindowDesc()),
      ENTRYFIELD(std::make_unique<rt::String<60>[]>(11)) {}

void UpdControlSetting::Run() {
  if (rt::KeyCode() == rt::kMouseRight) rt::SetKeyCode(0);  // the click that opened the popup
  PrepareProcedure();
  while (Window.Accept()) TakeEvent();
  ProcedureReturn();
}

void UpdControlSetting::PrepareProcedure() {
  OpenWindowFiles({&LINKTIP}, FILESOPENED);
  Window.Open();
  Window.SetFrom(kLinkCombo, &FILEDROPCOMBOROWS);
  WINDOWOPENED = 1;
  Window.SetPropInt(0, rt::kPropHide, 1);  // until the page is built
}

bool UpdControlSetting::IsType(std::string_view type) const {
  const std::string_view own = CTL.TYPE.clip();
  return std::equal(own.begin(), own.end(), type.begin(), type.end(), [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == b;
  });
}

void UpdControlSetting::TakeEvent() {
  switch (rt::Event()) {
    case rt::kEventOpenWindow:
      FillList();
      if (!WINDOWINITIALIZED) {
        InitializeWindow();
        WINDOWINITIALIZED = 1;
      }
      Window.Select(kLinkPrompt);
      LoadControls();
      Window.SetPropInt(0, rt::kPropHide, 0);
      break;
    case rt::kEventGainFocus:
      if (!WINDOWINITIALIZED) {
        InitializeWindow();
        WINDOWINITIALIZED = 1;
      } else {
        RefreshWindow();
      }
      break;
    case rt::kEventRejected:
      rt::Beep();
      Window.Display(rt::Field(), rt::Field());
      Window.Select(rt::Field());
      break;
    default:
      break;
  }
  switch (rt::Field()) {
    case kLinkCombo:
      TakeComboEvent();
      break;
    case kOkButton:
      if (rt::Event() != rt::kEventAccepted) break;
      ChangeSettingsRtn();
      rt::Post(rt::kEventCloseWindow);
      break;
    case kCancelButton:
      if (rt::Event() == rt::kEventAccepted) rt::Post(rt::kEventCloseWindow);
      break;
    default:
      if (IsType("BUTTON")) TakeCallKind();
      if (IsType("STRING")) TakeFontLookup();
      break;
  }
}

// A typed name is taken as the link's control name even when no row has it; a chosen row gives
// its control name while the procedure name stays the entry's.
void UpdControlSetting::TakeComboEvent() {
  if (rt::Event() == rt::kEventAccepted) {
    FILEDROPCOMBO.buf.CONTROLNAME = LIN.CONTROLNAME;
    FILEDROPCOMBO.GetByKey(&LinkRow::CONTROLNAME);
    if (rt::ErrorCode() != rt::kNoError) Window.Select(kLinkCombo);
    SAV.RECORD.CONTROLNAME = FILEDROPCOMBO.buf.CONTROLNAME;
    Window.Select(kProcedureName);
  } else if (rt::Event() == rt::kEventNewSelection) {
    SAV.RECORD.PROCEDURENAME = LIN.PROCEDURENAME;
    SAV.RECORD.CONTROLNAME = LIN.CONTROLNAME;
  }
}

void UpdControlSetting::InitializeWindow() {
  RefreshWindow();
}

void UpdControlSetting::RefreshWindow() {
  if (Window.GetPropInt(0, rt::kPropAcceptAll) == 0) Window.Display();
}

void UpdControlSetting::ProcedureReturn() {
  CloseWindowFiles({&LINKTIP}, FILESOPENED);
  if (WINDOWOPENED) Window.Close();
  WINDOWOPENED = 0;
  FILEDROPCOMBO.Free();
}

}  // namespace settings
}  // namespace vistip
