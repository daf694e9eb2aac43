// 8.3 names: which names already are 8.3, the familiar alias of one that is not
// (PROGRA~1 for "Program Files"), and the first free number for a new alias.
// Pure functions; which aliases a directory already uses comes from the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace winfs {

// True for a valid 8.3 name: 1-8 characters, optionally a dot and 1-3 more, none of them a
// blank or one of " * + , / : ; < = > ? [ \ ] | or a control character. "." and ".." are not.
bool IsShortName(std::string_view name);

// The parts an alias is built from: the name in upper case with blanks, extra dots and the
// characters no name may hold dropped, and + , ; = [ ] turned into underscores; BASE is what
// comes before the last dot (all of it, longer than 6 perhaps), EXT the first 3 after it.
struct AliasStem {
  std::string base;  // never empty ("_" when nothing is left)
  std::string ext;
};
AliasStem StemOf(std::string_view longName);

// Whether StemPrefix(StemOf(LONG_NAME).base, DIGITS) is PREFIX and the stem's extension EXT,
// worked out without building the stem (a directory's names are sifted with it).
bool StemMatches(std::string_view longName, std::string_view prefix, int digits,
                 std::string_view ext);

// The base cut to fit a number of DIGITS digits: ABCDEF for ~1..~9, ABCDE for ~10..~99, ...
std::string StemPrefix(const std::string& base, int digits);
// PREFIX~NUMBER.EXT (no dot without an extension).
std::string FormatAlias(const std::string& prefix, std::uint32_t number, const std::string& ext);

// What an alias written by a caller asks for.
struct AliasQuery {
  std::string prefix;  // upper case
  std::uint32_t number;
  int digits;
  std::string ext;
};
// Reads NAME as an alias (prefix, "~", a number without leading zero, extension), in any case.
std::optional<AliasQuery> ParseAlias(std::string_view name);

// The aliases of one cut base and extension with a given number of digits (ABCDEF~1..~9.TXT,
// ABCDE~10..~99.TXT, ...); KEY names the group.
struct AliasGroup {
  std::string prefix;
  int digits;
  std::string ext;
  std::string key;
};

// The first alias for STEM that USED does not hold (asked with the group and the upper-case
// alias): ~1 to ~9 after the base cut to 6 characters, then ~10 to ~99 after 5, and so on up to
// six digits; empty when every number is used. NEXT remembers, per group, the number below
// which all are used, so that many aliases chosen one after another cost no more than one each.
std::string FirstFreeAlias(const AliasStem& stem,
                           const std::function<bool(const AliasGroup&, const std::string&)>& used,
                           std::map<std::string, std::uint32_t>* next);

}  // namespace winfs
