// libFuzzer target over MakeShortName. Invariants: at most 143 characters; no slash, blank,
// + , ; = [ ]; a colon only as the second character; every component at most 8 characters
// before its first dot and 3 after it; and building again from the result changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ntpaths/steps.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  input = input.substr(0, input.find('\0'));
  char out[ntpaths::kShortBuffer];
  ntpaths::MakeShortName(input.c_str(), out);
  std::string s(out, strnlen(out, sizeof out));
  Check(s.size() <= 143);
  Check(s.find_first_of("/ +,;=[]") == std::string::npos);
  size_t colon = s.find(':');
  Check(colon == std::string::npos || (colon == 1 && s.find(':', 2) == std::string::npos));
  size_t start = colon == 1 ? 2 : 0;
  while (start <= s.size()) {
    size_t end = s.find('\\', start);
    if (end == std::string::npos) end = s.size();
    std::string part = s.substr(start, end - start);
    size_t dot = part.find('.');
    Check((dot == std::string::npos ? part.size() : dot) <= 8);
    Check(dot == std::string::npos || part.size() - dot - 1 <= 3);
    start = end + 1;
  }
  Check(ntpaths::MakeShortName(s) == s);
  return 0;
}
