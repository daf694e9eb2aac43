// The runtime's string services and text/number conversions.
#include "runtime/strings.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace rt {
namespace {

constexpr unsigned char kAsciiCaseBit = 0x20;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// First position >= lo of the series start + k*step (step > 0), counted without overflow.
int64_t FirstAtOrAbove(int64_t start, int64_t step, int64_t lo) {
  if (start >= lo) return start;
  const uint64_t diff = static_cast<uint64_t>(lo) - static_cast<uint64_t>(start);
  const uint64_t rem = diff % static_cast<uint64_t>(step);
  return lo + (rem == 0 ? 0 : step - static_cast<int64_t>(rem));
}

}  // namespace

std::string Clip(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return std::string(s.substr(0, n));
}

char UpperChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - kAsciiCaseBit);
  // Windows-1252: à..þ (but not ÷) pair with À..Þ (but not ×); š œ ž ÿ with Š Œ Ž Ÿ.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - kAsciiCaseBit);
  switch (c) {
    case 0x9A:
      return static_cast<char>(0x8A);
    case 0x9C:
      return static_cast<char>(0x8C);
    case 0x9E:
      return static_cast<char>(0x8E);
    case 0xFF:
      return static_cast<char>(0x9F);
    default:
      return ch;
  }
}

char LowerChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + kAsciiCaseBit);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char>(c + kAsciiCaseBit);
  switch (c) {
    case 0x8A:
      return static_cast<char>(0x9A);
    case 0x8C:
      return static_cast<char>(0x9C);
    case 0x8E:
      return static_cast<char>(0x9E);
    case 0x9F:
      return static_cast<char>(0xFF);
    default:
      return ch;
  }
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = UpperChar(c);
  return out;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerChar(c);
  return out;
}

std::string Sub(std::string_view s, int64_t start, int64_t len) {
  const int64_t size = Len(s);
  if (len <= 0 || start > size) return {};
  // Compare against what is left rather than computing start + len, which may overflow.
  int64_t first = start;
  int64_t count = len;
  if (first < 1) {
    const uint64_t before = 1 - static_cast<uint64_t>(first);  // positions left of the text
    if (static_cast<uint64_t>(count) <= before) return {};
    count -= static_cast<int64_t>(before);
    first = 1;
  }
  if (count > size - first + 1) count = size - first + 1;
  return std::string(s.substr(static_cast<size_t>(first - 1), static_cast<size_t>(count)));
}

int64_t InString(std::string_view needle, std::string_view hay, int64_t step, int64_t start) {
  if (needle.empty() || step == 0 || needle.size() > hay.size()) return 0;
  const int64_t last = Len(hay) - Len(needle) + 1;  // last position where needle fits
  const auto matches = [&](int64_t pos) {
    return hay.compare(static_cast<size_t>(pos - 1), needle.size(), needle) == 0;
  };
  if (step > 0) {
    int64_t pos = FirstAtOrAbove(start, step, 1);
    if (step == 1) {
      if (pos > last) return 0;
      const size_t at = hay.find(needle, static_cast<size_t>(pos - 1));
      return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
    }
    for (; pos <= last; pos += step) {
      if (matches(pos)) return pos;
      if (step > last - pos) break;
    }
    return 0;
  }
  // Backwards. A step this large can only ever try the starting position.
  if (step == std::numeric_limits<int64_t>::min()) {
    return start >= 1 && start <= last && matches(start) ? start : 0;
  }
  const int64_t back = -step;
  if (start < 1) return 0;
  int64_t pos = start;
  if (pos > last) {
    // Largest pos = start - k*back that is <= last.
    const uint64_t diff = static_cast<uint64_t>(pos) - static_cast<uint64_t>(last);
    const uint64_t k = (diff + static_cast<uint64_t>(back) - 1) / static_cast<uint64_t>(back);
    if (k > static_cast<uint64_t>(pos) / static_cast<uint64_t>(back)) return 0;
    pos -= static_cast<int64_t>(k * static_cast<uint64_t>(back));
  }
  for (; pos >= 1; pos -= back) {
    if (matches(pos)) return pos;
    if (back >= pos) break;
  }
  return 0;
}

std::string Left(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos || first == 0) return std::string(s);
  std::string out(s.substr(first));
  out.append(first, ' ');
  return out;
}

std::string Left(std::string_view s, size_t len) {
  std::string out = Left(s);
  out.resize(len, ' ');
  return out;
}

std::string All(std::string_view s, size_t n) {
  if (s.empty()) return std::string(n, ' ');
  std::string out;
  out.reserve(n);
  while (out.size() < n) out.append(s.substr(0, n - out.size()));
  return out;
}

double ToNumber(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return 0;
  s = s.substr(b, s.find_last_not_of(' ') - b + 1);
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  size_t digits = 0;
  size_t points = 0;
  bool nonzero_integer_part = false;
  for (char c : s) {
    if (IsDigit(c)) {
      ++digits;
      if (points == 0 && c != '0') nonzero_integer_part = true;
    } else if (c == '.') {
      ++points;
    } else {
      return 0;
    }
  }
  if (digits == 0 || points > 1) return 0;
  double value = 0;
  const auto [ptr, ec] =
      std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    value = nonzero_integer_part ? std::numeric_limits<double>::max() : 0.0;
  } else if (ec != std::errc() || ptr != s.data() + s.size()) {
    return 0;
  }
  if (value == 0) return 0;  // no negative zero
  return negative ? -value : value;
}

int32_t ToLong(std::string_view s) {
  const double v = std::trunc(ToNumber(s));
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(v);
}

std::string FormatNumber(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  constexpr double kExactInt64 = 9.0e18;
  if (value == std::trunc(value) && std::fabs(value) < kExactInt64) {
    return std::to_string(static_cast<int64_t>(value));
  }
  char buf[400];  // the longest fixed form of a double (about 1.8e308) fits
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buf, ptr);
}

std::string FormatNumber(double value, size_t width) {
  std::string digits = FormatNumber(value);
  if (digits.size() >= width) return digits;
  return std::string(width - digits.size(), ' ') + digits;
}

}  // namespace rt
