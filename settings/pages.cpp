// The property page of the settings dialog, built when its window opens from the edited
// control's type: the page builders of the tooltip, HTTP, link and bullet pages, and the resize.
#include <cstring>

#include "runtime/errors.h"
#include "settings/upd_control_setting.h"
#include "tipwindow/queues.h"

namespace vistip::settings {

void UpdControlSetting::LoadControls() {
  CURRENTCONTROL = kFirstPageField;
  if (IsType("BUTTON")) ButtonControl();
  if (IsType("STRING")) StringControl();
  if (IsType("HTTP")) HttpControl();
  if (IsType("LNK")) LnkControl();
  // A bullet has no settings of its own: its page is empty.
  if (IsType("STRING") || IsType("HTTP")) {
    Window.SetPosition(kOkButton, rt::kDefault, LOC.YPOS + 10);
    Window.SetPosition(kCancelButton, rt::kDefault, LOC.YPOS + 10);
    Window.SetPropInt(0, rt::kPropHeight, LOC.YPOS + 25);
  } else if (IsType("LNK")) {
    LOC.YPOS = Window.GetPropInt(kProcedureName, rt::kPropY) + 15 + LOC.YPOS;
    Window.SetPosition(kOkButton, rt::kDefault, LOC.YPOS);
    Window.SetPosition(kCancelButton, rt::kDefault, LOC.YPOS);
    Window.SetPropInt(0, rt::kPropHeight, LOC.YPOS + 25);
  }
}

std::optional<SetRecord> UpdControlSetting::ReadSetting(const char* prop) {
  return FindSetting(SETTINGSQUEUE, CTL.NAME.view(), prop);
}

int32_t UpdControlSetting::CreateField(int32_t type, int32_t x, int32_t y, int32_t w, int32_t h,
                                       std::string_view text, int32_t slot, int32_t parent) {
  const int32_t field = CURRENTCONTROL++;
  Window.Create(field, type, parent);
  Window.SetPosition(field, x, y, w, h);
  rt::Control* c = Window.Find(field);
  if (type == rt::kCreateEntry)
    c->picture = text;  // an entry's text is its picture
  else
    Window.SetProp(field, rt::kPropText, text);
  if (slot > 0) Window.Bind(field, rt::Binding{ENTRYFIELD[slot].data(), ENTRYFIELD[slot].size()});
  return field;
}

int32_t UpdControlSetting::FirstRow(std::string_view prompt, std::string_view picture) {
  LOC.XPOS = 5;
  LOC.YPOS = 2;
  Window.Unhide(
      CreateField(rt::kCreatePrompt, LOC.XPOS, LOC.YPOS, rt::kDefault, rt::kDefault, prompt));
  LOC.XPOS = 115;
  const int32_t entry =
      CreateField(rt::kCreateEntry, LOC.XPOS, LOC.YPOS, 100, 10, picture, kFirstEntry);
  Window.Unhide(entry);
  return entry;
}

void UpdControlSetting::TooltipRow() {
  FirstRow("&Tooltip:", "@s80");
  const std::optional<SetRecord> tip = ReadSetting(kPropToolTipName);
  ENTRYFIELD[kFirstEntry] = tip ? tip->SETTING.view() : "Click here...";
  LOC.YPOS += 10 + 2;
}

void UpdControlSetting::HttpControl() {
  TooltipRow();
  Window.Display();
}

// The link target comes from the control's settings; SAV takes whatever the look-up leaves in
// the buffer, which holds these two names either way.
void UpdControlSetting::LnkControl() {
  TooltipRow();
  const std::optional<SetRecord> procedure = ReadSetting(kPropLinkTipProc);
  const std::optional<SetRecord> control = ReadSetting(kPropLinkTipCtl);
  LIN.PROCEDURENAME = procedure ? procedure->SETTING.view() : "";
  LIN.CONTROLNAME = control ? control->SETTING.view() : "";
  LINKTIP.Get(TipBuffer::PROCEDURENAMEKEY);
  std::memcpy(static_cast<void*>(&SAV.RECORD), &LIN, sizeof SAV.RECORD);
  Window.Display();
  Window.Unhide(kLinkCombo);
  Window.Unhide(kLinkPrompt);
  Window.Unhide(kProcedureName);
  Window.Unhide(kProcedurePrompt);
}

}  // namespace vistip::settings
