// Alias rules and the choice of a new alias's number.
#include "ntpaths/winfs/short_names.h"

#include "ntpaths/winfs/names.h"

namespace winfs {
namespace {

bool IsShortChar(unsigned char c) {
  if (c < 0x20) return false;
  switch (c) {
    case ' ':
    case '"':
    case '*':
    case '+':
    case ',':
    case '/':
    case ':':
    case ';':
    case '<':
    case '=':
    case '>':
    case '?':
    case '[':
    case '\\':
    case ']':
    case '|':
    case '.':
      return false;
    default:
      return true;
  }
}

// One character of a long name as it goes into an alias: dropped (0), an underscore, or itself
// in upper case.
char AliasChar(unsigned char c) {
  switch (c) {
    case '+':
    case ',':
    case ';':
    case '=':
    case '[':
    case ']':
      return '_';
    case ' ':
    case '.':
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
      return 0;
    default:
      return c < 0x20 ? 0 : static_cast<char>(FoldUpper(c));
  }
}

std::uint32_t FirstNumber(int digits) {
  std::uint32_t n = 1;
  for (int i = 1; i < digits; ++i) n *= 10;
  return n;
}

}  // namespace

bool IsShortName(std::string_view name) {
  size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8) return false;
  if (dot != std::string_view::npos && (ext.empty() || ext.size() > 3)) return false;
  for (unsigned char c : base)
    if (!IsShortChar(c)) return false;
  for (unsigned char c : ext)
    if (!IsShortChar(c)) return false;
  return true;
}

AliasStem StemOf(std::string_view longName) {
  size_t dot = longName.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = longName.size();  // ".profile" has no ext
  AliasStem stem;
  for (size_t i = 0; i < dot; ++i) {
    if (char c = AliasChar(static_cast<unsigned char>(longName[i]))) stem.base += c;
  }
  for (size_t i = dot + 1; i < longName.size() && stem.ext.size() < 3; ++i) {
    if (char c = AliasChar(static_cast<unsigned char>(longName[i]))) stem.ext += c;
  }
  if (stem.base.empty()) stem.base = "_";
  return stem;
}

bool StemMatches(std::string_view longName, std::string_view prefix, int digits,
                 std::string_view ext) {
  size_t dot = longName.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = longName.size();
  size_t e = 0;
  for (size_t i = dot + 1; i < longName.size() && e < 3; ++i) {
    char c = AliasChar(static_cast<unsigned char>(longName[i]));
    if (!c) continue;
    if (e >= ext.size() || ext[e] != c) return false;
    ++e;
  }
  if (e != ext.size()) return false;
  const size_t keep = static_cast<size_t>(7 - digits);
  size_t b = 0;
  for (size_t i = 0; i < dot && b < keep; ++i) {
    char c = AliasChar(static_cast<unsigned char>(longName[i]));
    if (!c) continue;
    if (b >= prefix.size() || prefix[b] != c) return false;
    ++b;
  }
  if (b == 0) return prefix == "_";
  return b == prefix.size();
}

std::string StemPrefix(const std::string& base, int digits) {
  size_t keep = static_cast<size_t>(7 - digits);
  return base.size() > keep ? base.substr(0, keep) : base;
}

std::string FormatAlias(const std::string& prefix, std::uint32_t number, const std::string& ext) {
  std::string s = prefix + "~" + std::to_string(number);
  if (!ext.empty()) s += "." + ext;
  return s;
}

std::optional<AliasQuery> ParseAlias(std::string_view name) {
  if (!IsShortName(name)) return std::nullopt;
  std::string upper = ToUpper(name);
  size_t dot = upper.find('.');
  std::string base = upper.substr(0, dot);
  AliasQuery q;
  q.ext = dot == std::string::npos ? "" : upper.substr(dot + 1);
  size_t tilde = base.rfind('~');
  if (tilde == std::string::npos || tilde == 0 || tilde + 1 >= base.size()) return std::nullopt;
  std::string digits = base.substr(tilde + 1);
  if (digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  q.prefix = base.substr(0, tilde);
  q.digits = static_cast<int>(digits.size());
  if (q.digits > 6 || q.prefix.size() > static_cast<size_t>(7 - q.digits)) return std::nullopt;
  q.number = static_cast<std::uint32_t>(std::stoul(digits));
  return q;
}

std::string FirstFreeAlias(const AliasStem& stem,
                           const std::function<bool(const AliasGroup&, const std::string&)>& used,
                           std::map<std::string, std::uint32_t>* next) {
  for (int digits = 1; digits <= 6; ++digits) {
    AliasGroup group{StemPrefix(stem.base, digits), digits, stem.ext, {}};
    group.key = group.prefix + "~" + std::to_string(digits) + "." + group.ext;
    std::uint32_t& n = (*next)[group.key];
    if (n < FirstNumber(digits)) n = FirstNumber(digits);
    for (; n < FirstNumber(digits + 1); ++n) {
      std::string alias = FormatAlias(group.prefix, n, group.ext);
      if (!used(group, alias)) return alias;
    }
  }
  return {};
}

}  // namespace winfs
