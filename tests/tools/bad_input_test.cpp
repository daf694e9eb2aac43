// Every vistip command on what is not a tip file: a directory, an empty file, a text file, a
// truncated or damaged database, a database of another program, a FIFO. Each exits 2 with one
// line naming the file, leaves it as it was, and neither crashes nor hangs.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/tools/damage.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

struct BadInput {
  const char* label;
  void (*make)(ToolTest& test, const std::string& path);
  const char* says;  // what the message calls it
};

void SqliteExec(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

class TipFiles : public ToolTest {
 public:
  using ToolTest::WriteTips;
};

const BadInput kBadInputs[] = {
    {"Directory", [](ToolTest&, const std::string& p) { std::filesystem::create_directory(p); },
     "a directory, not a tip file"},
    {"EmptyFile", [](ToolTest&, const std::string& p) { WriteFileBytes(p, ""); },
     "an empty file, not a tip file"},
    {"TextFile",
     [](ToolTest&, const std::string& p) { WriteFileBytes(p, "vistip-tips 1\ntip\nend\n"); },
     "not a tip file: file is not a database (error 90, SQLite code 26)"},
    {"OtherProgramsDatabase",
     [](ToolTest&, const std::string& p) {
       SqliteExec(p, "CREATE TABLE records(id INTEGER PRIMARY KEY, name TEXT)");
     },
     "not a tip file: Invalid Record Declaration (error 47)"},
    {"Truncated",
     [](ToolTest& t, const std::string& p) {
       static_cast<TipFiles&>(t).WriteTips(p, ManyTips(200));
       std::filesystem::resize_file(p, std::filesystem::file_size(p) / 3);
     },
     "damaged"},
    {"Damaged",
     [](ToolTest& t, const std::string& p) {
       static_cast<TipFiles&>(t).WriteTips(p, ManyTips(200));
       OverwriteRecordsPage(p);
     },
     "damaged"},
    {"Fifo", [](ToolTest&, const std::string& p) { mkfifo(p.c_str(), 0644); },
     "not a regular file"},
};

class BadInputTest : public TipFiles, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, EveryCommandExitsTwoWithOneLineAndChangesNothing) {
  const std::string file = Path("tips.tps"), text = Path("tips.txt");
  WriteFileBytes(text, WriteTipText(ManyTips(3)));
  GetParam().make(*this, file);
  const bool regular = std::filesystem::is_regular_file(file);
  const std::string before = regular ? Checksum(file) : "";
  for (const std::vector<std::string>& command : EveryFileCommand()) {
    const Ran ran = RunVistip(Args(command, file, text, Path("x.png")), {.cwd = dir_.string()});
    const std::string name = command[0] + " " + command[1];
    EXPECT_EQ(ran.status, 2) << name << "\n" << ran.err;
    EXPECT_EQ(ran.err.rfind("vistip: " + file + ": " + GetParam().says, 0), 0u) << name << "\n"
                                                                                << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << name << "\n" << ran.err;
    if (regular) {
      EXPECT_EQ(Checksum(file), before) << name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "vtTemp$).)$("));
  if (!regular) {
    EXPECT_EQ(std::filesystem::is_directory(file), GetParam().label == std::string("Directory"));
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputTest, ::testing::ValuesIn(kBadInputs),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip::testing
