// Tests of the runtime's process services: the command-line splitter and RUN with a real child
// program, COMMAND, GETINI, day numbers, HALT and BEEP.
#include "runtime/process.h"

#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/errors.h"
#include "tests/support/processes.h"

namespace rt {
namespace {

namespace fs = std::filesystem;
using testsupport::LastingZombies;
using testsupport::ScopedEnv;
using Words = std::vector<std::string>;

// A directory of the test's own, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vtrt-process-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// ---- SplitCommandLine ----

struct SplitCase {
  const char* line;
  Words expected;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, Splits) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().expected) << GetParam().line;
}

const SplitCase kSplitCases[] = {
    {"", {}},
    {" \t ", {}},
    {"prog", {"prog"}},
    {"prog a b", {"prog", "a", "b"}},
    {"  prog\ta   b  ", {"prog", "a", "b"}},
    {R"(prog "a b" c)", {"prog", "a b", "c"}},
    {R"(prog a"b c"d)", {"prog", "ab cd"}},
    {R"(prog "")", {"prog", ""}},
    {R"(prog "" x)", {"prog", "", "x"}},
    {R"(prog "a""b")", {"prog", "ab"}},
    {R"(prog "open b)", {"prog", "open b"}},
    {"prog a\nb", {"prog", "a\nb"}},
    // Backslashes are literal unless they come before a double quote.
    {R"(prog a\b)", {"prog", R"(a\b)"}},
    {R"(prog a\\b)", {"prog", R"(a\\b)"}},
    {R"(prog a\\)", {"prog", R"(a\\)"}},
    {R"(prog \"a\")", {"prog", R"("a")"}},
    {R"(prog \\"a b")", {"prog", R"(\a b)"}},
    {R"(prog \\\"a b)", {"prog", R"(\"a)", "b"}},
    {R"(prog \\\\"a b")", {"prog", R"(\\a b)"}},
    {R"(prog "a\\" b)", {"prog", R"(a\)", "b"}},
    {R"(prog "a \"q\" b")", {"prog", R"(a "q" b)"}},
    // The program name: quotes group, backslashes stay.
    {R"("C:\Program Files\x.exe" arg)", {R"(C:\Program Files\x.exe)", "arg"}},
    {R"("my prog"x y)", {"my progx", "y"}},
    {R"(prog\"x y)", {R"(prog\x y)"}},
    {R"("" x)", {"", "x"}},
    // Shell syntax is nothing but text.
    {"prog ; rm -rf / | cat $(id) `id` && x > f 2>&1 'q w'",
     {"prog", ";", "rm", "-rf", "/", "|", "cat", "$(id)", "`id`", "&&", "x", ">", "f", "2>&1", "'q",
      "w'"}},
    {"prog a;b|c&d", {"prog", "a;b|c&d"}},
    {R"x(prog "$(echo hi)" $HOME ~ *)x", {"prog", "$(echo hi)", "$HOME", "~", "*"}},
};
INSTANTIATE_TEST_SUITE_P(Table, SplitCommandLineTest, ::testing::ValuesIn(kSplitCases));

// ---- RUN ----

fs::path HelperDir() {
  return fs::read_symlink("/proc/self/exe").parent_path() / "helpers";
}
fs::path Helper() {
  return HelperDir() / "write_marker";
}

// Waits until the child has written its marker file, then returns its lines.
std::optional<Words> WaitForMarker(const fs::path& marker) {
  for (int i = 0; i < 1000 && !fs::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!fs::exists(marker)) return std::nullopt;
  Words lines;
  std::ifstream in(marker);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Quoted(const fs::path& p) {
  return "\"" + p.string() + "\"";
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(Helper())) << "helper program missing: " << Helper();
  }
  TempDir dir_;
};

