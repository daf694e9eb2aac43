// The Windows-file layer on real directories: case-insensitive names, alias numbering,
// drives, sharing, and the system's error codes as the single-call exports return them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fault_syscalls.h"
#include "tests/ntpaths/fixture.h"

namespace {

using namespace winfs;

class LayerTest : public DrivesTest {
 protected:
  std::string ShortOf(const std::string& path) {
    char buf[NTPATHS_MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
    return n && n < sizeof buf ? buf : "<failed " + std::to_string(GetLastError()) + ">";
  }
  std::string AliasOf(const std::string& path) {
    FindData d;
    HANDLE h = FindFirstFileA(path.c_str(), &d);
    if (h == kInvalidHandle) return "<none>";
    FindClose(h);
    return d.alternateFileName;
  }
};

TEST_F(LayerTest, NamesAreFoundWithoutRegardToCaseAndKeepTheirCase) {
  EXPECT_EQ(NTMAKEDIRECTORY("C:\\Mixed Case"), 0);
  EXPECT_TRUE(Exists("c/Mixed Case"));
  EXPECT_EQ(NTMAKEDIRECTORY("c:\\MIXED CASE"), 183);
  EXPECT_EQ(NTMAKEDIRECTORY("C:\\mixed case\\Inner"), 0);
  EXPECT_TRUE(Exists("c/Mixed Case/Inner"));
  HANDLE f = CreateFileA("C:\\MIXED case\\INNER\\File.TXT", kGenericWrite, 0, nullptr, kCreateNew,
                         kAttrNormal, 0);
  ASSERT_NE(f, kInvalidHandle);
  EXPECT_TRUE(CloseHandle(f));
  EXPECT_TRUE(Exists("c/Mixed Case/Inner/File.TXT"));
  EXPECT_EQ(NTDELETEFILE("c:\\mixed case\\inner\\file.txt"), 0);
  EXPECT_FALSE(Exists("c/Mixed Case/Inner/File.TXT"));
}

TEST_F(LayerTest, AliasesAreGivenWhenFirstSeenAndNeverMove) {
  MakeDir("c/Docs");
  for (const char* n : {"Long Name One.txt", "Long Name Two.txt", "Long Name Three.txt"})
    MakeFile(std::string("c/Docs/") + n);
  // The order in which they are first seen decides, not the order in which they were made.
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name Two.txt"), "LONGNA~1.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name One.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name Three.txt"), "LONGNA~3.TXT");
  MakeFile("c/Docs/Long Name Four.txt");
  MakeFile("c/Docs/A Long Name.txt");
  ASSERT_EQ(NTDELETEFILE("C:\\Docs\\LONGNA~1.TXT"), 0);  // Two
  EXPECT_FALSE(Exists("c/Docs/Long Name Two.txt"));
  // Nothing moved up into the freed number; the next new alias takes it.
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name One.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name Three.txt"), "LONGNA~3.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\Long Name Four.txt"), "LONGNA~1.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\LONGNA~4.TXT"), "<none>");
  EXPECT_EQ(ShortOf("C:\\Docs\\Long Name One.txt"), "C:\\Docs\\LONGNA~2.TXT");
  EXPECT_EQ(AliasOf("C:\\Docs\\longna~3.txt"), "LONGNA~3.TXT");
  SetLastError(0);
}

TEST_F(LayerTest, EntriesSeenTogetherAreNumberedByNameAndOverflowIntoMoreDigits) {
  MakeDir("c/Many");
  for (int i = 0; i < 12; ++i) MakeFile("c/Many/Document number " + std::to_string(i) + ".txt");
  FindData d;
  HANDLE h = FindFirstFileA("C:\\Many\\*", &d);  // sees all twelve at once
  ASSERT_NE(h, kInvalidHandle);
  FindClose(h);
  // In the order of the listing: 0, 1, 10, 11, 2, ..., 9.
  EXPECT_EQ(AliasOf("C:\\Many\\Document number 11.txt"), "DOCUME~4.TXT");
  EXPECT_EQ(AliasOf("C:\\Many\\Document number 6.txt"), "DOCUME~9.TXT");
  EXPECT_EQ(AliasOf("C:\\Many\\Document number 7.txt"), "DOCUM~10.TXT");
  EXPECT_EQ(AliasOf("C:\\Many\\DOCUM~11.TXT"), "DOCUM~11.TXT");
  h = FindFirstFileA("C:\\Many\\DOCUM~12.TXT", &d);
  ASSERT_NE(h, kInvalidHandle);
  FindClose(h);
  EXPECT_STREQ(d.fileName, "Document number 9.txt");
}

TEST_F(LayerTest, ARealShortNameIsNeverShadowed) {
  MakeDir("c/R");
  MakeFile("c/R/PROGRA~1");
  MakeDir("c/R/Program Files");
  EXPECT_EQ(AliasOf("C:\\R\\Program Files"), "PROGRA~2");
  EXPECT_EQ(AliasOf("C:\\R\\PROGRA~1"), "");
}

TEST_F(LayerTest, ShortPathKeepsTheFormOfItsInput) {
  MakeDir("c/Program Files/Sub Folder");
  EXPECT_EQ(ShortOf("C:\\Program Files\\Sub Folder"), "C:\\PROGRA~1\\SUBFOL~1");
  EXPECT_EQ(ShortOf("c:/program files/sub folder/"), "c:\\PROGRA~1\\SUBFOL~1\\");
  ChangeTo("C:\\Program Files");
  EXPECT_EQ(ShortOf("Sub Folder"), "SUBFOL~1");
  EXPECT_EQ(ShortOf("..\\Program Files"), "..\\PROGRA~1");
  EXPECT_EQ(ShortOf("C:\\"), "C:\\");
  EXPECT_EQ(ShortOf("C:\\Nothing Here"), "<failed 2>");
  EXPECT_EQ(ShortOf("C:\\Nothing Here\\x"), "<failed 3>");
  SetLastError(0);
}

TEST_F(LayerTest, UnmappedDrivesAndNetworkPathsAreRefused) {
  EXPECT_EQ(NTMAKEDIRECTORY("Q:\\x"), 3);
  EXPECT_EQ(NTDELETEFILE("Q:\\x"), 3);
  EXPECT_EQ(NTMAKEDIRECTORY("\\\\server\\share\\x"), 53);
  NtFindRecord r;
  uint32_t h;
  EXPECT_EQ(NTFINDFIRST("Q:\\*", &r, &h), 3);
  // ".." never climbs above a drive's root.
  MakeFile("escape.txt");
  EXPECT_EQ(NTDELETEFILE("C:\\..\\escape.txt"), 2);
  EXPECT_TRUE(Exists("escape.txt"));
}

TEST_F(LayerTest, ErrorCodesOfTheSingleCallExports) {
  MakeDir("c/Full/inner");
  MakeFile("c/file.txt", "x");
  MakeFile("c/other.txt", "y");
  EXPECT_EQ(NTDELETEFILE("C:\\missing.txt"), 2);
  EXPECT_EQ(NTDELETEFILE("C:\\missing\\file.txt"), 3);
  EXPECT_EQ(NTDELETEFILE("C:\\Full"), 5);
  EXPECT_EQ(NTREMOVEDIRECTORY("C:\\Full"), 145);
  EXPECT_EQ(NTREMOVEDIRECTORY("C:\\missing"), 2);
  EXPECT_EQ(NTREMOVEDIRECTORY("C:\\file.txt"), 267);
  EXPECT_EQ(NTMAKEDIRECTORY("C:\\missing\\new"), 3);
  EXPECT_EQ(NTMAKEDIRECTORY("C:\\Full"), 183);
  EXPECT_EQ(NTMAKEDIRECTORY("C:\\bad|name"), 123);
  EXPECT_EQ(NTMAKEDIRECTORY(("C:\\" + std::string(300, 'x')).c_str()), 206);
  EXPECT_EQ(NTRENAMEFILE("C:\\file.txt", "C:\\OTHER.TXT"), 183);
  EXPECT_EQ(NTRENAMEFILE("C:\\missing.txt", "C:\\new.txt"), 2);
  EXPECT_EQ(NTRENAMEFILE("C:\\file.txt", "C:\\missing\\new.txt"), 3);
  EXPECT_EQ(NTMAKEDIRECTORY(nullptr), 87);
  EXPECT_EQ(NTMAKEDIRECTORY(""), 3);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(Content("c/file.txt"), "x");
}

TEST_F(LayerTest, RenameMovesAndChangesCase) {
  MakeDir("c/From");
  MakeDir("c/To");
  MakeFile("c/From/a.txt", "moved");
  EXPECT_EQ(NTRENAMEFILE("C:\\from\\A.TXT", "C:\\to\\Renamed File.txt"), 0);
  EXPECT_EQ(Content("c/To/Renamed File.txt"), "moved");
  EXPECT_FALSE(Exists("c/From/a.txt"));
  EXPECT_EQ(NTRENAMEFILE("C:\\To\\renamed file.txt", "C:\\To\\RENAMED FILE.TXT"), 0);
  EXPECT_TRUE(Exists("c/To/RENAMED FILE.TXT"));
  EXPECT_EQ(NTRENAMEFILE("C:\\To", "D:\\Moved Dir"), 0);  // same file system below
  EXPECT_TRUE(Exists("d/Moved Dir/RENAMED FILE.TXT"));
}

TEST_F(LayerTest, SharingIsEnforced) {
  MakeFile("c/held.txt", "held");
  HANDLE f = CreateFileA("C:\\held.txt", kGenericRead | kGenericWrite, 0, nullptr, kOpenExisting,
                         kAttrNormal, 0);
  ASSERT_NE(f, kInvalidHandle);
  EXPECT_EQ(CreateFileA("C:\\held.txt", kGenericRead, kShareRead, nullptr, kOpenExisting, 0, 0),
            kInvalidHandle);
  EXPECT_EQ(GetLastError(), 32u);
  SetLastError(0);
  // Even create-always does not cut a file that someone holds.
  EXPECT_EQ(CreateFileA("C:\\held.txt", kGenericWrite, 0, nullptr, kCreateAlways, 0, 0),
            kInvalidHandle);
  EXPECT_EQ(Content("c/held.txt"), "held");
  EXPECT_EQ(NTDELETEFILE("C:\\held.txt"), 32);
  EXPECT_EQ(NTRENAMEFILE("C:\\held.txt", "C:\\moved.txt"), 32);
  EXPECT_TRUE(CloseHandle(f));
  EXPECT_FALSE(CloseHandle(f));
  EXPECT_EQ(GetLastError(), 6u);
  EXPECT_EQ(NTDELETEFILE("C:\\held.txt"), 0);
}

TEST_F(LayerTest, CreateDispositions) {
  MakeFile("c/x.txt", "data");
  EXPECT_EQ(CreateFileA("C:\\x.txt", kGenericWrite, 0, nullptr, kCreateNew, 0, 0), kInvalidHandle);
  EXPECT_EQ(GetLastError(), 80u);
  HANDLE f = CreateFileA("C:\\X.TXT", kGenericRead, 0, nullptr, kOpenAlways, 0, 0);
  ASSERT_NE(f, kInvalidHandle);
  EXPECT_EQ(GetLastError(), 183u);  // it existed
  CloseHandle(f);
  EXPECT_EQ(Content("c/x.txt"), "data");
  f = CreateFileA("C:\\x.txt", kGenericWrite, 0, nullptr, kCreateAlways, 0, 0);
  ASSERT_NE(f, kInvalidHandle);
  CloseHandle(f);
  EXPECT_EQ(Content("c/x.txt"), "");
  EXPECT_EQ(CreateFileA("C:\\none.txt", kGenericRead, 0, nullptr, kOpenExisting, 0, 0),
            kInvalidHandle);
  EXPECT_EQ(GetLastError(), 2u);
  EXPECT_EQ(CreateFileA("C:\\", kGenericRead, 0, nullptr, kOpenExisting, 0, 0), kInvalidHandle);
  EXPECT_EQ(GetLastError(), 5u);
  SetLastError(0);
}

TEST_F(LayerTest, ReadOnlyFilesCannotBeDeleted) {
  MakeFile("c/ro.txt", "r");
  ASSERT_EQ(chmod(Host("c/ro.txt").c_str(), 0444), 0);
  EXPECT_EQ(NTDELETEFILE("C:\\ro.txt"), 5);
  EXPECT_TRUE(Exists("c/ro.txt"));
}

TEST_F(LayerTest, CurrentDirectoryCannotBeRemoved) {
  MakeDir("c/Here");
  ChangeTo("C:\\Here");
  EXPECT_EQ(NTREMOVEDIRECTORY("C:\\Here"), 32);
  ChangeTo("C:\\");
  EXPECT_EQ(NTREMOVEDIRECTORY("C:\\HERE"), 0);
  EXPECT_FALSE(Exists("c/Here"));
}

TEST_F(LayerTest, FullPathName) {
  MakeDir("c/A");
  ChangeTo("C:\\A");
  char buf[NTPATHS_MAX_PATH];
  char* file = nullptr;
  EXPECT_EQ(GetFullPathNameA("b\\c.txt", sizeof buf, buf, &file), 12u);
  EXPECT_STREQ(buf, "C:\\A\\b\\c.txt");
  EXPECT_STREQ(file, "c.txt");
  EXPECT_EQ(GetFullPathNameA("b\\c.txt", 5, buf, &file), 13u);  // the size needed
  EXPECT_EQ(GetFullPathNameA(("C:\\" + std::string(300, 'y')).c_str(), sizeof buf, buf, &file), 0u);
  EXPECT_EQ(GetLastError(), 206u);
  SetLastError(0);
}

TEST_F(LayerTest, SettledDirectoriesAreListedFromTheCacheUntilTheyChange) {
  MakeDir("c/Old");
  MakeFile("c/Old/Long File Name.txt");
  // The directory looks settled: its content last changed ten seconds ago.
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  struct timespec times[2] = {{0, UTIME_OMIT}, {now.tv_sec - 10, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Host("c/Old").c_str(), times, 0), 0);
  EXPECT_EQ(AliasOf("C:\\Old\\LONGFI~1.TXT"), "LONGFI~1.TXT");
  EXPECT_EQ(AliasOf("C:\\Old\\*.txt"), "LONGFI~1.TXT");
  {
    SyscallFault fault("opendir", EACCES);
    EXPECT_EQ(AliasOf("C:\\Old\\*.txt"), "LONGFI~1.TXT");  // from the cache
    EXPECT_EQ(AliasOf("C:\\Old\\long file name.TXT"), "LONGFI~1.TXT");
    EXPECT_EQ(fault.failures(), 0);
  }
  MakeFile("c/Old/Long File Other.txt");  // a change: the directory is read again
  {
    SyscallFault fault("opendir", EACCES);
    EXPECT_EQ(AliasOf("C:\\Old\\LONGFI~2.TXT"), "<none>");
    EXPECT_EQ(fault.failures(), 1);
  }
  EXPECT_EQ(AliasOf("C:\\Old\\LONGFI~2.TXT"), "LONGFI~2.TXT");
  SetLastError(0);
}

TEST_F(LayerTest, ConfigurationSyntax) {
  EXPECT_FALSE(ConfigureDrives("nonsense"));
  EXPECT_FALSE(ConfigureDrives("1=/tmp"));
  EXPECT_TRUE(ConfigureDrives("C=" + Host("c") + ";D=" + Host("d")));
  EXPECT_EQ(NTMAKEDIRECTORY("N:\\x"), 3);  // N: no longer mapped
  EXPECT_TRUE(ConfigureDrives(""));        // C: is "/" when not configured
  char buf[NTPATHS_MAX_PATH];
  std::string host = Host("c");
  std::string win = "C:" + host;
  for (auto& ch : win)
    if (ch == '/') ch = '\\';
  ASSERT_LT(win.size(), sizeof buf);
  std::strcpy(buf, win.c_str());
  EXPECT_EQ(NTCHANGEDIRECTORY(buf), 0);
  EXPECT_EQ(std::string(buf), win);
}

}  // namespace
