// libFuzzer target over the Windows path parser of the file layer: parsing, the full form,
// the name checks and, for input holding a NUL, DOS wildcard matching of pattern against name.
// Invariants: the full form has no empty, "." or ".." component and no separator inside one;
// making the full form of a full form changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ntpaths/winfs/path.h"
#include "ntpaths/winfs/wildcard.h"

namespace {

winfs::FullPath Current(char drive) {
  winfs::FullPath p;
  p.drive = drive ? drive : 'C';
  p.parts = {"Work", "Dir"};
  return p;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1024) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  if (nul != std::string_view::npos) {
    std::string_view pattern = input.substr(0, nul), name = input.substr(nul + 1);
    if (pattern.size() <= 260 && name.size() <= 260) winfs::MatchesPattern(pattern, name);
    input = pattern;
  }
  for (bool keepLastRaw : {false, true}) {
    winfs::ParsedPath parsed = winfs::ParsePath(input);
    winfs::FullPath full = winfs::MakeFull(parsed, Current, keepLastRaw);
    for (const auto& part : full.parts) {
      Check(!part.empty() && part != "." && part != "..");
      Check(part.find_first_of("\\/") == std::string::npos);
    }
    winfs::CheckNames(full, keepLastRaw);
    std::string text = full.Format();
    if (!keepLastRaw && !full.IsUnc()) {
      winfs::FullPath again = winfs::MakeFull(winfs::ParsePath(text), Current, false);
      Check(again.Format() == text);
    }
  }
  return 0;
}
