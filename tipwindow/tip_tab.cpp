// Back from the edit tab to the tip tab, which is rebuilt from the text as it now stands.
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {

void HelpTipWindow::BackToTab1Rtn() {
  Window.Unhide(kTab1);
  Window.Select(kTab1);
  Window.Hide(kSheet1);  // the tip view shows no sheet (see the window definition)
  Window.SetProp(0, rt::kPropText, "");
  Window.SetPropInt(0, rt::kPropHeight, Window.GetPropInt(0, rt::kPropHeight) - 15);
  Window.SetPropInt(0, rt::kPropResize, 0);
  Window.SetPropInt(0, rt::kPropMinWidth, 0);
  Window.SetPropInt(0, rt::kPropMaxWidth, 500);
  Window.SetPropInt(0, rt::kPropMinHeight, 0);
  Window.SetPropInt(0, rt::kPropMaxHeight, kMaxWindowHeight);
  EDITMODE = 0;
  LoadTipTabRtn();
}

}  // namespace vistip::tipwindow
