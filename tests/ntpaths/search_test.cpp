// NTFINDFIRST, NTFINDNEXT and NTFINDCLOSE on real directories: the record, its offsets, the
// packed times, the end of a listing, and searches by long name, alias and wildcard.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fixture.h"

namespace {

class SearchTest : public DrivesTest {
 protected:
  // Every record of a search, by NTFINDFIRST/NEXT, closed at the end.
  std::vector<NtFindRecord> List(const std::string& pattern) {
    std::vector<NtFindRecord> out;
    NtFindRecord r = Filled(0xAB);
    uint32_t h = 0xDEADBEEF;
    if (NTFINDFIRST(pattern.c_str(), &r, &h) != 0) return out;
    out.push_back(r);
    while (NTFINDNEXT(h, &r) == 0) out.push_back(r);
    EXPECT_EQ(NTFINDCLOSE(h), 0);
    return out;
  }
  std::vector<std::string> Names(const std::string& pattern) {
    std::vector<std::string> names;
    for (const auto& r : List(pattern)) names.push_back(r.name);
    return names;
  }
  // Sets a file's last-write time to a local calendar time in the current zone.
  void SetLocalWriteTime(const std::string& rel, int y, int mo, int d, int h, int mi, int s) {
    struct tm tm {};
    tm.tm_year = y - 1900, tm.tm_mon = mo - 1, tm.tm_mday = d;
    tm.tm_hour = h, tm.tm_min = mi, tm.tm_sec = s, tm.tm_isdst = -1;
    struct timespec times[2] = {{0, UTIME_OMIT}, {mktime(&tm), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Host(rel).c_str(), times, 0), 0);
  }
  uint32_t PackedTimeOf(const std::string& pattern) {
    NtFindRecord r;
    uint32_t h = 0;
    EXPECT_EQ(NTFINDFIRST(pattern.c_str(), &r, &h), 0);
    EXPECT_EQ(NTFINDCLOSE(h), 0);
    return r.lastWriteDateTime;
  }
};

TEST_F(SearchTest, NoMatchGives2AZeroHandleAndAZeroRecord) {
  MakeDir("c/List");
  NtFindRecord r = Filled(0xAB);
  uint32_t h = 0xDEADBEEF;
  EXPECT_EQ(NTFINDFIRST("C:\\List\\*.nothing", &r, &h), 2);
  EXPECT_EQ(h, 0u);
  EXPECT_TRUE(AllZero(r));
  EXPECT_EQ(winfs::GetLastError(), 0u);
  r = Filled(0xAB);
  h = 0xDEADBEEF;
  EXPECT_EQ(NTFINDFIRST("C:\\No Such Dir\\*", &r, &h), 3);
  EXPECT_EQ(h, 0u);
  EXPECT_TRUE(AllZero(r));
}

TEST_F(SearchTest, ListingGivesDotEntriesThenNamesThenTheEnd) {
  MakeDir("c/List/sub");
  MakeFile("c/List/b.txt", "bb");
  MakeFile("c/List/A.txt", "a");
  NtFindRecord r = Filled(0xAB);
  uint32_t h = 0;
  ASSERT_EQ(NTFINDFIRST("C:\\List\\*", &r, &h), 0);
  EXPECT_NE(h, 0u);
  EXPECT_STREQ(r.name, ".");
  EXPECT_EQ(r.attributes, 0x10u);
  ASSERT_EQ(NTFINDNEXT(h, &r), 0);
  EXPECT_STREQ(r.name, "..");
  EXPECT_EQ(r.attributes, 0x10u);
  ASSERT_EQ(NTFINDNEXT(h, &r), 0);
  EXPECT_STREQ(r.name, "A.txt");
  EXPECT_EQ(r.attributes, 0x20u);
  EXPECT_EQ(r.sizeLow, 1u);
  ASSERT_EQ(NTFINDNEXT(h, &r), 0);
  EXPECT_STREQ(r.name, "b.txt");
  ASSERT_EQ(NTFINDNEXT(h, &r), 0);
  EXPECT_STREQ(r.name, "sub");
  EXPECT_EQ(r.attributes, 0x10u);
  r = Filled(0xAB);
  EXPECT_EQ(NTFINDNEXT(h, &r), 18);
  EXPECT_TRUE(AllZero(r));
  EXPECT_EQ(winfs::GetLastError(), 0u);
  EXPECT_EQ(NTFINDCLOSE(h), 0);
  EXPECT_EQ(NTFINDCLOSE(h), 6);
  EXPECT_EQ(NTFINDNEXT(h, &r), 6);
}

TEST_F(SearchTest, DriveRootHasNoDotEntries) {
  MakeFile("c/top.txt");
  EXPECT_EQ(Names("C:\\*"), (std::vector<std::string>{"top.txt"}));
}

TEST_F(SearchTest, RecordOffsets) {
  MakeDir("c/Data");
  MakeFile("c/Data/Long File Name.txt", "12345");
  NtFindRecord r = Filled(0xAB);
  uint32_t h = 0;
  ASSERT_EQ(NTFINDFIRST("C:\\Data\\Long File Name.txt", &r, &h), 0);
  EXPECT_EQ(NTFINDCLOSE(h), 0);
  const char* raw = reinterpret_cast<const char*>(&r);
  EXPECT_EQ(At(r, 0), 0x20u);  // attributes: archive
  EXPECT_EQ(At(r, 28), 0u);    // size, high part
  EXPECT_EQ(At(r, 32), 5u);    // size, low part
  EXPECT_STREQ(raw + 44, "Long File Name.txt");
  EXPECT_STREQ(raw + 304, "LONGFI~1.TXT");
  EXPECT_EQ(raw[318], 0);
  EXPECT_EQ(raw[319], 0);
  // The creation and access times are system file times (after 2000: over 125911584000000000).
  uint64_t created = (uint64_t(At(r, 8)) << 32) | At(r, 4);
  EXPECT_GT(created, 125911584000000000ull);
  // Offset 24 keeps the upper half of the UTC last-write time.
  struct stat st;
  ASSERT_EQ(stat(Host("c/Data/Long File Name.txt").c_str(), &st), 0);
  uint64_t ft =
      (uint64_t(st.st_mtim.tv_sec) + 11644473600ull) * 10000000ull + st.st_mtim.tv_nsec / 100;
  EXPECT_EQ(At(r, 24), uint32_t(ft >> 32));
}

TEST_F(SearchTest, EightThreeNameHasAnEmptyShortName) {
  MakeFile("c/readme.txt");
  auto list = List("C:\\README.TXT");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_STREQ(list[0].name, "readme.txt");
  EXPECT_STREQ(list[0].shortName, "");
}

TEST_F(SearchTest, FindsAFileByItsAliasAndWithoutRegardToCase) {
  MakeDir("c/Program Files");
  MakeFile("c/Program Files/Notes.text");
  auto list = List("c:\\progra~1");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_STREQ(list[0].name, "Program Files");
  EXPECT_STREQ(list[0].shortName, "PROGRA~1");
  EXPECT_EQ(list[0].attributes, 0x10u);
  EXPECT_EQ(Names("C:\\PROGRAM FILES\\notes.TEXT"), (std::vector<std::string>{"Notes.text"}));
  // A wildcard matches the alias too, as on the original system: NOTES~1.TEX.
  EXPECT_EQ(Names("C:\\Program Files\\*.tex"), (std::vector<std::string>{"Notes.text"}));
}

TEST_F(SearchTest, WildcardsFollowDosRules) {
  MakeDir("c/W");
  for (const char* n : {"noext", "a.txt", "b.TXT", "c.txt.bak", "FILE1.TXT", "FILE12345.TXT"})
    MakeFile(std::string("c/W/") + n);
  EXPECT_EQ(Names("C:\\W\\*.txt"),
            (std::vector<std::string>{"a.txt", "b.TXT", "FILE1.TXT", "FILE12345.TXT"}));
  EXPECT_EQ(Names("C:\\W\\*."), (std::vector<std::string>{".", "..", "noext"}));
  // FILE12345.TXT matches through its alias FILE12~1.TXT, as on the original system.
  EXPECT_EQ(Names("C:\\W\\FILE????.TXT"), (std::vector<std::string>{"FILE1.TXT", "FILE12345.TXT"}));
  EXPECT_EQ(Names("C:\\W\\FILE?.TXT"), (std::vector<std::string>{"FILE1.TXT"}));
  EXPECT_EQ(Names("C:\\W\\*.*").size(), 8u);
}

TEST_F(SearchTest, PackedTimesInTheLocalZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  MakeFile("c/t.txt");
  SetLocalWriteTime("c/t.txt", 2020, 6, 15, 10, 0, 33);
  EXPECT_EQ(PackedTimeOf("C:\\t.txt") & 0xFFFF, 20496u);
  SetLocalWriteTime("c/t.txt", 1980, 1, 1, 0, 0, 0);
  EXPECT_EQ(PackedTimeOf("C:\\t.txt"), 0x00210000u);
  SetLocalWriteTime("c/t.txt", 1999, 12, 31, 23, 59, 58);
  EXPECT_EQ(PackedTimeOf("C:\\t.txt"), 0x279FBF7Du);
  SetLocalWriteTime("c/t.txt", 1970, 6, 1, 0, 0, 0);
  EXPECT_EQ(PackedTimeOf("C:\\t.txt"), 0u);  // before 1980: not packable
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST_F(SearchTest, SparseFileOver4GBHasAHighSize) {
  MakeFile("c/big.bin");
  ASSERT_EQ(truncate(Host("c/big.bin").c_str(), (5ll << 30) + 7), 0);
  auto list = List("C:\\big.bin");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].sizeHigh, 1u);
  EXPECT_EQ(list[0].sizeLow, (1u << 30) + 7);
}

