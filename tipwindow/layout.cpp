// Control creation and layout: the tip's rows from the top left, the window sized to its
// content and placed beside the requesting control, the history arrows, resizing, redisplay.
#include <algorithm>

#include "runtime/strings.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr int32_t kRowStartX = 11;
constexpr int32_t kFirstRowY = 5;
constexpr int32_t kRowHeight = 9;
constexpr int32_t kRuleRowHeight = 5;
constexpr int32_t kContentEnd = 5;

}  // namespace

void HelpTipWindow::CreateControlsRtn() {
  VT.WINDOWWIDTH = 0;
  LOC.XPOS = kRowStartX;
  LOC.YPOS = kFirstRowY;
  CURRENTLINE = 0;
  CURRENTCONTROL = kFirstTipField;
  LinkArea link;
  for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
    CONTROLQUEUE.Get(i);
    CreateRow(CONTROLQUEUE.buf, link);
  }
  LOC.YPOS += kContentEnd;
  if (!GLO.VTWINDOWCAPTION.blank()) {
    Window.SetPropInt(0, rt::kPropSystemMenu, 1);
    Window.SetProp(0, rt::kPropText, GLO.VTWINDOWCAPTION.clip());
  }
  SizeWindowToContent();
  CreateCloseRegion();
  if (CURRENTCONTROL > kFirstTipField) Window.Unhide(kFirstTipField, CURRENTCONTROL - 1);
  PositionWindow();
  ShowHistoryArrows();
  Window.SetPropInt(0, rt::kPropHide, 0);
}

// One CONTROLQUEUE entry (the queue is in control-number order): a new row when its line
// changes, then its control. A region is laid over the link text created last, kept in `link`.
void HelpTipWindow::CreateRow(const CtlRecord& row, LinkArea& link) {
  if (row.LINE != CURRENTLINE) {
    if (CURRENTLINE != 0) {
      LOC.YPOS += kRowHeight;
      LOC.XPOS = kRowStartX;
    }
    CURRENTLINE = row.LINE;
  }
  const std::string type = rt::Upper(row.TYPE.clip());
  if (type == "STRING") {
    CreateString(row);
  } else if (type == "LINE") {
    CreateLineRtn();
    LOC.XPOS = kRowStartX;
    LOC.YPOS += kRuleRowHeight;
    ++CURRENTLINE;  // the next line goes on right below the rule
  } else if (type == kTypeBullet) {
    CreateBulletRtn();
  } else if (type == kTypeButton) {
    CreateButtonRtn(row);
  } else if (type == kTypeHttp || type == kTypeLnk) {
    link = CreateHttpRtn(row);
  } else if (type == kTypeRegion) {
    CreateRegionRtn(link);
  }
}

void HelpTipWindow::SizeWindowToContent() {
  const int32_t width = Window.GetPropInt(0, rt::kPropWidth);
  Window.SetPosition(kSheet1, -3, -3, width + 6, LOC.YPOS + 20);
  Window.SetPropInt(0, rt::kPropThinFrame, 1);
  Window.SetPropInt(0, rt::kPropColor, GLO.VTCOLOR);
  if (LOC.YPOS > kMaxWindowHeight) {
    Window.SetPosition(kBox1, 0, 0, width, LOC.YPOS);
    Window.SetPropInt(0, rt::kPropHeight, kMaxWindowHeight);
  } else {
    Window.SetPropInt(0, rt::kPropHeight, LOC.YPOS + 10);
  }
  if (GLO.VTVARIABLEWIDTH && StoredWidth(VTH.OTHER) == 0) {
    VT.WINDOWWIDTH = MeasureContentWidth();
    Window.SetPropInt(kSheet1, rt::kPropWidth, VT.WINDOWWIDTH);
    Window.SetPropInt(kBox1, rt::kPropWidth, VT.WINDOWWIDTH + 20);
    Window.SetPropInt(0, rt::kPropWidth, VT.WINDOWWIDTH + 20);
  }
}

