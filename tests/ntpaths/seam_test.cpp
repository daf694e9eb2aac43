// The system's error codes for failures of the underlying POSIX calls, made to happen through
// the layer's call table: each export returns the right code, leaves last-error 0, and loses
// nothing.
#include <cerrno>
#include <cstring>

#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fault_syscalls.h"
#include "tests/ntpaths/fixture.h"

namespace {

struct SeamCase {
  const char* call;
  int err;
  int32_t code;
};

// The calls must really happen: no listing comes from the cache of settled directories.
class UncachedTest : public DrivesTest {
 protected:
  void SetUp() override {
    winfs::SetListingCacheEnabled(false);
    DrivesTest::SetUp();
  }
  void TearDown() override {
    DrivesTest::TearDown();
    winfs::SetListingCacheEnabled(true);
  }
};

class RenameSeamTest : public UncachedTest, public ::testing::WithParamInterface<SeamCase> {};

TEST_P(RenameSeamTest, FailingRenameGivesItsCodeAndKeepsTheFile) {
  MakeFile("c/source.txt", "content");
  {
    SyscallFault fault(GetParam().call, GetParam().err);
    EXPECT_EQ(NTRENAMEFILE("C:\\source.txt", "C:\\target.txt"), GetParam().code);
    EXPECT_EQ(fault.failures(), 1);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_EQ(Content("c/source.txt"), "content");
  EXPECT_FALSE(Exists("c/target.txt"));
}

const SeamCase kRenameCases[] = {
    {"renameNoReplace", EACCES, 5},         {"renameNoReplace", EPERM, 5},
    {"renameNoReplace", EROFS, 19},         {"renameNoReplace", ENOSPC, 112},
    {"renameNoReplace", EBUSY, 32},         {"renameNoReplace", EIO, 1117},
    {"renameNoReplace", EEXIST, 183},       {"renameNoReplace", ENOENT, 3},
    {"renameNoReplace", ENAMETOOLONG, 206}, {"statx", EACCES, 5},
};
INSTANTIATE_TEST_SUITE_P(Table, RenameSeamTest, ::testing::ValuesIn(kRenameCases));

class SeamTest : public UncachedTest {};

TEST_F(SeamTest, MoveAcrossFileSystemsCopiesTheFile) {
  MakeFile("c/source.txt", "across");
  {
    SyscallFault fault("renameNoReplace", EXDEV);
    EXPECT_EQ(NTRENAMEFILE("C:\\source.txt", "D:\\target.txt"), 0);
  }
  EXPECT_EQ(Content("d/target.txt"), "across");
  EXPECT_FALSE(Exists("c/source.txt"));
}

TEST_F(SeamTest, FullDiskDuringAMoveAcrossLosesNothing) {
  MakeFile("c/source.txt", std::string(200000, 'q'));
  {
    // The rename reports another file system; the copy then meets a full disk.
    SyscallFault exdev("renameNoReplace", EXDEV);
    SyscallFault full("write", ENOSPC, 2);
    EXPECT_EQ(NTRENAMEFILE("C:\\source.txt", "D:\\target.txt"), 112);
    EXPECT_EQ(full.failures(), 1);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_EQ(Content("c/source.txt"), std::string(200000, 'q'));
  EXPECT_FALSE(Exists("d/target.txt"));
}

TEST_F(SeamTest, DirectoryMoveAcrossFileSystemsIsRefused) {
  MakeDir("c/Dir");
  SyscallFault exdev("renameNoReplace", EXDEV);
  EXPECT_EQ(NTRENAMEFILE("C:\\Dir", "D:\\Dir"), 17);
  EXPECT_TRUE(Exists("c/Dir"));
}

TEST_F(SeamTest, FullDiskGives112) {
  {
    SyscallFault fault("mkdir", ENOSPC);
    EXPECT_EQ(NTMAKEDIRECTORY("C:\\New Dir"), 112);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_FALSE(Exists("c/New Dir"));
  char out[NTPATHS_SHORT_BUF];
  {
    SyscallFault fault("open", EDQUOT);
    EXPECT_EQ(NTLONGTOSHORTFILENAME("C:\\New File.txt", out, 1), 112);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_FALSE(Exists("c/New File.txt"));
}

TEST_F(SeamTest, PermissionErrorsGive5) {
  MakeDir("c/Dir");
  MakeFile("c/Dir/f.txt", "keep");
  NtFindRecord r;
  uint32_t h = 1;
  {
    SyscallFault fault("opendir", EACCES);
    EXPECT_EQ(NTFINDFIRST("C:\\Dir\\*", &r, &h), 5);
    EXPECT_EQ(h, 0u);
  }
  {
    SyscallFault fault("unlink", EACCES);
    EXPECT_EQ(NTDELETEFILE("C:\\Dir\\f.txt"), 5);
  }
  EXPECT_EQ(Content("c/Dir/f.txt"), "keep");
  {
    SyscallFault fault("rmdir", EPERM);
    EXPECT_EQ(NTREMOVEDIRECTORY("C:\\Dir"), 5);
  }
  {
    SyscallFault fault("chdir", EACCES);
    char buf[NTPATHS_MAX_PATH] = "C:\\Dir";
    EXPECT_EQ(NTCHANGEDIRECTORY(buf), 5);
  }
  {
    SyscallFault fault("mkdir", EACCES);
    EXPECT_EQ(NTMAKEDIRECTORY("C:\\Dir\\Sub"), 5);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

TEST_F(SeamTest, OtherCodesFromErrno) {
  MakeDir("c/Dir");
  {
    SyscallFault fault("opendir", EMFILE);
    NtFindRecord r;
    uint32_t h;
    EXPECT_EQ(NTFINDFIRST("C:\\Dir\\*", &r, &h), 4);
  }
  {
    SyscallFault fault("rmdir", ENOTEMPTY);
    EXPECT_EQ(NTREMOVEDIRECTORY("C:\\Dir"), 145);
  }
  {
    SyscallFault fault("mkdir", EROFS);
    EXPECT_EQ(NTMAKEDIRECTORY("C:\\Dir\\x"), 19);
  }
  {
    SyscallFault fault("readdir", EIO);
    NtFindRecord r;
    uint32_t h;
    EXPECT_EQ(NTFINDFIRST("C:\\Dir\\*", &r, &h), 1117);
  }
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

}  // namespace
