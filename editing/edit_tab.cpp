// The edit tab of the tip window: Alt+E turns the tip into an editor of its text and its keys;
// Cancel goes back to the tip as it was.
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::EnterEditing() {
  // Alt+E again while editing keeps the tip as first found.
  if (!EDITMODE) {
    UNEDITED = VTH;
    EDITED = VTH;
  }
  EDITMODE = 1;
  Window.SetProp(0, rt::kPropText, "Edit Help Tip...");
  Window.SetPropInt(0, rt::kPropHeight, kMinTipHeight);
  Window.SetPropInt(0, rt::kPropThinFrame, 0);
  if (GLO.VTVARIABLEWIDTH) {
    Window.SetPropInt(0, rt::kPropMinWidth, kMinTipWidth);
    Window.SetPropInt(0, rt::kPropMinHeight, kMinTipHeight);
    Window.SetPropInt(0, rt::kPropResize, 1);
    Window.SetPropInt(0, rt::kPropMaximizeBox, 1);
    // Only a width the author gives the editor is the tip's; the one it has now is measured.
    const int16_t stored = StoredWidth(EDITED.OTHER);
    ResizeWindowRtn();
    SetStoredWidth(EDITED.OTHER, stored);
  }
  const int32_t width = Window.GetPropInt(0, rt::kPropWidth);
  const int32_t height = Window.GetPropInt(0, rt::kPropHeight);
  Window.SetPosition(kBox1, 1, 1, width - 2, height - 2);
  Window.SetPosition(kSheet1, -2, -2, width + 2, height + 2);
  Window.Destroy(kFirstTipField, CURRENTCONTROL - 1);
  Window.Destroy(kCloseRegion, kCloseRegion);
  Window.Hide(kBack2, kForward);  // the history arrows and their regions, fields 2 to 5
  HELPISLOADED = 0;
  Window.Unhide(kSheet1);  // hidden while the tip shows: it carries only the edit view
  Window.Hide(kTab1);
  Window.Unhide(kTab2);
  Window.Select(kTab2);
  Window.Display(kHelpTip, kControlType);  // the edit controls show the tip as restored
}

// Whatever was typed or resized since Alt+E is dropped, so the rebuild that follows (which
// writes the record when the tip has settings) stores only what the file already held.
void HelpTipWindow::CancelEditing() {
  VTH = UNEDITED;
  EDITED = UNEDITED;
  SyncWindow();
  Window.Hide(kTab2);
  BackToTab1Rtn();
}

// The edit controls write straight into the window's edit buffer; syncing shows them as it holds.
void HelpTipWindow::SyncWindow() {
  Window.Display();
}

}  // namespace vistip::tipwindow
