// DOS wildcard matching, case-insensitive.
#include "ntpaths/winfs/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct WildCase {
  const char* pattern;
  const char* name;
  bool match;
};
class WildcardTest : public ::testing::TestWithParam<WildCase> {};
TEST_P(WildcardTest, Matches) {
  const WildCase& c = GetParam();
  EXPECT_EQ(winfs::MatchesPattern(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}
const WildCase kCases[] = {
    {"*", "anything.txt", true},
    {"*", ".", true},
    {"*.*", "noext", true},
    {"*.*", "a.b.c", true},
    {"*.txt", "README.TXT", true},
    {"*.TXT", "readme.txt", true},
    {"*.txt", "a.txt.bak", false},
    {"*.txt", "a.b.txt", true},
    {"*.txt", "txt", false},
    {"*.", "noext", true},
    {"*.", "has.ext", false},
    {"README.*", "README", true},
    {"README.*", "readme.md", true},
    {"README.*", "READMEX", false},
    {"?", "a", true},
    {"?", "ab", false},
    {"???", "ab", true},
    {"FILE????.TXT", "FILE1.TXT", true},
    {"FILE????.TXT", "FILE12345.TXT", false},
    {"a?c", "abc", true},
    {"a?c", "a.c", false},
    {"*a*b*", "xxaxxbxx", true},
    {"*a*b*", "xxbxxaxx", false},
    {"abc", "ABC", true},
    {"abc", "abcd", false},
    {"\xe9t\xe9", "\xc9T\xc9", true},  // Windows-1252 letters fold too
    {"*~1*", "PROGRA~1", true},
};
INSTANTIATE_TEST_SUITE_P(Table, WildcardTest, ::testing::ValuesIn(kCases));

}  // namespace
