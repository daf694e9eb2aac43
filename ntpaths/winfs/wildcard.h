// DOS wildcard matching for searches, case-insensitive:
//  *  any run of characters; before a dot it stops at the name's last dot (so *.TXT never
//     matches A.TXT.BAK and *. matches names without a dot);
//  ?  one character other than a dot; at a dot or at the end of the name it matches nothing
//     (FILE????.TXT matches FILE1.TXT);
//  .  a dot; followed only by wildcards it also matches the end of a name that has no dot
//     (*.* matches every name, README.* matches README).
#pragma once

#include <string_view>

namespace winfs {

bool MatchesPattern(std::string_view pattern, std::string_view name);

}  // namespace winfs
