// The string page of the settings dialog: the font string with the "..." button that opens the
// font dialog on its parts and writes the chosen font back as a font string.
#include <string>

#include "runtime/dialogs.h"
#include "settings/upd_control_setting.h"
#include "tipwindow/font_string.h"
#include "tipwindow/queues.h"

namespace vistip::settings {

void UpdControlSetting::StringControl() {
  Window.SetPropInt(FirstRow("&Font:", ""), rt::kPropUpper, 0);
  FONTLOOKUP = CreateField(rt::kCreateButton, 226, LOC.YPOS, 10, 10, "...");
  Window.Unhide(FONTLOOKUP);
  const std::optional<SetRecord> font = ReadSetting(kPropFontName);
  ENTRYFIELD[kFirstEntry] = font ? font->SETTING.view() : ",,,";
  Window.Display();
}

// Only a press of the button opens the font dialog, not its other events.
void UpdControlSetting::TakeFontLookup() {
  if (FONTLOOKUP == 0 || rt::Field() != FONTLOOKUP || rt::Event() != rt::kEventAccepted) return;
  UnstringFont();
  std::string typeface = LOC.TYPEFACE.str();
  if (!rt::FontDialog("Select the Font for this String", typeface, LOC.SIZE, LOC.COLOR, LOC.STYLE))
    return;
  LOC.TYPEFACE = typeface;
  ENTRYFIELD[kFirstEntry] = StringFont({LOC.TYPEFACE, LOC.SIZE, LOC.COLOR, LOC.STYLE});
  Window.Display();
}

void UpdControlSetting::UnstringFont() {
  const FontParts parts = vistip::UnstringFont(ENTRYFIELD[kFirstEntry].clip());
  LOC.TYPEFACE = parts.TYPEFACE;
  LOC.SIZE = parts.SIZE;
  LOC.COLOR = parts.COLOR;
  LOC.STYLE = parts.STYLE;
}

}  // namespace vistip::settings
