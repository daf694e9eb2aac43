// The settings dialog's definition: the "Link to Tip:" chooser with its procedure name (shown
// only on the link page) and the Ok and Cancel buttons. The property page is built at run time.
#include "settings/upd_control_setting.h"

namespace vistip::settings {
namespace {

rt::Binding Use(char* text, size_t size) {
  return rt::Binding{text, size, nullptr};
}

}  // namespace

rt::WindowDesc SettingsWindowDesc() {
  rt::WindowDesc d;
  d.caption = "Update Control Settings";
  d.w = kDialogWidth;
  d.h = kDialogHeight;
  d.font = rt::Font{"MS Sans Serif", 8, rt::kColorNone, 400};
  d.controls = {
      {.field = kLinkPrompt,
       .type = rt::kCreatePrompt,
       .x = 6,
       .y = 32,
       .text = "Link to Tip:",
       .props = {{rt::kPropHide, "1"}}},
      {.field = kLinkCombo,
       .type = rt::kCreateDropCombo,
       .x = 67,
       .y = 32,
       .w = 138,
       .h = 10,
       .picture = "@s50",
       .use = Use(LIN.CONTROLNAME.data(), LIN.CONTROLNAME.size()),
       .props = {{rt::kPropFormat, kLinkListFormat}, {rt::kPropHide, "1"}}},
      {.field = kProcedureName,
       .type = rt::kCreateEntry,
       .x = 67,
       .y = 45,
       .w = 138,
       .h = 10,
       .picture = "@s50",
       .use = Use(LIN.PROCEDURENAME.data(), LIN.PROCEDURENAME.size()),
       .props = {{rt::kPropHide, "1"}}},
      {.field = kProcedurePrompt,
       .type = rt::kCreatePrompt,
       .x = 6,
       .y = 45,
       .text = "Procedure Name:",
       .props = {{rt::kPropHide, "1"}}},
      {.field = kOkButton, .type = rt::kCreateButton, .x = 11, .y = kButtonRowY, .text = "&Ok"},
      {.field = kCancelButton,
       .type = rt::kCreateButton,
       .x = 45,
       .y = kButtonRowY,
       .text = "&Cancel"},
  };
  return d;
}

}  // namespace vistip::settings
