// The tip window's event dispatch: first by kind (keys, opening, focus, timer, size), then by
// field; events the window does not handle itself go to the tip's controls.
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

// The record buffer is the process's: other tip windows read into it between this window's
// events, so each event starts from this window's own copy and leaves its changes there.
void HelpTipWindow::TakeEvent() {
  VTH = SHOWNTIP;
  if (TakeWindowEvent()) {
    rt::Cycle();
  } else {
    TakeFieldEvent();
  }
  SHOWNTIP = VTH;
}

bool HelpTipWindow::TakeWindowEvent() {
  switch (rt::Event()) {
    case rt::kEventAlertKey:
      TakeAlertKey();
      return rt::KeyCode() == rt::AltKey('E') ||
             (rt::KeyCode() == rt::AltKey('C') && !EditPermitted());
    case rt::kEventOpenWindow:
      TakeOpenWindow();
      break;
    case rt::kEventLoseFocus:
      if (!VISTIPCALL && !EDITMODE && !CONTROLFORMATTING && !GLO.VTSTAYOPEN)
        rt::Post(rt::kEventCloseWindow);
      break;
    case rt::kEventGainFocus:
      if (!WINDOWINITIALIZED) {
        InitializeWindow();
        WINDOWINITIALIZED = 1;
      } else {
        RefreshWindow();
      }
      VISTIPCALL = 0;
      break;
    case rt::kEventTimer:
      if (CONTROLFORMATTING) {
        FormattingTimer();
      } else if (!HELPISLOADED && !EDITMODE) {
        LoadTipTabRtn();
        Window.SetPropInt(0, rt::kPropTimer, kShownTimer);
      }
      break;
    case rt::kEventSized:
      RefreshWindow();
      ResizeWindowRtn();
      break;
    case rt::kEventRejected:
      rt::Beep();
      Window.Display(rt::Field());
      Window.Select(rt::Field());
      break;
  }
  return false;
}

// Alt+E edits, Alt+C formats (when permitted, and not while the other mode is on); Alt+H and
// F1 open the help. Alt+E is always consumed, Alt+C when refused.
void HelpTipWindow::TakeAlertKey() {
  const int32_t key = rt::KeyCode();
  if (key == rt::AltKey('E') && !CONTROLFORMATTING && EditPermitted()) {
    EnterEditing();
  } else if (key == rt::AltKey('C') && !EDITMODE && EditPermitted()) {
    EnterFormatting();
  } else if (key == rt::AltKey('H')) {
    HelpKeyRtn();
  }
}

void HelpTipWindow::TakeOpenWindow() {
  if (!WINDOWINITIALIZED) {
    InitializeWindow();
    WINDOWINITIALIZED = 1;
  }
  Window.Select(kBox1);
  LoadTipFromFile();
  for (int32_t slot = kF2Slot; slot <= kAltJSlot; ++slot)
    Window.SetPropInt(0, rt::kPropAlert, kAlertedKeys[slot - 1], slot);
  if (GLO.VTCOLOR == 0) GLO.VTCOLOR = kTipColor;
  if (GLO.VTTOOLBOX) Window.SetPropInt(0, rt::kPropToolbox, 1);
  for (int32_t field : {kBox1, 0, kSheet1}) Window.SetPropInt(field, rt::kPropColor, GLO.VTCOLOR);
  HELPISLOADED = 0;
}

bool HelpTipWindow::EditPermitted() const {
  if (GLO.CANEDIT == 1) return !rt::Command("/EditTips").empty();
  return GLO.CANEDIT != 2;
}

// The help file at "Contents", or at the topic of the mode in use; the window stays open while
// the help viewer has the focus.
void HelpTipWindow::HelpKeyRtn() {
  rt::Help("Vistip.hlp", "Contents");
  if (CONTROLFORMATTING) rt::Help("Vistip.hlp", "Control Formatting");
  if (EDITMODE) rt::Help("Vistip.hlp", "Help Tip Text Editing");
  VISTIPCALL = 1;
  rt::Help();
}

void HelpTipWindow::TakeFieldEvent() {
  const int32_t event = rt::Event();
  switch (rt::Field()) {
    case kOverlay:
      if (event == rt::kEventAlertKey && rt::KeyCode() == rt::kMouseLeft) SelectControl();
      if (event == rt::kEventAlertKey && rt::KeyCode() == rt::kMouseRight) ControlEdit();
      break;
    case kBack:
      if (event == rt::kEventAccepted) HistoryBack();
      break;
    case kForward:
      if (event == rt::kEventAccepted) HistoryForward();
      break;
    case kSheet1:
      if (event == rt::kEventAccepted || event == rt::kEventNewSelection ||
          event == rt::kEventTabChanging || event == rt::kEventSelected)
        RefreshWindow();
      break;
    case kProcedureName:
    case kControlName:
      if (event == rt::kEventSelected) {
        Window.SetPropInt(rt::Field(), rt::kPropSelStart, 1);
        Window.SetPropInt(rt::Field(), rt::kPropSelEnd, 1);
      }
      break;
    case kButton1:
      if (event == rt::kEventAccepted) SaveEditedTip();
      break;
    case kButton2:
      if (event == rt::kEventAccepted) CancelEditing();
      break;
    default:
      ProcessControlsRtn();
  }
}

}  // namespace vistip::tipwindow