TEST_F(RunTest, PassesArgumentsLiterallyWithoutAShell) {
  const fs::path marker = dir_.path() / "marker";
  const fs::path pwned = dir_.path() / "pwned";
  const std::string line = Quoted(Helper()) + " " + Quoted(marker) +
                           " plain \"two words\" ; | && \"$(touch " + pwned.string() +
                           ")\" `touch " + pwned.string() + "` > " + pwned.string() + " 'x'";
  ASSERT_TRUE(rt::Run(line));
  EXPECT_EQ(ErrorCode(), kNoError);
  const std::optional<Words> args = WaitForMarker(marker);
  ASSERT_TRUE(args.has_value());
  const Words expected = {"plain",  "two words",
                          ";",      "|",
                          "&&",     "$(touch " + pwned.string() + ")",
                          "`touch", pwned.string() + "`",
                          ">",      pwned.string(),
                          "'x'"};
  EXPECT_EQ(*args, expected);
  EXPECT_FALSE(fs::exists(pwned));
}

TEST_F(RunTest, RunArgvPassesEachWordAsOneArgument) {
  const fs::path marker = dir_.path() / "marker";
  ASSERT_TRUE(rt::RunArgv(
      {Helper().string(), marker.string(), "two words", "\"q\" \\\"", "", "-x; $(id)"}));
  const std::optional<Words> args = WaitForMarker(marker);
  ASSERT_TRUE(args.has_value());
  EXPECT_EQ(*args, (Words{"two words", "\"q\" \\\"", "", "-x; $(id)"}));
  EXPECT_FALSE(rt::RunArgv({}));
  EXPECT_EQ(ErrorCode(), kInvalidFile);
}

TEST_F(RunTest, SearchesPath) {
  const char* old_path = std::getenv("PATH");
  const std::string path = HelperDir().string() + ":" + (old_path ? old_path : "");
  ScopedEnv env("PATH", path.c_str());
  const fs::path marker = dir_.path() / "marker";
  ASSERT_TRUE(rt::Run("write_marker " + Quoted(marker) + " found"));
  const std::optional<Words> args = WaitForMarker(marker);
  ASSERT_TRUE(args.has_value());
  EXPECT_EQ(*args, Words{"found"});
}

TEST_F(RunTest, ProgramPathWithBlanks) {
  const fs::path folder = dir_.path() / "dir with blanks";
  fs::create_directories(folder);
  const fs::path copy = folder / "write marker";
  fs::copy_file(Helper(), copy);
  const fs::path marker = dir_.path() / "marker";
  ASSERT_TRUE(rt::Run(Quoted(copy) + " " + Quoted(marker) + " ok"));
  const std::optional<Words> args = WaitForMarker(marker);
  ASSERT_TRUE(args.has_value());
  EXPECT_EQ(*args, Words{"ok"});
}

TEST_F(RunTest, MissingProgramFailsWithoutZombie) {
  ASSERT_TRUE(LastingZombies().empty());  // children of earlier tests have been reaped
  EXPECT_FALSE(rt::Run("vtrt-no-such-program-here a b"));
  EXPECT_EQ(ErrorCode(), kFileNotFound);
  EXPECT_FALSE(rt::Run(Quoted(dir_.path() / "absent") + " x"));
  EXPECT_EQ(ErrorCode(), kFileNotFound);
  EXPECT_TRUE(LastingZombies().empty());
}

TEST_F(RunTest, NonExecutableFileIsRefused) {
  const fs::path file = dir_.path() / "plain.txt";
  WriteFile(file, "not a program\n");
  ASSERT_TRUE(LastingZombies().empty());
  EXPECT_FALSE(rt::Run(Quoted(file)));
  EXPECT_EQ(ErrorCode(), kAccessDenied);
  EXPECT_TRUE(LastingZombies().empty());
}

TEST_F(RunTest, EmptyCommandLineFails) {
  EXPECT_FALSE(rt::Run(""));
  EXPECT_EQ(ErrorCode(), kInvalidFile);
  EXPECT_FALSE(rt::Run("   "));
  EXPECT_EQ(ErrorCode(), kInvalidFile);
}

