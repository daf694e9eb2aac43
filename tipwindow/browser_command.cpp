// The browser's program and arguments for a web address.
#include "tipwindow/browser_command.h"

#include <algorithm>

#include "runtime/process.h"
#include "runtime/strings.h"

namespace vistip {
namespace {

bool StartsSwitch(const std::string& s, size_t i) {
  if (s[i] != '-' || (i > 0 && s[i - 1] != ' ')) return false;
  bool quoted = false;
  for (size_t j = 0; j < i; ++j)
    if (s[j] == '"') quoted = !quoted;
  return !quoted;
}

size_t NextSwitch(const std::string& s, size_t from) {
  for (size_t i = from; i < s.size(); ++i)
    if (StartsSwitch(s, i)) return i;
  return std::string::npos;
}

constexpr std::string_view kPlaceholder = "%1";

size_t Placeholders(std::string_view word) {
  size_t count = 0;
  for (size_t at = word.find(kPlaceholder); at != std::string_view::npos;
       at = word.find(kPlaceholder, at + kPlaceholder.size()))
    ++count;
  return count;
}

// The first `room` characters of the address, shorter where that would cut a "%XX" escape.
std::string CutAddress(std::string_view address, size_t room) {
  if (address.size() <= room) return std::string(address);
  size_t end = room;
  if (end >= 1 && address[end - 1] == '%') {
    end -= 1;
  } else if (end >= 2 && address[end - 2] == '%') {
    end -= 2;
  }
  return std::string(address.substr(0, end));
}

}  // namespace

std::string RemoveSwitches(std::string_view value) {
  std::string s(value);
  const size_t length = rt::Clip(s).size();
  for (size_t p = NextSwitch(s, 0); p != std::string::npos; p = NextSwitch(s, p + 1)) {
    // The switch runs to the first blank, or to a quote before that blank; with no blank
    // after it, to the end of the value.
    size_t q = s.find(' ', p);
    const size_t quote = s.find('"', p);
    if (q == std::string::npos) {
      q = length;
    } else if (quote != std::string::npos && quote < q) {
      q = quote;
    }
    for (size_t i = p; i < q && i < s.size(); ++i) s[i] = ' ';
  }
  return s;
}

std::string WebAddress(std::string_view text) {
  const std::string clipped = rt::Clip(text);
  const std::string scheme = rt::Lower(clipped.substr(0, 4));
  const bool as_written =
      scheme == "http" || scheme == "file" || (clipped.size() >= 2 && clipped[1] == ':');
  std::string address = as_written ? "" : "http://";
  for (const char c : clipped) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7F || c == '"' || c == '\'') {
      constexpr char kHex[] = "0123456789ABCDEF";
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0xF];
    } else {
      address += c;
    }
  }
  return address;
}

std::vector<std::string> BrowserArguments(std::string_view cleaned, std::string_view address) {
  std::vector<std::string> words = rt::SplitCommandLine(cleaned);
  if (words.empty()) return words;
  // Room left for the address once the browser's own words and the blanks are counted.
  size_t fixed = words.size() - 1;
  size_t places = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    const size_t here = i == 0 ? 0 : Placeholders(words[i]);
    fixed += words[i].size() - 2 * here;
    places += here;
  }
  if (places == 0) ++fixed;  // the blank before an appended address
  const size_t room = fixed < kMaxBrowserCommand ? kMaxBrowserCommand - fixed : 0;
  const std::string cut = CutAddress(address, room / std::max<size_t>(places, 1));
  if (places == 0) {
    words.push_back(cut);
    return words;
  }
  for (size_t i = 1; i < words.size(); ++i) {
    std::string& word = words[i];
    for (size_t at = word.find(kPlaceholder); at != std::string::npos;
         at = word.find(kPlaceholder, at + cut.size()))
      word.replace(at, kPlaceholder.size(), cut);
  }
  return words;
}

BrowserLaunch PlanBrowserLaunch(int32_t lookup_result, std::string_view value,
                                std::string_view text) {
  BrowserLaunch launch;
  if (lookup_result == 0) launch.words = BrowserArguments(RemoveSwitches(value), WebAddress(text));
  if (launch.words.empty()) {
    launch.message = kNoBrowserMessage;
  } else if (text.starts_with('-')) {
    launch.words.clear();
    launch.message = "The web address \"" + rt::Clip(text) +
                     "\" is not opened: an address may not begin with \"-\".";
  }
  return launch;
}

std::string ShownCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
      line += word;
      continue;
    }
    line += '"';
    for (const char c : word) line += c == '"' ? std::string("\\\"") : std::string(1, c);
    line += '"';
  }
  return line;
}

}  // namespace vistip
