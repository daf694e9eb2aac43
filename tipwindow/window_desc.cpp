// The tip window's definition: the background box, the history arrows, and the sheet whose
// edit tab holds the tip text (also the compiler's line breaker) and the record's keys.
#include <iterator>
#include <string>

#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

rt::Binding Use(char* text, size_t size) {
  return rt::Binding{text, size, nullptr};
}

std::string Num(int32_t n) {
  return std::to_string(n);
}

rt::ControlDesc Arrow(int32_t field, int32_t y, const char* text) {
  return {.field = field,
          .type = rt::kCreateString,
          .x = 0,
          .y = y,
          .w = 9,
          .h = 8,
          .text = text,
          .props = {{rt::kPropFontSize, "6"}, {rt::kPropColor, Num(0xC0C0C0)}}};
}

rt::ControlDesc ArrowRegion(int32_t field, int32_t y, int32_t h) {
  return {.field = field,
          .type = rt::kCreateRegion,
          .x = 0,
          .y = y,
          .w = 9,
          .h = h,
          .props = {{rt::kPropCursor, "HAND.CUR"}}};
}

rt::ControlDesc OnEditTab(rt::ControlDesc d) {
  d.parent = kTab2;
  return d;
}

}  // namespace

rt::WindowDesc TipWindowDesc(TipBuffer& edited) {
  rt::WindowDesc d;
  d.w = kMinTipWidth;
  d.h = kMinTipHeight;
  d.font = rt::Font{"MS Sans Serif", 8, rt::kColorNone, 400};
  d.color = kTipColor;
  d.timer = kFirstTimer;
  d.props = {{rt::kPropHide, "1"}};  // hidden until the tip is built
  d.alerts.assign(std::begin(kAlertedKeys), std::end(kAlertedKeys));
  d.controls = {
      {.field = kBox1,
       .type = rt::kCreateBox,
       .x = 0,
       .y = 0,
       .w = 178,
       .h = 165,
       .props = {{rt::kPropFill, Num(kTipColor)}}},
      Arrow(kBack2, -1, "<<"),
      Arrow(kForward2, 7, ">>"),
      ArrowRegion(kBack, 0, 8),
      ArrowRegion(kForward, 7, 9),
      // The sheet only carries the edit view: hidden while the tip shows, so that its tab strip
      // neither shows above the tip nor takes the clicks meant for the tip's first row.
      {.field = kSheet1,
       .type = rt::kCreateSheet,
       .x = -10,
       .y = -10,
       .w = 190,
       .h = 175,
       .props = {{rt::kPropHide, "1"}}},
      {.field = kTab1,
       .type = rt::kCreateTab,
       .parent = kSheet1,
       .text = "Tip Window",
       .props = {{rt::kPropColor, Num(kTipColor)}}},
      {.field = kTab2,
       .type = rt::kCreateTab,
       .parent = kSheet1,
       .text = "Edit Window",
       .props = {{rt::kPropHide, "1"}}},
      OnEditTab({.field = kHelpTip,
                 .type = rt::kCreateText,
                 .x = 5,
                 .y = 4,
                 .w = 160,
                 .h = 88,
                 .use = Use(edited.HELPTIP.data(), edited.HELPTIP.size())}),
      OnEditTab({.field = kProcedureNamePrompt,
                 .type = rt::kCreatePrompt,
                 .x = 5,
                 .y = 94,
                 .text = "&Procedure Name:"}),
      OnEditTab({.field = kProcedureName,
                 .type = rt::kCreateEntry,
                 .x = 63,
                 .y = 94,
                 .w = 102,
                 .h = 10,
                 .picture = "@s50",
                 .use = Use(edited.PROCEDURENAME.data(), edited.PROCEDURENAME.size())}),
      OnEditTab({.field = kControlNamePrompt,
                 .type = rt::kCreatePrompt,
                 .x = 5,
                 .y = 109,
                 .text = "&Control Name:"}),
      OnEditTab({.field = kControlName,
                 .type = rt::kCreateEntry,
                 .x = 63,
                 .y = 109,
                 .w = 101,
                 .h = 10,
                 .picture = "@s50",
                 .use = Use(edited.CONTROLNAME.data(), edited.CONTROLNAME.size())}),
      OnEditTab({.field = kControlTypePrompt,
                 .type = rt::kCreatePrompt,
                 .x = 5,
                 .y = 122,
                 .text = "Control &Type:"}),
      OnEditTab({.field = kControlType,
                 .type = rt::kCreateEntry,
                 .x = 63,
                 .y = 122,
                 .w = 87,
                 .h = 10,
                 .picture = "@s20",
                 .use = Use(edited.CONTROLTYPE.data(), edited.CONTROLTYPE.size())}),
      OnEditTab({.field = kButton1, .type = rt::kCreateButton, .x = 11, .y = 136, .text = "&Ok"}),
      OnEditTab(
          {.field = kButton2, .type = rt::kCreateButton, .x = 47, .y = 136, .text = "&Cancel"}),
  };
  return d;
}

HelpTipWindow::HelpTipWindow(const TipRequest& request)
    : Window(TipWindowDesc(EDITED)), REQUEST(request) {}

}  // namespace vistip::tipwindow
