// The Windows path parser and the full form of paths, without the file system.
#include "ntpaths/winfs/path.h"

#include <gtest/gtest.h>

#include "ntpaths/winfs/errors.h"

namespace {

using winfs::FullPath;
using winfs::MakeFull;
using winfs::ParsePath;

// Current directories: C:\Work\Dir on the current drive C, D:\Other on D, roots elsewhere.
FullPath Current(char drive) {
  FullPath p;
  p.drive = drive ? drive : 'C';
  if (p.drive == 'C') p.parts = {"Work", "Dir"};
  if (p.drive == 'D') p.parts = {"Other"};
  return p;
}

struct FullCase {
  const char* input;
  const char* full;
};

class FullPathTest : public ::testing::TestWithParam<FullCase> {};

TEST_P(FullPathTest, GivesTheFullForm) {
  const FullCase& c = GetParam();
  EXPECT_EQ(MakeFull(ParsePath(c.input), Current, false).Format(), c.full) << c.input;
}

const FullCase kFullCases[] = {
    {"C:\\a\\b", "C:\\a\\b"},
    {"c:\\a\\b", "C:\\a\\b"},
    {"C:/a/b", "C:\\a\\b"},
    {"C:\\a//b\\\\c", "C:\\a\\b\\c"},
    {"C:\\", "C:\\"},
    {"C:", "C:\\Work\\Dir"},
    {"D:", "D:\\Other"},
    {"D:sub\\x", "D:\\Other\\sub\\x"},
    {"E:x", "E:\\x"},
    {"\\top", "C:\\top"},
    {"/top/x", "C:\\top\\x"},
    {"file.txt", "C:\\Work\\Dir\\file.txt"},
    {".", "C:\\Work\\Dir"},
    {"..", "C:\\Work"},
    {"..\\..\\..\\..", "C:\\"},
    {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
    {"C:\\a\\b\\", "C:\\a\\b\\"},
    {"C:\\name.", "C:\\name"},
    {"C:\\name. . ", "C:\\name"},
    {"C:\\dir.\\x", "C:\\dir\\x"},
    {"C:\\...\\x", "C:\\...\\x"},
    {"C:\\a\\...\\b\\..", "C:\\a\\"},  // trimmed after ".." (found by the fuzz target)
    {"C:\\b...\\...", "C:\\b...\\"},
    {"C:\\a\\b.\\..\\c.", "C:\\a\\c"},
    {"\\\\server\\share\\x\\..\\y", "\\\\server\\share\\y"},
};
INSTANTIATE_TEST_SUITE_P(Table, FullPathTest, ::testing::ValuesIn(kFullCases));

TEST(PathTest, KindsAreRecognized) {
  using K = winfs::ParsedPath::Kind;
  EXPECT_EQ(ParsePath("").kind, K::kEmpty);
  EXPECT_EQ(ParsePath("C:\\x").kind, K::kDriveAbsolute);
  EXPECT_EQ(ParsePath("C:x").kind, K::kDriveRelative);
  EXPECT_EQ(ParsePath("\\x").kind, K::kRootRelative);
  EXPECT_EQ(ParsePath("x").kind, K::kRelative);
  EXPECT_EQ(ParsePath("\\\\s\\h").kind, K::kUnc);
  EXPECT_TRUE(ParsePath("C:\\x\\").trailingSeparator);
  EXPECT_FALSE(ParsePath("C:\\").trailingSeparator);
}

TEST(PathTest, SearchPatternKeepsItsLastComponent) {
  EXPECT_EQ(MakeFull(ParsePath("C:\\a\\*."), Current, true).Format(), "C:\\a\\*.");
  EXPECT_EQ(MakeFull(ParsePath("C:\\a\\*."), Current, false).Format(), "C:\\a\\*");
}

TEST(PathTest, CheckNamesRefusesWhatNoNameMayHold) {
  auto check = [](const char* p, bool wild) {
    return winfs::CheckNames(MakeFull(ParsePath(p), Current, wild), wild);
  };
  EXPECT_EQ(check("C:\\a\\b.txt", false), 0u);
  EXPECT_EQ(check("C:\\a|b", false), winfs::kErrInvalidName);
  EXPECT_EQ(check("C:\\a\"b", false), winfs::kErrInvalidName);
  EXPECT_EQ(check("C:\\a:b", false), winfs::kErrInvalidName);
  EXPECT_EQ(check("C:\\a*", false), winfs::kErrInvalidName);
  EXPECT_EQ(check("C:\\a*", true), 0u);
  EXPECT_EQ(check("C:\\a*\\b", true), winfs::kErrInvalidName);
  EXPECT_EQ(check(("C:\\" + std::string(256, 'x')).c_str(), false), winfs::kErrFilenameExcedRange);
  std::string deep = "C:";
  while (deep.size() < 270) deep += "\\abcdefghij";
  EXPECT_EQ(check(deep.c_str(), false), winfs::kErrFilenameExcedRange);
}

}  // namespace
