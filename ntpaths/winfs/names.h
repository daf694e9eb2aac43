// Name comparison as the original file system does it: case-insensitive over the letters of
// Windows-1252 (the host's code page), names keeping the case they were given.
#pragma once

#include <string>
#include <string_view>

namespace winfs {

inline unsigned char FoldUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:
      return 0x8A;  // s caron
    case 0x9C:
      return 0x8C;  // oe
    case 0x9E:
      return 0x8E;  // z caron
    case 0xFF:
      return 0x9F;  // y diaeresis
    default:
      return c;
  }
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldUpper(static_cast<unsigned char>(a[i])) != FoldUpper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Orders names as the system lists them: by their upper-case form, then by their bytes.
inline bool ListsBefore(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = FoldUpper(static_cast<unsigned char>(a[i]));
    unsigned char y = FoldUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

inline std::string ToUpper(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(FoldUpper(static_cast<unsigned char>(c)));
  return out;
}

inline bool HasWildcards(std::string_view s) {
  return s.find_first_of("*?") != std::string_view::npos;
}

}  // namespace winfs
