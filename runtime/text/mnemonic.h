// Mnemonic markers in control texts: "&" before a letter underlines it and is not shown, "&&"
// shows one "&". Shared by the painter and by whatever measures or matches such texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt::text {

inline constexpr size_t kNoMnemonic = std::string_view::npos;

struct Mnemonic {
  std::string shown;               // the text as drawn
  size_t underline = kNoMnemonic;  // byte offset in `shown` of the marked letter
};

// A trailing lone "&" is dropped; only the first marker underlines.
Mnemonic StripMnemonic(std::string_view text);

}  // namespace rt::text
