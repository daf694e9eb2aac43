// The vistip commands on real files under real faults: a full disk (a tmpfs of the test's own)
// during import, sync and upgrade, a records page overwritten, a truncated file, a read-only
// file and a read-only medium, and a write lock held past the wait by another process. Each
// shows the exit status, the message, and the file's checksum before and after.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/tools/damage.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"
#include "tipstore/old_tip_file.h"

namespace vistip::testing {
namespace {

constexpr int kTipsInFile = 200;

void WriteText(const std::string& path, const std::vector<TipText>& tips) {
  WriteFileBytes(path, WriteTipText(tips));
}

// ---- A full disk --------------------------------------------------------------------------

struct FullDiskCase {
  const char* label;
  std::vector<std::string> args;  // FILE stands for the tip file, TEXT for the text form
  bool new_file;                  // the tip file does not exist before
  bool old_layout;                // the tip file is of the old layout (upgrade)
  int free_kib;                   // left free on the disk before the command
};

class FullDisk : public ToolTest, public ::testing::WithParamInterface<FullDiskCase> {};

TEST_P(FullDisk, ExitsTwoNamingTheCauseAndLeavesTheFileAsItWas) {
  const FullDiskCase& c = GetParam();
  SmallDisk disk(Path("disk"), 1024);
  if (!disk.mounted())
    GTEST_SKIP() << disk.error() << " (the failing VFS of tests/faults covers this)";
  const std::string file = Path("disk/tips.tps"), text = Path("big.txt");
  if (c.old_layout) {
    ASSERT_EQ(WriteOldTipFile(file, 300,
                              [](int32_t n, OldTipBuffer& r) {
                                r.CONTROLNAME = "Control" + std::to_string(n);
                                r.HELPTIP = std::string(800, 'x');
                              }),
              0);
  } else if (!c.new_file) {
    WriteTips(file, ManyTips(kTipsInFile));
  }
  // Enough new text that the batch cannot fit whatever is left free.
  WriteText(text, ManyTips(3000, "Changed"));
  disk.Fill(c.free_kib);
  const std::string before = Checksum(file);
  const Ran ran = RunVistip(Args(c.args, file, text), {.cwd = dir_.string()});
  EXPECT_EQ(ran.status, 2) << ran.out;
  EXPECT_EQ(ran.out, "");
  EXPECT_NE(ran.err.find("vistip: " + file + ": "), std::string::npos) << ran.err;
  EXPECT_NE(ran.err.find("database or disk is full"), std::string::npos) << ran.err;
  EXPECT_NE(ran.err.find("error 90, SQLite code 13"), std::string::npos) << ran.err;
  EXPECT_EQ(Checksum(file), before) << ran.err;
  EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
  if (!c.old_layout && !c.new_file) {
    EXPECT_EQ(ReadRecords(file).size(), size_t{kTipsInFile});
  }
}

const FullDiskCase kFullDiskCases[] = {
    {"ImportNothingFree", {"import", "FILE", "TEXT"}, false, false, 0},
    {"ImportSomeFree", {"import", "FILE", "TEXT"}, false, false, 96},
    {"ImportReplace", {"import", "--replace", "FILE", "TEXT"}, false, false, 96},
    {"ImportIntoANewFile", {"import", "FILE", "TEXT"}, true, false, 96},
    {"SyncNothingFree", {"sync", "FILE", "TEXT"}, false, false, 0},
    {"SyncSomeFree", {"sync", "FILE", "TEXT"}, false, false, 96},
    {"Upgrade", {"upgrade", "FILE"}, false, true, 96},
};

INSTANTIATE_TEST_SUITE_P(Commands, FullDisk, ::testing::ValuesIn(kFullDiskCases),
                         [](const auto& p) { return std::string(p.param.label); });

// ---- Damaged files -------------------------------------------------------------------------

struct DamageCase {
  const char* label;
  void (*spoil)(const std::string& file);
};

class DamagedFile : public ToolTest, public ::testing::WithParamInterface<DamageCase> {};

// Every command refuses the damaged file: exit 2, one line naming it as damaged, with SQLite's
// words where SQLite found the damage, and the file byte for byte as it was.
TEST_P(DamagedFile, EveryCommandSaysSoAndChangesNothing) {
  const std::string file = Path("tips.tps"), text = Path("tips.txt");
  WriteTips(file, ManyTips(kTipsInFile));
  WriteText(text, ManyTips(kTipsInFile + 1, "New"));
  GetParam().spoil(file);
  const std::string before = Checksum(file);
  for (const std::vector<std::string>& command : EveryFileCommand()) {
    const Ran ran = RunVistip(Args(command, file, text, Path("x.png")), {.cwd = dir_.string()});
    const std::string name = command[0] + " " + command[1];
    EXPECT_EQ(ran.status, 2) << name << "\n" << ran.err;
    EXPECT_EQ(ran.err.rfind("vistip: " + file + ": damaged", 0), 0u) << name << "\n" << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << name << "\n" << ran.err;
    EXPECT_EQ(Checksum(file), before) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
}

const DamageCase kDamageCases[] = {
    {"RecordsPageOverwritten", [](const std::string& file) { OverwriteRecordsPage(file); }},
    {"Truncated",
     [](const std::string& file) {
       std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
     }},
};

INSTANTIATE_TEST_SUITE_P(Damage, DamagedFile, ::testing::ValuesIn(kDamageCases),
                         [](const auto& p) { return std::string(p.param.label); });

// SQLite's own message and code reach the user.
TEST_F(ToolTest, AnOverwrittenRecordsPageIsReportedWithSqlitesMessageAndCode) {
  const std::string file = Path("tips.tps");
  WriteTips(file, ManyTips(kTipsInFile));
  OverwriteRecordsPage(file);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", file}, std::vector<std::string>{"import", file, "-"}}) {
    const Ran ran = RunVistip(args, {.input = "vistip-tips 1\n"});
    EXPECT_NE(ran.err.find("database disk image is malformed"), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("(error 90, SQLite code 11"), std::string::npos) << ran.err;
  }
}

// ---- Read-only files and media ---------------------------------------------------------------

const std::vector<std::vector<std::string>> kReadingCommands = {
    {"list", "FILE"},
    {"export", "FILE"},
    {"check", "FILE"},
    {"dump", "FILE", "Form0", "Control1", "ENTRY"},
    {"render", "FILE", "Form0", "Control1", "ENTRY", "-o", "OUT"},
    {"sync", "--dry-run", "FILE", "TEXT"},
};
const std::vector<std::vector<std::string>> kWritingCommands = {
    {"import", "FILE", "TEXT"},
    {"import", "--replace", "FILE", "TEXT"},
    {"sync", "FILE", "TEXT"},
};

struct ReadOnlyCase {
  const char* label;
  bool medium;  // the file system read-only, else the file (mode 0444)
};

class ReadOnly : public ToolTest, public ::testing::WithParamInterface<ReadOnlyCase> {};

// Reading works; writing is refused with exit 2 and the file is unchanged. (As root a
// directory's missing write permission stops nobody, so the read-only directory is shown as a
// read-only file system.)
TEST_P(ReadOnly, ReadingWorksAndWritingIsRefused) {
  SmallDisk disk(Path("disk"), 2048);
  if (GetParam().medium && !disk.mounted()) GTEST_SKIP() << disk.error();
  const std::string file = Path("disk/tips.tps"), text = Path("tips.txt");
  WriteTips(file, ManyTips(40));
  WriteText(text, ManyTips(41, "New"));
  if (GetParam().medium) {
    ASSERT_TRUE(disk.MakeReadOnly());
  } else {
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
  }
  const std::string before = Checksum(file);
  auto expand = [&](const std::vector<std::string>& command) {
    return Args(command, file, text, Path("x.png"));
  };
  for (const auto& command : kReadingCommands) {
    const Ran ran = RunVistip(expand(command), {.cwd = dir_.string()});
    EXPECT_EQ(ran.status, 0) << command[0] << "\n" << ran.err;
    EXPECT_FALSE(ran.out.empty() && ran.err.empty()) << command[0];  // check: a summary
  }
  for (const auto& command : kWritingCommands) {
    const Ran ran = RunVistip(expand(command), {.cwd = dir_.string()});
    EXPECT_EQ(ran.status, 2) << command[0];
    EXPECT_EQ(ran.err, "vistip: " + file +
                           ": cannot be written (a read-only file, directory or medium, or "
                           "another program has it open exclusively): Access Denied (error 5)\n");
  }
  EXPECT_EQ(Checksum(file), before);
  EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
}

const ReadOnlyCase kReadOnlyCases[] = {{"File", false}, {"Medium", true}};

INSTANTIATE_TEST_SUITE_P(Kinds, ReadOnly, ::testing::ValuesIn(kReadOnlyCases),
                         [](const auto& p) { return std::string(p.param.label); });

// ---- A lock held past the wait -------------------------------------------------------------

// Another process in the middle of a write: the writing commands wait, give up, say so and add
// nothing; reading goes on meanwhile.
TEST_F(ToolTest, AWriteLockHeldPastTheWaitRefusesWritingButNotReading) {
  const std::string file = Path("tips.tps"), text = Path("tips.txt");
  WriteTips(file, ManyTips(40));
  WriteText(text, ManyTips(45, "New"));
  const std::string before = Checksum(file);
  {
    WriteLockHolder holder(file);
    ASSERT_TRUE(holder.holding());
    for (const std::vector<std::string>& command : kWritingCommands) {
      const Ran ran = RunVistip(Args(command, file, text));
      EXPECT_EQ(ran.status, 2) << command[0];
      EXPECT_EQ(ran.err, "vistip: " + file +
                             ": another program is writing to it and held it locked past the "
                             "wait: File Is Locked (error 32); nothing was changed\n")
          << command[0];
      EXPECT_EQ(Checksum(file), before);
    }
    EXPECT_EQ(RunVistip({"list", file}).status, 0);
  }
  // Once the other writer is gone the same import goes through whole.
  EXPECT_EQ(RunVistip({"import", file, text}).status, 0);
  EXPECT_EQ(ReadRecords(file).size(), 85u);
}

}  // namespace
}  // namespace vistip::testing
