// The default web browser's command line, in the form the registry value
// "htmlfile\shell\open\command" takes: $BROWSER when set, else xdg-open found on PATH, given
// as `"<path to xdg-open>" "%1"`. Thread-safety: reads the environment only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vistip {

// The value's buffer holds this many bytes, its terminating zero included.
inline constexpr size_t kBrowserValueSize = 200;
inline constexpr int32_t kBrowserNotFound = 2;        // no such value
inline constexpr int32_t kBrowserValueTooLong = 234;  // longer than the buffer

// Fills `value` and returns 0; when there is no browser or its command line does not fit the
// buffer, returns the error code and leaves `value` empty.
int32_t QueryDefaultBrowser(std::string& value);

}  // namespace vistip
