// Arbitrary bytes as a "FONT" value: the splitter keeps its parts within their limits, and a
// string it could have been written from reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tipwindow/font_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vistip::FontParts f = vistip::UnstringFont(bytes);
  if (f.TYPEFACE.clip().find(',') != std::string_view::npos) __builtin_trap();
  const vistip::FontParts again = vistip::UnstringFont(vistip::StringFont(f));
  if (again.TYPEFACE != f.TYPEFACE || again.SIZE != f.SIZE || again.COLOR != f.COLOR ||
      again.STYLE != f.STYLE)
    __builtin_trap();
  return 0;
}