// The right edge of the tip's controls (rules excepted: they follow the window's width),
// kept so that the window, 20 wider, is never narrower than its minimum width.
int32_t HelpTipWindow::MeasureContentWidth() const {
  int32_t right = 0;
  for (int32_t field = kFirstTipField; field < CURRENTCONTROL; ++field) {
    const rt::Control* c = Window.Find(field);
    if (c == nullptr || c->type == rt::kCreatePanel) continue;
    right = std::max(right, c->x + Window.AutoWidth(*c));
  }
  return std::max(right, kMinTipWidth - 20);
}

void HelpTipWindow::ShowHistoryArrows() {
  if (HISTORYQUEUE.Records() > 0) {
    Window.Unhide(kBack);
    Window.Unhide(kBack2);
    if (CURRENTHISTORYENTRY < HISTORYQUEUE.Records()) {
      Window.Unhide(kForward);
      Window.Unhide(kForward2);
    } else {
      Window.Hide(kForward);
      Window.Hide(kForward2);
    }
    if (CURRENTHISTORYENTRY < 1) {
      Window.Disable(kBack);
      Window.Disable(kBack2);
    } else {
      Window.Enable(kBack);
      Window.Enable(kBack2);
    }
  } else {
    Window.Hide(kBack2, kForward);  // fields 2 to 5
  }
  Window.SetProp(kBack, rt::kPropToolTip, "Click here to go to the previous Tip.");
  Window.SetProp(kForward, rt::kPropToolTip, "Click here to go to the next Tip.");
}

void HelpTipWindow::CreateCloseRegion() {
  Window.Create(kCloseRegion, rt::kCreateRegion);
  Window.SetPosition(kCloseRegion, 0, 0, Window.GetPropInt(0, rt::kPropWidth),
                     Window.GetPropInt(0, rt::kPropHeight));
  Window.SetPropInt(kCloseRegion, rt::kPropAlert, rt::kMouseLeft, 1);
  Window.Unhide(kCloseRegion);
}

// The tip's lower right corner goes just above and left of the requesting control, where
// there is room; elsewhere the window keeps the runtime's position.
void HelpTipWindow::PositionWindow() {
  const int32_t h = Window.GetPropInt(0, rt::kPropHeight);
  const int32_t w = Window.GetPropInt(0, rt::kPropWidth);
  const int32_t x = REQUEST.X;
  const int32_t y = REQUEST.Y;
  if (Window.GetPropInt(0, rt::kPropY) + h < y || h < y)
    Window.SetPropInt(0, rt::kPropY, y - h - 2);
  if (Window.GetPropInt(0, rt::kPropX) + w < x || w < x)
    Window.SetPropInt(0, rt::kPropX, x - w - 2);
}

void HelpTipWindow::ResizeWindowRtn() {
  if (Window.GetPropInt(0, rt::kPropWidth) < kMinTipWidth)
    Window.SetPropInt(0, rt::kPropWidth, kMinTipWidth);
  const int32_t width = Window.GetPropInt(0, rt::kPropWidth);
  Window.SetPropInt(kBox1, rt::kPropWidth, width + 10);
  Window.SetPropInt(kSheet1, rt::kPropWidth, width + 20);
  Window.SetPropInt(kHelpTip, rt::kPropWidth, width - 10);
  // Widths set while the tip is built (the window still hidden) are not the user's. The
  // editor's width is the edited tip's.
  if (Window.GetPropInt(0, rt::kPropHide) == 0)
    SetStoredWidth((EDITMODE ? EDITED : VTH).OTHER, static_cast<int16_t>(width));
}

void HelpTipWindow::RefreshWindow() {
  if (Window.GetPropInt(0, rt::kPropAcceptAll) != 0) return;
  Window.Display();
}

void HelpTipWindow::InitializeWindow() {
  RefreshWindow();
}

}  // namespace vistip::tipwindow
