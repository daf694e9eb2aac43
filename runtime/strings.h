// The runtime's string services (CLIP, UPPER, LOWER, SUB, INSTRING, LEN, LEFT, ALL) and its
// conversions between text and numbers, on Windows-1252 text of any length.
// Thread-safety: pure functions of their arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// CLIP: the text without its trailing blanks.
std::string Clip(std::string_view s);

// UPPER / LOWER: ASCII and Windows-1252 letters changed in case; other bytes kept. Letters
// without a single-byte counterpart (sharp s, micro sign) stay as they are.
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
char UpperChar(char c);
char LowerChar(char c);

// SUB: len characters of s from position start (1-based). Positions outside 1..Len(s) are
// left out, so a range wholly outside the text gives "" (which reads as blank); len <= 0 too.
std::string Sub(std::string_view s, int64_t start, int64_t len);

// INSTRING: the 1-based position of the first occurrence of needle in hay, trying the
// positions start, start + step, start + 2*step, ... (a negative step searches backwards).
// 0 when there is none, when needle is empty, or when step is 0.
int64_t InString(std::string_view needle, std::string_view hay, int64_t step = 1,
                 int64_t start = 1);

// LEN: the length of the text, trailing blanks included (LEN of a STRING(N) is N).
inline int64_t Len(std::string_view s) {
  return static_cast<int64_t>(s.size());
}

// LEFT: the text left-justified, its leading blanks moved to the end; same length.
std::string Left(std::string_view s);
// LEFT with a length: left-justified, then cut or blank-padded to len characters.
std::string Left(std::string_view s, size_t len);

// ALL: s repeated until the result is n characters long (n blanks when s is empty).
std::string All(std::string_view s, size_t n);

// Text read as a number, as the runtime does on assignment: optional blanks, an optional sign,
// digits with at most one decimal point, optional blanks. Any other text reads as 0.
double ToNumber(std::string_view s);
// The same, truncated towards zero and limited to the range of a LONG.
int32_t ToLong(std::string_view s);

// A number in decimal with no leading blanks: integers without a decimal point, other
// values in the shortest form that reads back the same ("1.5", "-0.25").
std::string FormatNumber(double value);
// The same, right-aligned in width characters with blank fill. A number wider than width is
// returned whole, never cut.
std::string FormatNumber(double value, size_t width);

}  // namespace rt
#pragma GCC visibility pop
