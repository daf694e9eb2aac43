// Formatting mode's selection: a left click picks the tip control under the mouse and frames it
// with the highlight box (field 201).
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr int32_t kFrameColor = 0;
constexpr int32_t kFrameFill = 0xC0C0C0;

struct Box {
  int32_t x, y, w, h;
};

// Where a control of the window lies, in dialog units.
Box BoxOf(const rt::Window& window, int32_t field) {
  return {window.GetPropInt(field, rt::kPropX), window.GetPropInt(field, rt::kPropY),
          window.GetPropInt(field, rt::kPropWidth), window.GetPropInt(field, rt::kPropHeight)};
}

}  // namespace

// The hit is the first control, in control-number order, whose bottom edge lies below the
// mouse and whose right edge lies right of it; a link's region stands for its link text.
// A miss keeps the selection: the framed control stays the one "Properties" edits.
void HelpTipWindow::SelectControl() {
  LOC.XPOS = rt::MouseX();
  LOC.YPOS = rt::MouseY();
  CONTROLQUEUE.Sort(&CtlRecord::CONTROLNUMBER);
  for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
    CONTROLQUEUE.Get(i);
    const Box box = BoxOf(Window, CONTROLQUEUE.buf.CONTROLNUMBER + kFieldOffset);
    if (LOC.YPOS < box.y + box.h && LOC.XPOS < box.x + box.w) {
      if (rt::Upper(CONTROLQUEUE.buf.TYPE.clip()) == kTypeRegion && i > 1) CONTROLQUEUE.Get(i - 1);
      SELECTION = CONTROLQUEUE.buf;
      HighlightControl(SELECTION);
      return;
    }
  }
}

void HelpTipWindow::HighlightControl(const CtlRecord& control) {
  WINDOWSCROLL = static_cast<uint8_t>(Window.GetPropInt(0, rt::kPropVScrollPos));
  if (WINDOWSCROLL != 0) Window.SetPropInt(0, rt::kPropHide, 1);
  if (!HIGHLIGHTCREATED) {
    Window.Create(kCloseRegion, rt::kCreateBox);
    HIGHLIGHTCREATED = 1;
  }
  Window.SetPropInt(0, rt::kPropVScrollPos, 0);
  const Box box = BoxOf(Window, control.CONTROLNUMBER + kFieldOffset);
  const int32_t margin = rt::Upper(control.TYPE.clip()) == kTypeButton ? 1 : 0;  // a button's bevel
  Window.SetPosition(kCloseRegion, box.x - margin, box.y - margin, box.w + 2 * margin,
                     box.h + 2 * margin);
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
