// Formatting mode's selection: a left click picks the tip control under the mouse and frames it
// with the highlight box (field 201).
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr int32_t kFrameColor = 0;
constexpr int32_t kFrameFill = 0xC0C0C0;

}  // namespace

// The hit is the first control, in control-number order, whose bottom edge lies below the
// mouse and whose right edge lies right of it; a link's region stands for its link text.
void HelpTipWindow::SelectControl() {
  const int32_t selected = CTL.CONTROLNUMBER;
  LOC.XPOS = rt::MouseX();
  LOC.YPOS = rt::MouseY();
  CONTROLQUEUE.Sort(&CtlRecord::CONTROLNUMBER);
  for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
    CONTROLQUEUE.Get(i);
    const int32_t field = CTL.CONTROLNUMBER + kFieldOffset;
    const int32_t bottom =
        Window.GetPropInt(field, rt::kPropY) + Window.GetPropInt(field, rt::kPropHeight);
    const int32_t right =
        Window.GetPropInt(field, rt::kPropX) + Window.GetPropInt(field, rt::kPropWidth);
    if (LOC.YPOS < bottom && LOC.XPOS < right) {
      if (rt::Upper(CTL.TYPE.clip()) == kTypeRegion && i > 1) CONTROLQUEUE.Get(i - 1);
      HighlightControl();
      return;
    }
  }
  // A miss keeps the selection: the framed control stays the one "Properties" edits.
  CTL.CONTROLNUMBER = selected;
  if (selected != 0) CONTROLQUEUE.GetByKey(&CtlRecord::CONTROLNUMBER);
}

void HelpTipWindow::HighlightControl() {
  WINDOWSCROLL = static_cast<uint8_t>(Window.GetPropInt(0, rt::kPropVScrollPos));
  if (WINDOWSCROLL != 0) Window.SetPropInt(0, rt::kPropHide, 1);
  if (!HIGHLIGHTCREATED) {
    Window.Create(kCloseRegion, rt::kCreateBox);
    HIGHLIGHTCREATED = 1;
  }
  Window.SetPropInt(0, rt::kPropVScrollPos, 0);
  const int32_t field = CTL.CONTROLNUMBER + kFieldOffset;
  const int32_t x = Window.GetPropInt(field, rt::kPropX);
  const int32_t y = Window.GetPropInt(field, rt::kPropY);
  const int32_t w = Window.GetPropInt(field, rt::kPropWidth);
  const int32_t h = Window.GetPropInt(field, rt::kPropHeight);
  if (rt::Upper(CTL.TYPE.clip()) == kTypeButton) {
    Window.SetPosition(kCloseRegion, x - 1, y - 1, w + 2, h + 2);
  } else {
    Window.SetPosition(kCloseRegion, x, y, w, h);
  }
  Window.SetPropInt(kCloseRegion, rt::kPropColor, kFrameColor);
  Window.SetPropInt(kCloseRegion, rt::kPropFill, kFrameFill);
  Window.SetPropInt(kCloseRegion, rt::kPropTransparent, 1);
  Window.Unhide(kCloseRegion);
  if (WINDOWSCROLL != 0) {
    Window.SetPropInt(0, rt::kPropVScrollPos, WINDOWSCROLL);
    WINDOWSCROLL = 0;
  }
  Window.SetPropInt(0, rt::kPropHide, 0);
}

}  // namespace vistip::tipwindow
