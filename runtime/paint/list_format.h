// The column format of a list or drop combo ("86L|M~Control Name~@s50@94L|M..."): per column a
// width, an alignment, an optional right border, a heading between tildes and a picture.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rt::paint {

struct ListColumn {
  int32_t width = 0;  // dialog units
  char align = 'L';   // L, R, C or D (decimal, drawn right-aligned)
  bool right_border = false;
  std::string heading;
  std::string picture;
};

// Unknown modifiers are skipped; text that describes no column gives no columns.
std::vector<ListColumn> ParseListFormat(std::string_view format);

}  // namespace rt::paint
