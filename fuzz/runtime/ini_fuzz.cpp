// Arbitrary bytes as an INI text, with the section and entry to look up after NULs: a value
// found is one trimmed piece of one line of the text, and letter case of the names does not
// change what is found.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/process.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The next piece of `rest` up to a NUL, or `fallback` when there is none.
std::string_view TakeName(std::string_view& rest, std::string_view fallback) {
  const size_t nul = rest.rfind('\0');
  if (nul == std::string_view::npos) return fallback;
  const std::string_view name = rest.substr(nul + 1);
  rest = rest.substr(0, nul);
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view entry = TakeName(text, "Root");
  const std::string_view section = TakeName(text, "Clarion 4");
  const std::optional<std::string> value = rt::FindIniValue(text, section, entry);
  if (!value) return 0;
  Check(value->find('\n') == std::string::npos);
  Check(text.find(*value) != std::string_view::npos);
  if (!value->empty()) {
    Check(std::string_view(" \t\r").find(value->front()) == std::string_view::npos);
    Check(std::string_view(" \t\r").find(value->back()) == std::string_view::npos);
  }
  Check(rt::FindIniValue(text, AsciiUpper(section), AsciiUpper(entry)) == value);
  return 0;
}
