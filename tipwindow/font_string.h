// The font string of a "FONT" setting: typeface, size, colour and style separated by commas,
// as the settings dialog writes it ("Arial,10,255,700"; ",,," for no font chosen).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/cstring.h"

namespace vistip {

struct FontParts {
  rt::String<40> TYPEFACE;
  int32_t SIZE = 0;
  int32_t COLOR = 0;
  int32_t STYLE = 0;
};

// Splits a font string. A number part holds at most 20 characters and reads as 0 when empty
// or not a number; commas after the third are skipped and the style's digits go on after
// them. With fewer than three commas the text after the last one is the style and the parts
// not reached stay 0; without any comma everything is the typeface.
FontParts UnstringFont(std::string_view font);

// The font string of the parts, as the settings dialog writes it: "Arial,10,255,700".
std::string StringFont(const FontParts& parts);

}  // namespace vistip