TEST_F(RunTest, ChildrenAreReaped) {
  std::vector<fs::path> markers;
  for (int i = 0; i < 5; ++i) {
    markers.push_back(dir_.path() / ("marker" + std::to_string(i)));
    ASSERT_TRUE(rt::Run(Quoted(Helper()) + " " + Quoted(markers.back()) + " " + std::to_string(i)));
  }
  for (int i = 0; i < 5; ++i) {
    const std::optional<Words> args = WaitForMarker(markers[static_cast<size_t>(i)]);
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(*args, Words{std::to_string(i)});
  }
  EXPECT_TRUE(LastingZombies().empty());
}

// ---- COMMAND ----

struct CommandCase {
  const char* sw;
  const char* expected;
};

class CommandTest : public ::testing::TestWithParam<CommandCase> {
 protected:
  void SetUp() override {
    SetCommandLineForTesting(
        {"/opt/host/prog", "/EditTips", "/x=some value", "/VTHTEST", "plain", "/empty="});
  }
};

TEST_P(CommandTest, Answers) {
  EXPECT_EQ(Command(GetParam().sw), GetParam().expected);
}

const CommandCase kCommandCases[] = {
    {"/EditTips", "/EditTips"},
    {"/edittips", "/EditTips"},
    {"/EDITTIPS   ", "/EditTips"},
    {"/vthtest", "/VTHTEST"},
    {"/x", "some value"},
    {"/X", "some value"},
    {"/x=some value", "/x=some value"},
    {"/Edit", ""},
    {"/EditTipsX", ""},
    {"/vtdebug", ""},
    {"plain", "plain"},
    {"/empty", ""},
    {"/opt/host/prog", ""},  // the program is no switch
    {"0", "/opt/host/prog"},
    {"1", "/EditTips"},
    {"4", "plain"},
    {"9", ""},
    {"", "/EditTips /x=some value /VTHTEST plain /empty="},
};
INSTANTIATE_TEST_SUITE_P(Table, CommandTest, ::testing::ValuesIn(kCommandCases));

// The re-executed child of a threadsafe death test carries a filter naming this test among its
// arguments, and it has not had its command line replaced.
bool SeesItsOwnArguments() {
  return !Command("0").empty() &&
         Command("").find("CommandDeathTest.ReadsTheProcessArguments") != std::string::npos;
}

