// Reads a list's column format: width, alignment, modifiers, heading and picture per column.
#include "runtime/paint/list_format.h"

#include <algorithm>
#include <cctype>

namespace rt::paint {
namespace {

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The text up to the next `close` after position i (which holds the opening mark); i ends past it.
std::string Delimited(std::string_view f, size_t& i, char close) {
  const size_t end = f.find(close, i + 1);
  const size_t stop = end == std::string_view::npos ? f.size() : end;
  std::string s(f.substr(i + 1, stop - i - 1));
  i = std::min(f.size(), stop + 1);
  return s;
}

// Skips a parenthesised number such as an indent "(2)" at position i.
void SkipParens(std::string_view f, size_t& i) {
  if (i < f.size() && f[i] == '(') Delimited(f, i, ')');
}

}  // namespace

std::vector<ListColumn> ParseListFormat(std::string_view f) {
  std::vector<ListColumn> columns;
  size_t i = 0;
  while (i < f.size()) {
    if (!IsDigit(f[i])) {  // junk between columns
      ++i;
      continue;
    }
    ListColumn col;
    int64_t width = 0;
    while (i < f.size() && IsDigit(f[i]))
      width = std::min<int64_t>(width * 10 + (f[i++] - '0'), 10000);
    col.width = static_cast<int32_t>(width);
    if (i < f.size() && std::string_view("LRCD").find(f[i]) != std::string_view::npos)
      col.align = f[i++];
    SkipParens(f, i);
    // Modifiers up to the picture, which ends the column; a digit starts the next column.
    while (i < f.size() && !IsDigit(f[i])) {
      const char c = f[i];
      if (c == '@') {
        col.picture = Delimited(f, i, '@');
        break;
      }
      if (c == '|') {
        col.right_border = true;
        ++i;
      } else if (c == '~') {
        col.heading = Delimited(f, i, '~');
        if (i < f.size() && std::string_view("LRCD").find(f[i]) != std::string_view::npos) ++i;
        SkipParens(f, i);
      } else if (c == '#') {
        Delimited(f, i, '#');
      } else {
        ++i;
        SkipParens(f, i);
      }
    }
    columns.push_back(std::move(col));
  }
  return columns;
}

}  // namespace rt::paint
