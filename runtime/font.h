// A control's or window's font: typeface, size in points, colour and style (weight + flags).
#pragma once

#include <cstdint>
#include <string>

#include "runtime/codes.h"
#include "runtime/export.h"

namespace rt {

struct VTRT_EXPORT Font {
  std::string typeface = "MS Sans Serif";
  int32_t size = 8;                       // points; 0 = the default size
  int32_t color = kColorNone;             // 0BBGGRRH
  int32_t style = 400;                    // weight | kFontItalic | kFontUnderline | kFontStrikeout
  bool operator==(const Font& o) const {  // written out: the header compiles as C++17 too
    return typeface == o.typeface && size == o.size && color == o.color && style == o.style;
  }
  bool operator!=(const Font& o) const { return !(*this == o); }
};

}  // namespace rt
