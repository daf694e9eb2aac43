// Formatting mode's start and end (Alt+C, then "Save and Exit" or "Exit"): the overlay that
// catches the mouse, the alerted tip buttons and regions, the status bar and its room.
#include "editing/formatting.h"
#include "runtime/codes.h"
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr int32_t kStatusBarHeight = 13;
constexpr int32_t kRightSlot = 1;
constexpr int32_t kLeftSlot = 2;

// The alert slots of every tip button and region: the two mouse buttons, or none.
void AlertTipControls(rt::Window& window, rt::Queue<CtlRecord>& controls, int32_t right,
                      int32_t left) {
  for (int32_t i = 1; i <= controls.Records(); ++i) {
    controls.Get(i);
    const CtlRecord& control = controls.buf;
    const std::string type = rt::Upper(control.TYPE.clip());
    if (type != kTypeButton && type != kTypeRegion) continue;
    window.SetPropInt(control.CONTROLNUMBER + kFieldOffset, rt::kPropAlert, right, kRightSlot);
    window.SetPropInt(control.CONTROLNUMBER + kFieldOffset, rt::kPropAlert, left, kLeftSlot);
  }
}

}  // namespace

void HelpTipWindow::EnterFormatting() {
  if (CONTROLFORMATTING) return;  // Alt+C stays alerted by the window definition
  Window.Destroy(kCloseRegion, kCloseRegion);
  VTSTATUSTEXT[0] = "Left click to select!";
  VTSTATUSTEXT[1] = "Right click to change properties";
  VTSTATUSTEXT[2] = "Right click to Exit and Save";
  VTSTATUSTEXT[3].clear();
  CONTROLFORMATTING = 1;
  Window.Create(kOverlay, rt::kCreateRegion);
  Window.SetPosition(kOverlay, 0, 0, Window.GetPropInt(0, rt::kPropWidth));
  Window.SetPropInt(kOverlay, rt::kPropAlert, rt::kMouseRight, kRightSlot);
  Window.SetPropInt(kOverlay, rt::kPropAlert, rt::kMouseLeft, kLeftSlot);
  AlertControls();
  SELECTION = CtlRecord{};  // nothing selected yet
  Window.Unhide(kOverlay);
  // The history arrows would load another tip under the mode; they wait until it ends.
  Window.Disable(kBack2, kForward);
  Window.SetPropInt(0, rt::kPropAlert, 0, kAltCSlot);
  Window.SetPropInt(0, rt::kPropStatusZones, -1);
  Window.SetProp(0, rt::kPropStatusText, VTSTATUSTEXT[0].clip());
  Window.SetPropInt(0, rt::kPropThinFrame, 1);
  const int32_t height = Window.GetPropInt(0, rt::kPropHeight) + kStatusBarHeight;
  const int32_t width = Window.GetPropInt(0, rt::kPropWidth);
  Window.SetPropInt(0, rt::kPropHeight, height);
  Window.SetPropInt(kOverlay, rt::kPropHeight, height);
  Window.SetPosition(kSheet1, -2, -2, width + 2, height + 2);
  VTSTATUSTEXT[3] = VTSTATUSTEXT[0];
  STATUSSUB = 1;
  Window.SetPropInt(0, rt::kPropTimer, kInstructionTimer);
}

// The status bar goes and the window gives its room back before the close region is laid over
// the window, so that the region covers exactly the window.
void HelpTipWindow::CloseFormatting() {
  Window.SetPropInt(0, rt::kPropTimer, kShownTimer);
  CONTROLFORMATTING = 0;
  Window.Destroy(kCloseRegion, kCloseRegion);
  HIGHLIGHTCREATED = 0;
  Window.Destroy(kOverlay, kOverlay);
  UnalertControls();
  Window.SetPropInt(0, rt::kPropStatusZones, 0);
  Window.SetPropInt(0, rt::kPropHeight, Window.GetPropInt(0, rt::kPropHeight) - kStatusBarHeight);
  CreateCloseRegion();
  Window.SetPropInt(0, rt::kPropAlert, kAlertedKeys[kAltCSlot - 1], kAltCSlot);
  ShowHistoryArrows();
}

void HelpTipWindow::AlertControls() {
  AlertTipControls(Window, CONTROLQUEUE, rt::kMouseRight, rt::kMouseLeft);
}

void HelpTipWindow::UnalertControls() {
  AlertTipControls(Window, CONTROLQUEUE, 0, 0);
}

}  // namespace vistip::tipwindow
