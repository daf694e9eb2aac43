// One control per CONTROLQUEUE entry: text runs, rules, bullets, buttons, link texts and the
// regions laid over them, each at LOC.XPOS, LOC.YPOS with the fonts and tool tips of its settings.
#include "api/state.h"
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr const char* kHandCursor = "~hand.cur";
constexpr const char* kDefaultToolTip = "Click here..";
constexpr int32_t kLinkColor = 0xFF0000;  // blue, in the runtime's blue-green-red order
constexpr int32_t kButtonSize = 9;
constexpr int32_t kLinkHeight = 10;

}  // namespace

bool HelpTipWindow::FindSetting(std::string_view control, const char* prop) {
  SET.CONTROLNAME = control;
  SET.PROP = prop;
  SETTINGSQUEUE.GetByKey(&SetRecord::CONTROLNAME, &SetRecord::PROP);
  return rt::ErrorCode() == 0;
}

void HelpTipWindow::ToolTipFrom(std::string_view control) {
  Window.SetProp(CURRENTCONTROL, rt::kPropToolTip,
                 FindSetting(control, kPropToolTipName) ? SET.SETTING.clip() : kDefaultToolTip);
}

void HelpTipWindow::CreateStringRtn() {
  Window.Create(CURRENTCONTROL, rt::kCreateString);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS, LOC.YPOS);
  Window.SetProp(CURRENTCONTROL, rt::kPropText, STRINGTEXT.clip());
  if (FindSetting(CTL.NAME.clip(), kPropFontName)) {
    FONTSTRING = SET.SETTING;
    UnstringFont();
    Window.SetProp(CURRENTCONTROL, rt::kPropFontName, LOC.TYPEFACE.clip());
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontSize, LOC.SIZE);
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontColor, LOC.COLOR);
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontStyle, LOC.STYLE);
  }
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth);
  ++CURRENTCONTROL;
}

void HelpTipWindow::UnstringFont() {
  const FontParts font = vistip::UnstringFont(FONTSTRING.view());
  LOC.TYPEFACE = font.TYPEFACE;
  LOC.SIZE = font.SIZE;
  LOC.COLOR = font.COLOR;
  LOC.STYLE = font.STYLE;
}

// A rule across the middle half of the window, 2 units below the row's top.
void HelpTipWindow::CreateLineRtn() {
  const int32_t width = Window.GetPropInt(0, rt::kPropWidth);
  Window.Create(CURRENTCONTROL, rt::kCreatePanel);
  Window.SetPosition(CURRENTCONTROL, width / 4, LOC.YPOS + 2, width / 2, 2);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS = width / 4;
  ++CURRENTCONTROL;
}

void HelpTipWindow::CreateBulletRtn() {
  Window.Create(CURRENTCONTROL, rt::kCreateString);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS, LOC.YPOS);
  Window.SetProp(CURRENTCONTROL, rt::kPropText, "\xA7");
  Window.SetProp(CURRENTCONTROL, rt::kPropFontName, "Wingdings");
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontSize, 0);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontColor, 0);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontStyle, 0);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropColor, GLO.VTCOLOR);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth) + 3;
  ++CURRENTCONTROL;
}

void HelpTipWindow::CreateButtonRtn() {
  Window.Create(CURRENTCONTROL, rt::kCreateButton);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS + 2, LOC.YPOS, kButtonSize, kButtonSize);
  ToolTipFrom(CTL.NAME.clip());
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  Window.SetProp(CURRENTCONTROL, rt::kPropIcon, "~default.ico");
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth) + 4;
  ++CURRENTCONTROL;
}

// A web address or a tip link: blue underlined text; the region that follows takes its clicks.
void HelpTipWindow::CreateHttpRtn() {
  Window.Create(CURRENTCONTROL, rt::kCreatePrompt);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS + 2, LOC.YPOS, rt::kDefault, kLinkHeight);
  Window.SetProp(CURRENTCONTROL, rt::kPropText, STRINGTEXT.clip());
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontColor, kLinkColor);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontStyle, rt::kFontUnderline);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropColor, GLO.VTCOLOR);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  LOC.WIDTH = Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth);
  LOC.HEIGHT = kLinkHeight;
  LOC.XPOS += 2;
  ++CURRENTCONTROL;
}

void HelpTipWindow::CreateRegionRtn() {
  Window.Create(CURRENTCONTROL, rt::kCreateRegion);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS, LOC.YPOS, LOC.WIDTH, LOC.HEIGHT);
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  ToolTipFrom(REGION.CONTROLNAME.clip());
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth);
  ++CURRENTCONTROL;
}

}  // namespace vistip::tipwindow