TEST_F(SearchTest, HiddenAndReadOnlyAttributes) {
  MakeFile("c/.hidden");
  MakeFile("c/locked.txt");
  ASSERT_EQ(chmod(Host("c/locked.txt").c_str(), 0444), 0);
  EXPECT_EQ(List("C:\\.hidden")[0].attributes, 0x22u);
  EXPECT_EQ(List("C:\\locked.txt")[0].attributes, 0x21u);
}

TEST_F(SearchTest, APlainNameLosesItsTrailingDotsAndBlanksAsEverywhere) {
  MakeDir("c/Docs");
  MakeFile("c/Docs/README", "text");
  MakeFile("c/Docs/notes.txt");
  for (const char* pattern : {"C:\\Docs\\README.", "C:\\Docs\\readme. .", "C:\\DOCS.\\README .."}) {
    auto list = List(pattern);
    ASSERT_EQ(list.size(), 1u) << pattern;
    EXPECT_STREQ(list[0].name, "README") << pattern;
  }
  // A wildcard pattern keeps its dot: "*." is the names without an extension.
  auto list = List("C:\\Docs\\*.");
  ASSERT_EQ(list.size(), 3u);  // ".", ".." and README
  EXPECT_STREQ(list[2].name, "README");
}

TEST_F(SearchTest, NullArgumentsAreRefused) {
  uint32_t h = 5;
  EXPECT_EQ(NTFINDFIRST("C:\\*", nullptr, &h), 87);
  EXPECT_EQ(h, 0u);
  NtFindRecord r;
  EXPECT_EQ(NTFINDFIRST(nullptr, &r, &h), 87);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(NTFINDNEXT(h, nullptr), 87);
}

}  // namespace
