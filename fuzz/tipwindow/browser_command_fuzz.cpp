// Arbitrary bytes as a default browser's command line and, after a NUL, a web address. The
// cleaning keeps the value's length, only blanks bytes and finds nothing more in its own
// result. What would be started: the program is the value's own first word, the address is one
// argument of plain characters (no blank, quote or control character) that never begins with
// "-", every other argument is the value's own, and the words keep the length limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/process.h"
#include "tipwindow/browser_command.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool PlainAddress(std::string_view a) {
  return !a.starts_with('-') && std::none_of(a.begin(), a.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= ' ' || b == 0x7F || c == '"' || c == '\'';
  });
}

// `word` is `own` with every "%1" replaced by the same plain address.
bool PlaceholdersFilled(std::string_view own, std::string_view word, std::string_view address) {
  std::string expected;
  for (size_t i = 0; i < own.size();) {
    if (own.substr(i, 2) == "%1") {
      expected += address;
      i += 2;
    } else {
      expected += own[i++];
    }
  }
  return expected == word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string_view value(reinterpret_cast<const char*>(data), size);
  std::string_view text = "www.example.org";
  if (const size_t nul = value.find('\0'); nul != std::string_view::npos) {
    text = value.substr(nul + 1);
    value = value.substr(0, nul);
  }
  const std::string cleaned = vistip::RemoveSwitches(value);
  Check(cleaned.size() == value.size());
  for (size_t i = 0; i < value.size(); ++i) Check(cleaned[i] == value[i] || cleaned[i] == ' ');
  Check(vistip::RemoveSwitches(cleaned) == cleaned);

  const vistip::BrowserLaunch launch = vistip::PlanBrowserLaunch(0, value, text);
  const std::vector<std::string> own = rt::SplitCommandLine(cleaned);
  if (own.empty() || text.starts_with('-')) {
    Check(launch.words.empty() && !launch.message.empty());
    return 0;
  }
  const std::vector<std::string>& words = launch.words;
  const std::string full = vistip::WebAddress(text);
  Check(PlainAddress(full));
  Check(words.size() == own.size() || words.size() == own.size() + 1);
  Check(words[0] == own[0]);  // the program is never the address
  std::string address;        // the address as given, cut to fit
  if (words.size() == own.size() + 1) {
    address = words.back();
  } else {
    // Every "%1" of the arguments took the same address: its length from the growth.
    size_t places = 0, before = 0, after = 0;
    for (size_t i = 1; i < own.size(); ++i) {
      for (size_t at = own[i].find("%1"); at != std::string::npos; at = own[i].find("%1", at + 2))
        ++places;
      before += own[i].size();
      after += words[i].size();
    }
    Check(places > 0 && after + 2 * places >= before);
    address = full.substr(0, (after + 2 * places - before) / places);
  }
  Check(full.starts_with(address) && PlainAddress(address));
  for (size_t i = 1; i < own.size(); ++i) Check(PlaceholdersFilled(own[i], words[i], address));
  if (address.size() < full.size()) {  // cut only to keep the limit, or to nothing
    size_t length = words.size() - 1;
    for (const std::string& w : words) length += w.size();
    Check(length <= vistip::kMaxBrowserCommand || address.empty());
  }
  return 0;
}
