// Pieces of the text module shared by its own files: the layout form of Windows-1252 text
// (UTF-8 with a map back to input offsets) and the choice of a fontconfig family for a font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/font.h"

namespace rt::text {

// Text as Pango lays it out. `back[i]` is the input offset of the character that UTF-8 byte i
// belongs to (size utf8.size() + 1, the last entry the input's length), so Pango's byte indices
// map back to exact slices of the input.
struct LayoutText {
  std::string utf8;
  std::vector<uint32_t> back;
};

// Windows-1252 to the text Pango is given. NUL, which Pango refuses, shows as U+FFFD; with
// `symbol` (the Wingdings face) byte 0A7H is the small black square U+25AA.
void ToLayoutText(std::string_view text, bool symbol, bool with_map, LayoutText& out);

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
