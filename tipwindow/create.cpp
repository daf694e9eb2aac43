// One control per CONTROLQUEUE entry: text runs, rules, bullets, buttons, link texts and the
// regions laid over them, each at LOC.XPOS, LOC.YPOS with the fonts and tool tips of its settings.
#include "runtime/strings.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

constexpr const char* kHandCursor = "~hand.cur";
constexpr const char* kDefaultToolTip = "Click here..";
constexpr int32_t kLinkColor = 0xFF0000;  // blue, in the runtime's blue-green-red order
constexpr int32_t kButtonSize = 9;
constexpr int32_t kLinkHeight = 10;

}  // namespace

std::optional<SetRecord> HelpTipWindow::FindSetting(std::string_view control,
                                                    std::string_view prop) {
  return vistip::FindSetting(SETTINGSQUEUE, control, prop);
}

void HelpTipWindow::ToolTipFrom(std::string_view control) {
  const std::optional<SetRecord> tip = FindSetting(control, kPropToolTipName);
  Window.SetProp(CURRENTCONTROL, rt::kPropToolTip, tip ? tip->SETTING.clip() : kDefaultToolTip);
}

// A text run shows at most 100 characters of its text.
void HelpTipWindow::CreateString(const CtlRecord& row) {
  Window.Create(CURRENTCONTROL, rt::kCreateString);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS, LOC.YPOS);
  Window.SetProp(CURRENTCONTROL, rt::kPropText, rt::String<100>(row.TEXT).clip());
  if (const std::optional<SetRecord> font = FindSetting(row.NAME.clip(), kPropFontName)) {
    const FontParts parts = UnstringFont(font->SETTING.view());
    Window.SetProp(CURRENTCONTROL, rt::kPropFontName, parts.TYPEFACE.clip());
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontSize, parts.SIZE);
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontColor, parts.COLOR);
    Window.SetPropInt(CURRENTCONTROL, rt::kPropFontStyle, parts.STYLE);
  }
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth);
  ++CURRENTCONTROL;
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

void HelpTipWindow::CreateButtonRtn(const CtlRecord& row) {
  Window.Create(CURRENTCONTROL, rt::kCreateButton);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS + 2, LOC.YPOS, kButtonSize, kButtonSize);
  ToolTipFrom(row.NAME.clip());
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  Window.SetProp(CURRENTCONTROL, rt::kPropIcon, "~default.ico");
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth) + 4;
  ++CURRENTCONTROL;
}

// A web address or a tip link: blue underlined text (at most 100 characters); the region that
// follows takes its clicks and is laid over the area returned.
HelpTipWindow::LinkArea HelpTipWindow::CreateHttpRtn(const CtlRecord& row) {
  Window.Create(CURRENTCONTROL, rt::kCreatePrompt);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS + 2, LOC.YPOS, rt::kDefault, kLinkHeight);
  Window.SetProp(CURRENTCONTROL, rt::kPropText, rt::String<100>(row.TEXT).clip());
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontColor, kLinkColor);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFontStyle, rt::kFontUnderline);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropColor, GLO.VTCOLOR);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropFlat, 1);
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  const LinkArea area{row.NAME, Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth), kLinkHeight};
  LOC.XPOS += 2;
  ++CURRENTCONTROL;
  return area;
}

void HelpTipWindow::CreateRegionRtn(const LinkArea& link) {
  Window.Create(CURRENTCONTROL, rt::kCreateRegion);
  Window.SetPosition(CURRENTCONTROL, LOC.XPOS, LOC.YPOS, link.WIDTH, link.HEIGHT);
  Window.SetProp(CURRENTCONTROL, rt::kPropCursor, kHandCursor);
  ToolTipFrom(link.CONTROLNAME.clip());
  Window.SetPropInt(CURRENTCONTROL, rt::kPropTransparent, 1);
  LOC.XPOS += Window.GetPropInt(CURRENTCONTROL, rt::kPropWidth);
  ++CURRENTCONTROL;
}

}  // namespace vistip::tipwindow