TEST(CommandDeathTest, ReadsTheProcessArguments) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::quick_exit(SeesItsOwnArguments() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

// ---- GETINI ----

struct IniCase {
  const char* text;
  const char* section;
  const char* entry;
  std::optional<std::string> expected;
};

class FindIniValueTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(FindIniValueTest, Finds) {
  const IniCase& c = GetParam();
  EXPECT_EQ(FindIniValue(c.text, c.section, c.entry), c.expected) << c.text;
}

const char kIni[] =
    "; the runtime's settings\r\n"
    "[Clarion 4]\r\n"
    "Root=C:\\CLARION4\\   \r\n"
    "  Spaced  =  a value  \r\n"
    "Empty=\r\n"
    "Equals=a=b\r\n"
    "Semi=a;b\r\n"
    ";Hidden=1\r\n"
    "no equals sign\r\n"
    "[ Other ]\n"
    "Root=other\n"
    "[clarion 4]\n"
    "Late=yes\n"
    "Root=second\n";

const IniCase kIniCases[] = {
    {kIni, "Clarion 4", "Root", "C:\\CLARION4\\"},
    {kIni, "CLARION 4", "root", "C:\\CLARION4\\"},
    {kIni, "Clarion 4", "Spaced", "a value"},
    {kIni, "Clarion 4", "Empty", ""},
    {kIni, "Clarion 4", "Equals", "a=b"},
    {kIni, "Clarion 4", "Semi", "a;b"},
    {kIni, "Clarion 4", "Hidden", std::nullopt},
    {kIni, "Clarion 4", ";Hidden", std::nullopt},
    {kIni, "Clarion 4", "no equals sign", std::nullopt},
    {kIni, "Clarion 4", "Late", "yes"},  // a section named twice reads as one
    {kIni, "Other", "Root", "other"},
    {kIni, "Missing", "Root", std::nullopt},
    {kIni, "Clarion 4", "Absent", std::nullopt},
    {kIni, "Clarion 4", "", std::nullopt},
    {"Root=top\n[A]\nx=1", "", "Root", std::nullopt},  // entries before a section belong to none
    {"[A]\nx=1", "A", "x", "1"},                       // no final line end
    {"[A\nx=1", "A", "x", "1"},                        // an unclosed section name
    {"", "A", "x", std::nullopt},
    {"[\xC9t\xE9]\nK=v", "\xE9T\xC9", "k", "v"},  // Windows-1252 letters ignore case too
};
INSTANTIATE_TEST_SUITE_P(Table, FindIniValueTest, ::testing::ValuesIn(kIniCases));

class GetIniTest : public ::testing::Test {
 protected:
  TempDir dir_;
  ScopedEnv ini_{"VTRT_INI", nullptr};
  ScopedEnv xdg_{"XDG_CONFIG_HOME", nullptr};
  ScopedEnv home_{"HOME", dir_.path().c_str()};
};

TEST_F(GetIniTest, ReadsNamedFile) {
  const fs::path file = dir_.path() / "named.ini";
  WriteFile(file, "[S]\nE=value\n");
  EXPECT_EQ(GetIni("S", "E", "dflt", file.string()), "value");
  EXPECT_EQ(GetIni("S", "F", "dflt", file.string()), "dflt");
  EXPECT_EQ(GetIni("S", "F", "", file.string()), "");
}

TEST_F(GetIniTest, MissingFileGivesDefault) {
  EXPECT_EQ(GetIni("S", "E", "dflt", (dir_.path() / "none.ini").string()), "dflt");
  EXPECT_EQ(GetIni("S", "E", "dflt"), "dflt");
}

TEST_F(GetIniTest, DefaultFileUnderHome) {
  EXPECT_EQ(DefaultIniPath(), (dir_.path() / ".config/vistip/vistip.ini").string());
  fs::create_directories(dir_.path() / ".config/vistip");
  WriteFile(dir_.path() / ".config/vistip/vistip.ini", "[Clarion 4]\nRoot=C:\\C4\\\n");
  EXPECT_EQ(GetIni("Clarion 4", "Root"), "C:\\C4\\");
}

TEST_F(GetIniTest, DefaultFileUnderXdgConfigHome) {
  const fs::path config = dir_.path() / "config";
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  EXPECT_EQ(DefaultIniPath(), (config / "vistip/vistip.ini").string());
  fs::create_directories(config / "vistip");
  WriteFile(config / "vistip/vistip.ini", "[A]\nB=xdg\n");
  EXPECT_EQ(GetIni("A", "B"), "xdg");
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");  // ignored: not absolute
  EXPECT_EQ(DefaultIniPath(), (dir_.path() / ".config/vistip/vistip.ini").string());
}

TEST_F(GetIniTest, VtrtIniWins) {
  const fs::path file = dir_.path() / "chosen.ini";
  WriteFile(file, "[A]\nB=chosen\n");
  ScopedEnv xdg("XDG_CONFIG_HOME", dir_.path().c_str());
  ScopedEnv ini("VTRT_INI", file.c_str());
  EXPECT_EQ(DefaultIniPath(), file.string());
  EXPECT_EQ(GetIni("A", "B"), "chosen");
}

// ---- dates ----

struct DateCase {
  int year;
  int month;
  int day;
  int32_t date;
};

class DateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTest, FixedPoints) {
  const DateCase& c = GetParam();
  EXPECT_EQ(DateFromYmd(c.year, c.month, c.day), c.date);
  int y = 0;
  int m = 0;
  int d = 0;
  YmdFromDate(c.date, y, m, d);
  EXPECT_EQ(y, c.year);
  EXPECT_EQ(m, c.month);
  EXPECT_EQ(d, c.day);
}

// These numbers are stored in tip files: they must never change.
const DateCase kDateCases[] = {
    {1800, 12, 28, 0},    {1801, 1, 1, 4},      {1900, 2, 28, 36221},    {1900, 3, 1, 36222},
    {1970, 1, 1, 61730},  {2000, 1, 1, 72687},  {2000, 2, 29, 72746},    {2000, 3, 1, 72747},
    {2024, 2, 29, 81512}, {2100, 3, 1, 109271}, {9999, 12, 31, 2994626}, {1800, 12, 27, -1},
};
INSTANTIATE_TEST_SUITE_P(Table, DateTest, ::testing::ValuesIn(kDateCases));

