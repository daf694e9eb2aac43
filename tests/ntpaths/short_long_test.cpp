// NTSHORTTOLONGFILENAME and NTLONGTOSHORTFILENAME on real directories.
#include <cerrno>
#include <cstring>

#include "ntpaths/winfs/winfs.h"
#include "tests/ntpaths/fault_syscalls.h"
#include "tests/ntpaths/fixture.h"

namespace {

class ShortLongTest : public DrivesTest {
 protected:
  void SetUp() override {
    DrivesTest::SetUp();
    MakeDir("c/Program Files/My Application");
    MakeFile("c/Program Files/My Application/Read Me First.txt", "hello");
    MakeDir("c/Tips");
    MakeFile("c/Tips/readme.txt", "short");
  }
  // NTSHORTTOLONGFILENAME with a guard after the 260 bytes.
  int32_t ToLong(const std::string& in, std::string* out) {
    char buf[NTPATHS_MAX_PATH + 16];
    std::memset(buf, 'Z', sizeof buf);
    int32_t r = NTSHORTTOLONGFILENAME(in.c_str(), buf);
    for (size_t i = NTPATHS_MAX_PATH; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'Z') << "overrun";
    out->assign(buf, strnlen(buf, NTPATHS_MAX_PATH));
    EXPECT_EQ(winfs::GetLastError(), 0u);
    return r;
  }
  int32_t ToShort(const std::string& in, std::string* out, int32_t create = 0) {
    char buf[NTPATHS_SHORT_BUF + 16];
    std::memset(buf, 'Z', sizeof buf);
    int32_t r = NTLONGTOSHORTFILENAME(in.c_str(), buf, create);
    for (size_t i = NTPATHS_SHORT_BUF; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'Z') << "overrun";
    buf[NTPATHS_SHORT_BUF - 1] = 0;
    *out = buf;
    EXPECT_EQ(winfs::GetLastError(), 0u);
    return r;
  }
};

const char kLong[] = "C:\\Program Files\\My Application\\Read Me First.txt";
const char kShort[] = "C:\\PROGRA~1\\MYAPPL~1\\README~1.TXT";

TEST_F(ShortLongTest, AliasesExpandToTheFullLongPath) {
  std::string out;
  EXPECT_EQ(ToLong(kShort, &out), 0);
  EXPECT_EQ(out, kLong);
  EXPECT_EQ(ToLong("c:/progra~1/myappl~1/readme~1.txt", &out), 0);
  EXPECT_EQ(out, kLong);
  EXPECT_EQ(ToLong("C:\\PROGRAM FILES\\my application\\READ ME FIRST.TXT", &out), 0);
  EXPECT_EQ(out, kLong);
}

TEST_F(ShortLongTest, RelativeShortNameExpands) {
  ChangeTo("C:\\Program Files");
  std::string out;
  EXPECT_EQ(ToLong("MYAPPL~1\\README~1.TXT", &out), 0);
  EXPECT_EQ(out, kLong);
}

TEST_F(ShortLongTest, MissingFileGives2WithThePartlyExpandedPath) {
  std::string out;
  EXPECT_EQ(ToLong("C:\\PROGRA~1\\MYAPPL~1\\NOPE~1.TXT", &out), 2);
  EXPECT_EQ(out, "C:\\Program Files\\My Application\\NOPE~1.TXT");
}

TEST_F(ShortLongTest, MissingMiddleDirectoryGives2) {
  std::string out;
  EXPECT_EQ(ToLong("C:\\PROGRA~1\\NOSUCH~1\\README~1.TXT", &out), 2);
  EXPECT_EQ(out, "C:\\Program Files\\NOSUCH~1\\README~1.TXT");
}

TEST_F(ShortLongTest, TrailingBackslashGives2) {
  std::string out;
  EXPECT_EQ(ToLong("C:\\PROGRA~1\\", &out), 2);
  EXPECT_EQ(out, "C:\\Program Files\\");
}

TEST_F(ShortLongTest, TooLongInputIsRefused) {
  std::string out;
  EXPECT_EQ(ToLong("C:\\" + std::string(300, 'a'), &out), 206);
}

TEST_F(ShortLongTest, ExpansionThatWouldOverflowIsRefused) {
  std::string a(100, 'a'), b(100, 'b'), c(100, 'c');
  MakeDir("c/" + a + "/" + b + "/" + c);
  std::string out;
  EXPECT_EQ(ToLong("C:\\AAAAAA~1\\BBBBBB~1\\CCCCCC~1", &out), 206);
  EXPECT_LT(out.size(), 260u);
  EXPECT_EQ(out.substr(0, 104), "C:\\" + a + "\\");
}

TEST_F(ShortLongTest, ExistingLongNameGivesItsAliasPath) {
  std::string out;
  EXPECT_EQ(ToShort(kLong, &out), 0);
  EXPECT_EQ(out, kShort);
  EXPECT_EQ(ToShort("c:\\tips\\README.TXT", &out), 0);
  EXPECT_EQ(out, "c:\\Tips\\readme.txt");  // already 8.3: the names as they are
}

TEST_F(ShortLongTest, MissingWithoutCreateGives2) {
  std::string out;
  EXPECT_EQ(ToShort("C:\\Program Files\\Not There.txt", &out), 2);
  EXPECT_FALSE(Exists("c/Program Files/Not There.txt"));
}

TEST_F(ShortLongTest, CreateOnAMissingNameLeavesAnEmptyFile) {
  std::string out;
  EXPECT_EQ(ToShort("C:\\Program Files\\New Notes.text", &out, 1), 0);
  EXPECT_EQ(out, "C:\\PROGRA~1\\NEWNOT~1.TEX");
  ASSERT_TRUE(Exists("c/Program Files/New Notes.text"));
  EXPECT_EQ(Content("c/Program Files/New Notes.text"), "");
}

TEST_F(ShortLongTest, CreateOnAnExistingFileLeavesItsContent) {
  // The lookup fails for a reason other than absence (an I/O error), so the create step runs.
  std::string out;
  {
    SyscallFault fault("statx", EIO);
    EXPECT_EQ(ToShort(kLong, &out, 1), 0);
    EXPECT_EQ(fault.failures(), 1);
  }
  EXPECT_EQ(out, kShort);
  EXPECT_EQ(Content("c/Program Files/My Application/Read Me First.txt"), "hello");
}

TEST_F(ShortLongTest, BareDriveGetsItsBackslash) {
  std::string out;
  EXPECT_EQ(ToShort("C:", &out), 0);
  EXPECT_EQ(out, "C:\\");
  EXPECT_EQ(ToShort("d:", &out), 0);
  EXPECT_EQ(out, "d:\\");
  EXPECT_EQ(ToShort("N:", &out), 0);
  EXPECT_EQ(out, "N:\\");
}

TEST_F(ShortLongTest, DriveWithoutShortNamesGivesTheRuleBuiltName) {
  MakeDir("n/Tips");
  MakeFile("n/Tips/My Tips.text", "tips");
  char buf[NTPATHS_SHORT_BUF];
  EXPECT_EQ(winfs::GetShortPathNameA("N:\\Tips\\My Tips.text", buf, sizeof buf), 0u);
  EXPECT_EQ(winfs::GetLastError(), 87u);
  winfs::SetLastError(0);
  std::string out;
  EXPECT_EQ(ToShort("N:\\Program Files\\My Tips.text", &out), 0);
  EXPECT_EQ(out, "N:\\Program_\\My_Tips.tex");
  EXPECT_EQ(ToShort("N:\\Tips\\My Tips.text", &out), 0);
  EXPECT_EQ(out, "N:\\Tips\\My_Tips.tex");
  EXPECT_FALSE(Exists("n/Tips/My_Tips.tex"));
  // Names that already are 8.3 still come from the file system there.
  EXPECT_EQ(ToShort("n:\\TIPS", &out), 0);
  EXPECT_EQ(out, "n:\\Tips");
}

TEST_F(ShortLongTest, RuleBuiltCreateMakesTheFileAndKeepsAnExistingOne) {
  MakeDir("n/Tips");
  std::string out;
  EXPECT_EQ(ToShort("N:\\Tips\\My Tips.text", &out, 1), 0);
  EXPECT_EQ(out, "N:\\Tips\\My_Tips.tex");
  ASSERT_TRUE(Exists("n/Tips/My_Tips.tex"));
  EXPECT_EQ(Content("n/Tips/My_Tips.tex"), "");
  MakeFile("n/Tips/Other_Fi.txt", "keep me");
  EXPECT_EQ(ToShort("N:\\Tips\\Other File.txt", &out, 1), 0);
  EXPECT_EQ(out, "N:\\Tips\\Other_Fi.txt");
  EXPECT_EQ(Content("n/Tips/Other_Fi.txt"), "keep me");
  // The rule-built directory does not exist: the create step fails with its own code.
  EXPECT_EQ(ToShort("N:\\Program Files\\My Tips.text", &out, 1), 3);
}

TEST_F(ShortLongTest, AliasAndLongNameRoundTrip) {
  std::string shortPath, longPath;
  ASSERT_EQ(ToShort(kLong, &shortPath), 0);
  ASSERT_EQ(ToLong(shortPath, &longPath), 0);
  EXPECT_EQ(longPath, kLong);
}

}  // namespace
