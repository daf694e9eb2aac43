// vistip upgrade: an old-layout file converted in place, a progress bar on a terminal and none
// elsewhere, the copy left in the current directory, and refusals that change nothing.
#include "tipstore/upgrade.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "state/state.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"
#include "tipstore/old_tip_file.h"

namespace vistip::testing {
namespace {

using UpgradeTest = ToolTest;

void FillOld(int32_t n, OldTipBuffer& r) {
  r.PROCEDURENAME = "Form";
  r.CONTROLNAME = "Control" + std::to_string(n);
  r.CONTROLTYPE = "ENTRY";
  r.HELPTIP = "Old tip " + std::to_string(n);
  r.SETTINGS = "[S  1]FONT;Arial,9,0,400\xAB";
}

TEST_F(UpgradeTest, ConvertsWithoutABarWhenTheOutputIsNoTerminal) {
  const std::string file = Path("old.tps");
  ASSERT_EQ(WriteOldTipFile(file, 3, FillOld), 0);
  const Ran ran = RunVistip({"upgrade", file}, {.cwd = dir_.string()});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.err, "");  // no bar
  EXPECT_EQ(ran.out, file +
                         ": converted 3 tips; the old file is kept as vtTemp$).)$( in the "
                         "current directory\n");
  const std::vector<TipBuffer> records = ReadRecords(file);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].CONTROLNAME.clip(), "Control2");
  EXPECT_EQ(records[1].HELPTIP.clip(), "Old tip 2");
  EXPECT_EQ(records[1].SETTINGS.clip(), "[S  1]FONT;Arial,9,0,400\xAB");
  EXPECT_TRUE(std::filesystem::exists(dir_ / std::string(kUpgradeCopyName)));
}

TEST_F(UpgradeTest, DrawsAProgressBarOnATerminal) {
  const std::string file = Path("old.tps");
  ASSERT_EQ(WriteOldTipFile(file, 40, FillOld), 0);
  const Ran ran = RunVistipOnTerminal({"upgrade", file}, dir_.string());
  EXPECT_EQ(ran.status, 0) << ran.out;
  EXPECT_NE(ran.out.find("\r[###"), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find("] 100% 40/40"), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find("converted 40 tips"), std::string::npos) << ran.out;
  EXPECT_EQ(ReadRecords(file).size(), 40u);
}

TEST_F(UpgradeTest, ACurrentFileIsLeftAlone) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "x")});
  const Ran ran = RunVistip({"upgrade", file}, {.cwd = dir_.string()});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_NE(ran.out.find("nothing to do"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / std::string(kUpgradeCopyName)));
}

// Another user of the file keeps the upgrade out: the tip window's message, exit 2, and the
// file still in the old layout.
TEST_F(UpgradeTest, AFileInUseIsNotConverted) {
  const std::string file = Path("old.tps");
  ASSERT_EQ(WriteOldTipFile(file, 2, FillOld), 0);
  GLO.VTAPPNAMEOLD = file;
  ASSERT_EQ(VISTIPOLD.Open(rt::kOpenShared), 0);
  const Ran ran = RunVistip({"upgrade", file}, {.cwd = dir_.string()});
  VISTIPOLD.Close();
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "vistip: Unable to access Tip file : " + file +
                         " because someone else is using it. (error 5)\n");
  GLO.VTAPPNAME = file;
  EXPECT_EQ(VISTIP.Open(rt::kOpenShared), rt::kLayoutMismatch);
}

}  // namespace
}  // namespace vistip::testing
