// 8.3 names: which names already are 8.3, the familiar alias of one that is not
// (PROGRA~1 for "Program Files"), and the numbering of aliases in order of creation.
// Pure functions; the directory's entries and their creation order come from the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The order in which a directory's entries were created: birth time where the file system
// keeps it, else 0, then the inode number, then the name.
struct CreationKey {
  std::int64_t seconds = 0;
  std::uint32_t nanoseconds = 0;
  std::uint64_t inode = 0;
  bool operator<(const CreationKey& o) const {
    if (seconds != o.seconds) return seconds < o.seconds;
    if (nanoseconds != o.nanoseconds) return nanoseconds < o.nanoseconds;
    return inode < o.inode;
  }
};

struct AliasCandidate {
  const std::string* name;  // the long name (ties in the creation key go by it)
  AliasStem stem;
  CreationKey key;
  std::string alias;  // the result; empty when no number is left
};

// Numbers the aliases of CANDIDATES (entries of one directory that need one). Within one prefix
// and extension the entries take ~1 to ~9 in order of creation, skipping a number whose alias is
// TAKEN by a real 8.3 name; those left over take ~10 to ~99 among all entries sharing the
// shorter prefix, and so on up to MAX_DIGITS digits. An entry's alias therefore only changes when
// an older entry of its group goes away: adding files never changes an existing alias.
// A subset holding every candidate whose StemPrefix for MAX_DIGITS matches gets the same aliases
// as the whole directory, up to MAX_DIGITS digits.
void AssignAliases(std::vector<AliasCandidate*>& candidates, int maxDigits,
                   const std::function<bool(const std::string& upperAlias)>& taken);

}  // namespace winfs
