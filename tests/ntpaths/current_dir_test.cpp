// NTCHANGEDIRECTORY and NTGETCURRENTDIR: the four forms, other drives, and the restore.
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fault_syscalls.h"
#include "tests/ntpaths/fixture.h"

namespace {

class CurrentDirTest : public DrivesTest {
 protected:
  std::string Get(int drive, int32_t expectCode = 0) {
    char buf[NTPATHS_CURDIR_BUF];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(NTGETCURRENTDIR(drive, buf), expectCode);
    return expectCode ? std::string() : std::string(buf);
  }
  std::string SystemCurrent() {
    char buf[NTPATHS_MAX_PATH];
    EXPECT_GT(winfs::GetCurrentDirectoryA(sizeof buf, buf), 0u);
    return buf;
  }
  std::string PosixCurrent() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : "";
  }
};

TEST_F(CurrentDirTest, DriveRootGivesABackslash) {
  EXPECT_EQ(Get(0), "\\");
  EXPECT_EQ(Get(3), "\\");
}

TEST_F(CurrentDirTest, NestedDirectoryGivesPathWithoutDrive) {
  MakeDir("c/A/B");
  ChangeTo("C:\\A\\B");
  EXPECT_EQ(Get(0), "A\\B");
  EXPECT_EQ(Get(3), "A\\B");
  EXPECT_EQ(PosixCurrent(), Host("c/A/B"));
}

TEST_F(CurrentDirTest, OtherDriveInTheSameFormAndCallerRestored) {
  MakeDir("c/A/B");
  MakeDir("d/Data/Tips");
  ChangeTo("D:\\Data\\Tips");
  ChangeTo("C:\\A\\B");
  EXPECT_EQ(Get(4), "Data\\Tips");
  EXPECT_EQ(SystemCurrent(), "C:\\A\\B");
  EXPECT_EQ(PosixCurrent(), Host("c/A/B"));
  EXPECT_EQ(Get(0), "A\\B");
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

TEST_F(CurrentDirTest, OtherDriveAtItsRoot) {
  MakeDir("c/A");
  ChangeTo("C:\\A");
  EXPECT_EQ(Get(4), "\\");
  EXPECT_EQ(SystemCurrent(), "C:\\A");
}

TEST_F(CurrentDirTest, UnmappedDriveFailsAndLeavesTheCaller) {
  MakeDir("c/A");
  ChangeTo("C:\\A");
  Get(5, 3);  // E: is not mapped
  EXPECT_EQ(SystemCurrent(), "C:\\A");
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

TEST_F(CurrentDirTest, FailedChangeStillRestoresTheCaller) {
  MakeDir("c/A");
  MakeDir("d/Data");
  ChangeTo("D:\\Data");
  ChangeTo("C:\\A");
  {
    SyscallFault fault("chdir", EACCES);
    Get(4, 5);
  }
  EXPECT_EQ(SystemCurrent(), "C:\\A");
  EXPECT_EQ(PosixCurrent(), Host("c/A"));
  EXPECT_EQ(Get(4), "Data");
}

TEST_F(CurrentDirTest, RelativeChangeGivesTheFullNewPath) {
  MakeDir("c/Work/Sub Dir");
  char buf[NTPATHS_MAX_PATH] = "Work\\sub dir";
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 0);
  EXPECT_STREQ(buf, "C:\\Work\\sub dir");  // the names as given, like the original system
  std::strcpy(buf, "..");
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 0);
  EXPECT_STREQ(buf, "C:\\Work");
  EXPECT_EQ(PosixCurrent(), Host("c/Work"));
}

TEST_F(CurrentDirTest, DriveAloneGoesToThatDrivesDirectory) {
  MakeDir("d/Deep/Er");
  ChangeTo("D:\\Deep\\Er");
  ChangeTo("C:\\");
  char buf[NTPATHS_MAX_PATH] = "d:";
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 0);
  EXPECT_STREQ(buf, "D:\\Deep\\Er");
}

TEST_F(CurrentDirTest, ChangeErrors) {
  MakeFile("c/file.txt");
  char buf[NTPATHS_MAX_PATH] = "C:\\missing";
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 2);
  std::strcpy(buf, "C:\\missing\\deeper");
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 3);
  std::strcpy(buf, "C:\\file.txt");
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 267);
  std::strcpy(buf, "\\\\server\\share");
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 53);
  EXPECT_STREQ(buf, "\\\\server\\share");  // left alone on failure
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_EQ(SystemCurrent(), "C:\\");
}

// The host moves the process with chdir itself: every relative call acts in the new directory.
TEST_F(CurrentDirTest, AChdirOfTheHostIsFollowedAtOnce) {
  for (const char* d : {"c/x1", "c/x2"}) {
    MakeDir(d);
    MakeFile(std::string(d) + "/victim.txt", d);
    MakeFile(std::string(d) + "/old name.txt", d);
  }
  MakeFile("c/x2/Only In Two.text");
  ChangeTo("C:\\x1");
  ASSERT_EQ(chdir(Host("c/x2").c_str()), 0);
  EXPECT_EQ(Get(0), "x2");
  EXPECT_EQ(NTDELETEFILE("victim.txt"), 0);
  EXPECT_FALSE(Exists("c/x2/victim.txt"));
  EXPECT_EQ(Content("c/x1/victim.txt"), "c/x1");
  EXPECT_EQ(NTRENAMEFILE("old name.txt", "new name.txt"), 0);
  EXPECT_EQ(Content("c/x2/new name.txt"), "c/x2");
  EXPECT_EQ(Content("c/x1/old name.txt"), "c/x1");
  NtFindRecord r;
  uint32_t h = 0;
  ASSERT_EQ(NTFINDFIRST("only*", &r, &h), 0);
  EXPECT_STREQ(r.name, "Only In Two.text");
  EXPECT_EQ(NTFINDCLOSE(h), 0);
  // Into another drive's tree: that drive becomes the current one, at that directory.
  MakeDir("d/Data");
  ASSERT_EQ(chdir(Host("d/Data").c_str()), 0);
  EXPECT_EQ(SystemCurrent(), "D:\\Data");
  EXPECT_EQ(Get(3), "x2");  // C: kept where it was last
  EXPECT_EQ(PosixCurrent(), Host("d/Data"));
}

TEST_F(CurrentDirTest, OutsideEveryDriveRelativeNamesAreRefused) {
  MakeFile("victim.txt", "outside");
  MakeFile("c/victim.txt", "on C");
  ASSERT_EQ(chdir(root_.c_str()), 0);
  EXPECT_EQ(NTDELETEFILE("victim.txt"), 3);
  Get(0, 3);
  EXPECT_EQ(Content("victim.txt"), "outside");
  EXPECT_EQ(Content("c/victim.txt"), "on C");
  EXPECT_EQ(NTDELETEFILE("C:\\victim.txt"), 0);  // full paths still work
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

}  // namespace
