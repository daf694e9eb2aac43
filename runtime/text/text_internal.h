// Pieces of the text module shared by its own files: the UTF-8 form Pango lays text out in,
// and the choice of a fontconfig family for a font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/font.h"

namespace rt::text {

// Windows-1252 to the UTF-8 text Pango is given, one character per byte. NUL, which Pango
// refuses, shows as U+FFFD; with `symbol` (the Wingdings face) byte 0A7H is the small black
// square U+25AA.
void ToLayoutText(std::string_view text, bool symbol, std::string& utf8);

// What a runtime font becomes in Pango terms; bad values are clamped.
struct ResolvedFont {
  std::string family;  // an installed fontconfig family
  int32_t points = 8;
  int32_t weight = 400;
  bool italic = false;
  bool symbol = false;  // the Wingdings face, drawn with the sans family
  auto operator<=>(const ResolvedFont&) const = default;
};

// Not thread-safe: the caller holds the text module's lock (fontconfig look-ups are cached).
ResolvedFont ResolveFont(const Font& font);

inline constexpr int32_t kDefaultPoints = 8;
inline constexpr int32_t kMaxPoints = 288;

}  // namespace rt::text
