// Arbitrary bytes as a default browser's command line and, after a NUL, a web address: the
// cleaning keeps the value's length, only blanks bytes, and finds nothing more to remove in its
// own result; the command line keeps its limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tipwindow/browser_command.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string_view value(reinterpret_cast<const char*>(data), size);
  std::string_view address = "www.example.org";
  if (const size_t nul = value.find('\0'); nul != std::string_view::npos) {
    address = value.substr(nul + 1);
    value = value.substr(0, nul);
  }
  const std::string cleaned = vistip::RemoveSwitches(value);
  Check(cleaned.size() == value.size());
  for (size_t i = 0; i < value.size(); ++i) Check(cleaned[i] == value[i] || cleaned[i] == ' ');
  Check(vistip::RemoveSwitches(cleaned) == cleaned);

  const std::string command = vistip::BrowserCommand(cleaned, address);
  Check(command.size() <= vistip::kMaxBrowserCommand);
  if (cleaned.find("%1") == std::string::npos) {
    const std::string_view kept = std::string_view(cleaned).substr(0, command.size());
    Check(command.starts_with(kept.substr(0, kept.find_last_not_of(' ') + 1)));
  }
  return 0;
}
