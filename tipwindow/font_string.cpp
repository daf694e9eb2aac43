// The font string splitter.
#include "tipwindow/font_string.h"

#include "runtime/strings.h"

namespace vistip {

FontParts UnstringFont(std::string_view font) {
  font = rt::detail::ClipBlanks(font);
  FontParts out;
  rt::String<20> part;  // the number part being collected
  int mode = 1;         // 1 typeface, 2 size, 3 colour, 4 style
  size_t sub = 1;
  for (const char c : font) {
    if (c != ',') {
      if (mode == 1) {
        out.TYPEFACE.set(sub++, c);
      } else {
        part.set(sub++, c);
      }
      continue;
    }
    if (mode == 4) continue;
    if (mode == 2) out.SIZE = rt::ToLong(part.clip());
    if (mode == 3) out.COLOR = rt::ToLong(part.clip());
    ++mode;
    part.clear();
    sub = 1;
  }
  out.STYLE = mode == 1 ? 0 : rt::ToLong(part.clip());
  return out;
}

std::string StringFont(const FontParts& parts) {
  return std::string(parts.TYPEFACE.clip()) + "," + std::to_string(parts.SIZE) + "," +
         std::to_string(parts.COLOR) + "," + std::to_string(parts.STYLE);
}

}  // namespace vistip
