// The program and arguments that open a web address: the default browser's command line
// without its switches, split into words, and the address added to them as one argument.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistip {

// Longest command line started for a web address, its words joined by single blanks.
inline constexpr size_t kMaxBrowserCommand = 199;

inline constexpr std::string_view kNoBrowserMessage = "Cannot spawn default browser...";

// Blanks every switch of a browser command line: from a "-" that starts a word outside quotes
// to the next blank or quote (to the end when no blank follows). Hyphens inside a word, such
// as one in the program's path, stay. The result has the value's length.
std::string RemoveSwitches(std::string_view value);

// The address as the browser gets it: as written when it starts with "http" or "file" (any
// letter case) or has a drive letter's ":" second, otherwise after "http://". Blanks, quotes
// and control characters are percent-encoded, so the address is one word of plain characters.
std::string WebAddress(std::string_view text);

// The cleaned value split into program and arguments (runtime/process.h rules); the address
// then goes into every argument in place of its "%1", or is appended as one more argument when
// no argument holds "%1". The program word never takes the address, and the result is never
// split again. The address is cut so the words joined by blanks keep 199 characters, never
// inside a percent escape. Empty when the value names no program.
std::vector<std::string> BrowserArguments(std::string_view cleaned, std::string_view address);

// What a click on a web address starts, or the message shown instead of starting anything.
struct BrowserLaunch {
  std::vector<std::string> words;  // program first; empty when nothing is started
  std::string message;             // shown when nothing is started
};

// For the browser lookup's result code and value and the web-address text of a tip: a failed
// lookup or a value without a program gives kNoBrowserMessage, an address that begins with "-"
// is refused, otherwise BrowserArguments of the cleaned value and WebAddress(text).
BrowserLaunch PlanBrowserLaunch(int32_t lookup_result, std::string_view value,
                                std::string_view text);

// The words as one line for people to read: a word that is empty or holds a blank, a tab or a
// quote is shown in quotes, with \" for a quote.
std::string ShownCommandLine(const std::vector<std::string>& words);

}  // namespace vistip
