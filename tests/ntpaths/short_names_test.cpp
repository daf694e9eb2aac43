// 8.3 names by rule: validity, alias stems, the choice of a new alias, and MakeShortName.
#include "ntpaths/winfs/short_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "ntpaths/steps.h"

namespace {

using namespace winfs;

TEST(ShortNameTest, ValidShortNames) {
  for (const char* n : {"README.TXT", "readme.txt", "A", "ABCDEFGH.IJK", "PROGRA~1", "a$b.c",
                        "x_y-z", "caf\xe9.txt"})
    EXPECT_TRUE(IsShortName(n)) << n;
  for (const char* n : {"", ".", "..", "ABCDEFGHI", "A.BCDE", "a.b.c", "my file", ".profile",
                        "name.", "a+b", "a,b", "a;b", "a=b", "a[b]", "a?b", "a*b", "a:b"})
    EXPECT_FALSE(IsShortName(n)) << n;
}

struct StemCase {
  const char* name;
  const char* base;
  const char* ext;
};
class StemTest : public ::testing::TestWithParam<StemCase> {};
TEST_P(StemTest, BuildsTheStem) {
  AliasStem s = StemOf(GetParam().name);
  EXPECT_EQ(s.base, GetParam().base) << GetParam().name;
  EXPECT_EQ(s.ext, GetParam().ext) << GetParam().name;
}
const StemCase kStems[] = {
    {"Program Files", "PROGRAMFILES", ""},
    {"My Tips.text", "MYTIPS", "TEX"},
    {"archive.tar.gz", "ARCHIVETAR", "GZ"},
    {".profile", "PROFILE", ""},
    {"a+b,c;d=e[f]", "A_B_C_D_E_F_", ""},
    {"what?.txt", "WHAT", "TXT"},
    {"...", "_", ""},
    {"name.", "NAME", ""},
};
INSTANTIATE_TEST_SUITE_P(Table, StemTest, ::testing::ValuesIn(kStems));

TEST(ShortNameTest, StemMatchesAgreesWithTheStem) {
  const char* names[] = {"Program Files", "My Tips.text", "archive.tar.gz", ".profile", "...",
                         "a+b,c;d=e[f]",  "AB",           "ABCDEFGHIJ.TXT", "x.t x t",  "name."};
  const char* prefixes[] = {"PROGRA", "PROGR",  "MYTIPS", "ARCHIV", "PROFIL", "_", "A_B_C_",
                            "AB",     "ABCDEF", "ABCDE",  "X",      "NAME",   "",  "MYTIP"};
  const char* exts[] = {"", "TEX", "GZ", "TXT", "TXT"};
  for (const char* n : names)
    for (const char* p : prefixes)
      for (const char* e : exts)
        for (int d = 1; d <= 6; ++d) {
          AliasStem stem = StemOf(n);
          bool expect = StemPrefix(stem.base, d) == p && stem.ext == e;
          EXPECT_EQ(StemMatches(n, p, d, e), expect) << n << " " << p << " " << e << " " << d;
        }
}

TEST(ShortNameTest, ParseAliasReadsPrefixNumberAndExtension) {
  auto q = ParseAlias("progra~1");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->prefix, "PROGRA");
  EXPECT_EQ(q->number, 1u);
  EXPECT_EQ(q->digits, 1);
  q = ParseAlias("DOCUM~12.TXT");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->prefix, "DOCUM");
  EXPECT_EQ(q->number, 12u);
  EXPECT_EQ(q->ext, "TXT");
  EXPECT_FALSE(ParseAlias("PROGRA~0"));
  EXPECT_FALSE(ParseAlias("PROG~01"));
  EXPECT_FALSE(ParseAlias("README.TXT"));
  EXPECT_FALSE(ParseAlias("~1"));
  EXPECT_FALSE(ParseAlias("ABCDEFG~1"));  // not 8.3
}

// New aliases for NAMES, chosen one after another in one directory that already uses TAKEN.
std::vector<std::string> Assign(const std::vector<std::string>& names,
                                std::set<std::string> taken = {}) {
  std::map<std::string, std::uint32_t> next;
  std::vector<std::string> out;
  for (const auto& n : names) {
    out.push_back(FirstFreeAlias(
        StemOf(n), [&](const AliasGroup&, const std::string& a) { return taken.count(a) > 0; },
        &next));
    taken.insert(out.back());
  }
  return out;
}

TEST(AliasNumberingTest, EachNewAliasTakesTheLowestFreeNumberOfItsGroup) {
  auto a =
      Assign({"Long Name One.txt", "Long Name Two.txt", "Long Name Three.txt", "Other File.doc"});
  EXPECT_EQ(a, (std::vector<std::string>{"LONGNA~1.TXT", "LONGNA~2.TXT", "LONGNA~3.TXT",
                                         "OTHERF~1.DOC"}));
  // A number given up (its file deleted) is the first one free again.
  EXPECT_EQ(Assign({"Long Name Four.txt"}, {"LONGNA~1.TXT", "LONGNA~3.TXT"}),
            std::vector<std::string>{"LONGNA~2.TXT"});
}

