// Arbitrary bytes as a RUN command line: the program word never holds a quote, and the words
// quoted again by the same rules split back into the very same words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/process.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// An argument in quotes: a run of backslashes before a quote (or the closing quote) doubled,
// the quote itself escaped.
std::string QuoteArgument(std::string_view word) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> words = rt::SplitCommandLine(line);
  if (line.find_first_not_of(" \t") == std::string_view::npos) Check(words.empty());
  if (words.empty()) return 0;
  Check(words[0].find('"') == std::string::npos);
  std::string again = "\"" + words[0] + "\"";
  for (size_t i = 1; i < words.size(); ++i) again += " " + QuoteArgument(words[i]);
  Check(rt::SplitCommandLine(again) == words);
  return 0;
}
