// The command line that opens a web address: the default browser's command line without its
// switches, and the address added to it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vistip {

// Longest command line started for a web address.
inline constexpr size_t kMaxBrowserCommand = 199;

// Blanks every switch of a browser command line: from a "-" that starts a word outside quotes
// to the next blank or quote (to the end when no blank follows). Hyphens inside a word, such
// as one in the program's path, stay. The result has the value's length.
std::string RemoveSwitches(std::string_view value);

// The address as the browser gets it: as written when it starts with "http" or "file" (any
// letter case) or has a drive letter's ":" second, otherwise after "http://". It replaces each
// "%1" of the cleaned value, or else follows it after one blank. Cut to 199 characters.
std::string BrowserCommand(std::string_view cleaned, std::string_view address);

}  // namespace vistip