TEST(AliasNumberingTest, TenthAliasTakesTwoDigitsAndAShorterPrefix) {
  std::vector<std::string> names;
  for (int i = 0; i < 25; ++i) names.push_back("Document number " + std::to_string(i) + ".txt");
  auto a = Assign(names);
  EXPECT_EQ(a[0], "DOCUME~1.TXT");
  EXPECT_EQ(a[8], "DOCUME~9.TXT");
  EXPECT_EQ(a[9], "DOCUM~10.TXT");
  EXPECT_EQ(a[24], "DOCUM~25.TXT");
}

TEST(AliasNumberingTest, SkipsNumbersTakenByRealNames) {
  auto a = Assign({"Program Files", "Program Data"}, {"PROGRA~1"});
  EXPECT_EQ(a, (std::vector<std::string>{"PROGRA~2", "PROGRA~3"}));
}

TEST(AliasNumberingTest, OverflowSharesTheShorterPrefix) {
  std::vector<std::string> names;
  for (int i = 0; i < 10; ++i) names.push_back("ABCDEFlong" + std::to_string(i));
  for (int i = 0; i < 10; ++i) names.push_back("ABCDEGlong" + std::to_string(i));
  auto a = Assign(names);
  EXPECT_EQ(a[8], "ABCDEF~9");
  EXPECT_EQ(a[9], "ABCDE~10");
  EXPECT_EQ(a[18], "ABCDEG~9");
  EXPECT_EQ(a[19], "ABCDE~11");
}

TEST(AliasNumberingTest, NoAliasWhenEveryNumberIsUsed) {
  std::set<std::string> all;
  for (int d = 1, first = 1; d <= 6; ++d, first *= 10)
    for (int n = first; n < first * 10; ++n)
      all.insert(FormatAlias(StemPrefix("ALONG", d), static_cast<std::uint32_t>(n), ""));
  EXPECT_EQ(Assign({"A long"}, all), std::vector<std::string>{""});
}

struct MakeCase {
  std::string input;
  std::string output;
};
class MakeShortNameTest : public ::testing::TestWithParam<MakeCase> {};
TEST_P(MakeShortNameTest, BuildsByRule) {
  EXPECT_EQ(ntpaths::MakeShortName(GetParam().input), GetParam().output) << GetParam().input;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

const MakeCase kMakeCases[] = {
    {"C:\\Program Files\\My Tips.text", "C:\\Program_\\My_Tips.tex"},
    {"C:\\a:b\\c", "C:\\a_b\\c"},
    {"C:dir:x", "C:dir_x"},
    {":x", "_x"},
    {"C:/dir/file.txt", "C:\\dir\\file.txt"},
    {"a+b,c;d=e[f]g.txt", "a_b_c_d_.txt"},
    {"C:\\notes.markdown", "C:\\notes.mar"},
    {"C:\\x.tar.gz", "C:\\x.tar"},
    {"C:\\VeryLongDirectoryName.extension\\file", "C:\\VeryLong.ext\\file"},
    {".profile", ".pro"},
    {"relative name", "relative"},
    {"D:sub dir\\x", "D:sub_dir\\x"},
    {"\\\\server\\share name\\f", "\\\\server\\share_na\\f"},
    {"C:\\already\\SHORT.TXT", "C:\\already\\SHORT.TXT"},
    {"C:\\trail\\", "C:\\trail\\"},
    {"", ""},
    // 143 characters at most: 15 whole components, then the 16th cut to 5 characters.
    {"C:" + Repeat("\\ABCDEFGH", 20), "C:" + Repeat("\\ABCDEFGH", 15) + "\\ABCDE"},
    // Components shorten as they go, so a long input can still fit.
    {"C:" + Repeat("\\ABCDEFGHIJKLMNOP", 10), "C:" + Repeat("\\ABCDEFGH", 10)},
    // Only the first 259 characters of the input are read.
    {std::string(300, 'x'), std::string(8, 'x')},
};
INSTANTIATE_TEST_SUITE_P(Table, MakeShortNameTest, ::testing::ValuesIn(kMakeCases));

TEST(MakeShortNameTest, NeverLongerThan143) {
  std::string in = "C:";
  for (int i = 0; i < 40; ++i) in += "\\abcdefgh.ijk";
  std::string out = ntpaths::MakeShortName(in);
  EXPECT_EQ(out.size(), 143u);
  char buf[ntpaths::kShortBuffer + 8];
  std::memset(buf, 'Z', sizeof buf);
  ntpaths::MakeShortName(in.c_str(), buf);
  EXPECT_EQ(std::string(buf), out);
  for (size_t i = ntpaths::kShortBuffer; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'Z');
}

}  // namespace
