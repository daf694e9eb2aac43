// Windows-style path names made local: separators, drive letters through the drive map, and
// the map's syntax shared with ntpaths.
#include "platform/windows_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/api/api_fixture.h"

namespace vistip {
namespace {

struct PathCase {
  const char* name;
  const char* path;
  const char* drive_map;
  const char* local;
};

const PathCase kPathCases[] = {
    {"DriveCIsTheRootByDefault", "C:\\C4\\Template\\Help.Vth", "", "/C4/Template/Help.Vth"},
    {"MappedDriveC", "C:\\C4\\x", "C=/srv/c", "/srv/c/C4/x"},
    {"LowerCaseLetterAndTrailingSlashOfTheRoot", "c:\\C4\\x", "C=/srv/c/", "/srv/c/C4/x"},
    {"SecondDrive", "D:\\tools\\t.vth", "C=/;D=/mnt/d", "/mnt/d/tools/t.vth"},
    {"NoShortSuffixIgnored", "N:\\a", "N=/mnt/share,noshort", "/mnt/share/a"},
    {"UnmappedDriveStaysAsWritten", "D:\\tools", "C=/", "D:/tools"},
    {"EmptyEntryUnmapsTheDrive", "C:\\a", "C=", "C:/a"},
    {"UnreadableMapIsIgnored", "C:\\a", "D=/mnt/d;garbage", "/a"},
    {"UnreadableMapLeavesOtherDrivesUnmapped", "D:\\a", "D=/mnt/d;garbage", "D:/a"},
    {"DriveRelativeNameStartsAtTheRoot", "C:a\\b", "C=/x", "/x/a/b"},
    {"DriveAlone", "C:", "C=/x", "/x/"},
    {"RelativeNameStaysRelative", "Template\\Warden.Vth", "C=/x", "Template/Warden.Vth"},
    {"NetworkName", "\\\\server\\share\\f", "", "//server/share/f"},
    {"CaseOfNamesKept", "C:\\Dir\\MiXeD.Vth", "", "/Dir/MiXeD.Vth"},
    {"LocalNameUnchanged", "/home/u/tips.tps", "C=/x", "/home/u/tips.tps"},
    {"Empty", "", "", ""},
};

class WindowsPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(WindowsPathTest, MakesTheNameLocal) {
  EXPECT_EQ(LocalPathFromWindows(GetParam().path, GetParam().drive_map), GetParam().local);
}

INSTANTIATE_TEST_SUITE_P(Names, WindowsPathTest, ::testing::ValuesIn(kPathCases),
                         testing::CaseName());

TEST(WindowsPathEnvironment, ReadsTheDriveMapFromTheNtpathsVariable) {
  ASSERT_EQ(setenv(kDriveMapVariable, "C=/from/env", 1), 0);
  EXPECT_EQ(LocalPathFromWindows("C:\\x\\y"), "/from/env/x/y");
  ASSERT_EQ(unsetenv(kDriveMapVariable), 0);
  EXPECT_EQ(LocalPathFromWindows("C:\\x\\y"), "/x/y");
}

}  // namespace
}  // namespace vistip
