// Browser command lines for web addresses.
#include "tipwindow/browser_command.h"

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

std::string BrowserCommand(std::string_view cleaned, std::string_view address) {
  const std::string text = rt::Clip(address);
  const std::string scheme = rt::Lower(text.substr(0, 4));
  const bool as_written =
      scheme == "http" || scheme == "file" || (text.size() >= 2 && text[1] == ':');
  const std::string target = as_written ? text : "http://" + text;
  std::string command = rt::Clip(cleaned);
  if (command.find("%1") != std::string::npos) {
    for (size_t at = command.find("%1"); at != std::string::npos;
         at = command.find("%1", at + target.size()))
      command.replace(at, 2, target);
  } else {
    command += " " + target;
  }
  if (command.size() > kMaxBrowserCommand) command.resize(kMaxBrowserCommand);
  return command;
}

}  // namespace vistip