TEST(Dates, EveryDayFollowsTheLast) {
  int32_t previous = DateFromYmd(1801, 1, 1) - 1;
  const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int y = 1801; y <= 2400; ++y) {
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    for (int m = 1; m <= 12; ++m) {
      const int days = month_days[m - 1] + (m == 2 && leap ? 1 : 0);
      for (int d = 1; d <= days; ++d) {
        const int32_t date = DateFromYmd(y, m, d);
        ASSERT_EQ(date, previous + 1) << y << "-" << m << "-" << d;
        int yy = 0;
        int mm = 0;
        int dd = 0;
        YmdFromDate(date, yy, mm, dd);
        ASSERT_TRUE(yy == y && mm == m && dd == d) << date;
        previous = date;
      }
    }
  }
}

TEST(Dates, OutOfRangeMonthsAndDaysCarryOver) {
  EXPECT_EQ(DateFromYmd(2000, 13, 1), DateFromYmd(2001, 1, 1));
  EXPECT_EQ(DateFromYmd(2001, 0, 1), DateFromYmd(2000, 12, 1));
  EXPECT_EQ(DateFromYmd(2000, -11, 1), DateFromYmd(1999, 1, 1));
  EXPECT_EQ(DateFromYmd(2000, 3, 0), DateFromYmd(2000, 2, 29));
  EXPECT_EQ(DateFromYmd(1900, 2, 29), DateFromYmd(1900, 3, 1));
  EXPECT_EQ(DateFromYmd(2000, 1, 32), DateFromYmd(2000, 2, 1));
}

TEST(Dates, TodayIsTheLocalDate) {
  // Local days since 1970 from the clock and the zone's offset; 1970-01-01 is day 61730.
  const auto local_days = [] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int32_t>((now + local.tm_gmtoff) / 86400) + 61730;
  };
  const int32_t before = local_days();
  const int32_t today = Today();
  const int32_t after = local_days();
  EXPECT_TRUE(today == before || today == after) << today;
}

// ---- HALT ----

TEST(HaltDeathTest, EndsWithLevelAndText) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(Halt(3, "Invalid File!"), ::testing::ExitedWithCode(3), "^Invalid File!\n$");
  EXPECT_EXIT(Halt(0, "Disk Error"), ::testing::ExitedWithCode(0), "Disk Error");
  EXPECT_EXIT(Halt(0), ::testing::ExitedWithCode(0), "^$");
}

TEST(HaltDeathTest, FlushesOutputFirst) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The dying child is a new process, so the file is named after its parent, this test.
  const auto out_path = [](pid_t test_pid) {
    return fs::temp_directory_path() / ("vtrt-halt-stdout-" + std::to_string(test_pid));
  };
  const fs::path out = out_path(getpid());
  EXPECT_EXIT(
      {
        if (!std::freopen(out_path(getppid()).c_str(), "w", stdout)) std::abort();
        std::printf("pending output");  // still in the stdio buffer when HALT comes
        Halt(5, "bye");
      },
      ::testing::ExitedWithCode(5), "bye");
  EXPECT_EQ(ReadFile(out), "pending output");
  fs::remove(out);
}

TEST(HaltDeathTest, RunsQuickExitHandlers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::at_quick_exit([] { std::fputs("handler ran\n", stderr); });
        Halt(1);
      },
      ::testing::ExitedWithCode(1), "handler ran");
}

// ---- BEEP ----

TEST(Beep, CallsHookAndCounts) {
  int calls = 0;
  SetBeepHook([&calls] { ++calls; });
  const int64_t before = BeepCount();
  Beep();
  Beep();
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(BeepCount(), before + 2);
  SetBeepHook(nullptr);
  Beep();  // the default: BEL only when standard error is a terminal
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(BeepCount(), before + 3);
}

}  // namespace
}  // namespace rt
