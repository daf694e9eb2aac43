// The tip text's line scanner: one line of tip text in, the entries it adds and the tags left
// unclosed out. Pure, so the compiler, the fuzzer and the command-line checker share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistip {

// A line longer than this is read only up to it.
inline constexpr size_t kMaxLineLength = 10000;
// A web address or a tip link's text holds at most this many characters.
inline constexpr size_t kMaxLinkText = 80;
// A button or bullet name holds at most this many characters, its letter included.
inline constexpr size_t kMaxTagName = 4;

struct MarkupEntry {
  std::string type;  // one of the kType... names of tipwindow/queues.h
  std::string name;
  std::string text;
};

// The numbers of the next text run, web link, tip link and region. They run on over the lines
// of one tip and start at 1 for every compilation.
struct ScanNumbers {
  int32_t run = 1;
  int32_t http = 1;
  int32_t lnk = 1;
  int32_t region = 1;
};

struct LineScan {
  std::vector<MarkupEntry> entries;
  // One per tag that was not closed in time: the position (from 1) of its "<" in the line.
  std::vector<size_t> unclosed;
};

// Scans one line: a line holding "<HR>" is a rule, a blank line an empty text entry, anything
// else text runs and tags. Trailing blanks are ignored; numbers advance for what is added.
LineScan ScanTipLine(std::string_view line, ScanNumbers& numbers);

// The name of text run n: "S" and n right-aligned in three characters ("S  1", "S 12").
std::string RunName(int32_t n);

}  // namespace vistip
