// UpgradeTipFile on real files: every record converted in order, the wait window's progress,
// the name argument, the copy left in the current directory, and each way it stops.
#include "tipstore/upgrade.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "runtime/errors.h"
#include "runtime/harness.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/tipstore/fixture.h"
#include "tests/tipstore/helper_process.h"
#include "tests/tipstore/messages.h"

namespace vistip::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

constexpr const char* kTipFile = "Vistip.Tps";
const std::string kCopy(kUpgradeCopyName);

// What the wait window showed at each step of the record loop.
struct Progress {
  std::string text;
  std::vector<int32_t> counters;
  std::vector<int32_t> bar_values;  // what the bar draws
  std::vector<int32_t> upper_bounds;
};

class UpgradeTest : public TipStoreTest {
 protected:
  void SetUp() override {
    TipStoreTest::SetUp();
    GLO.VTAPPNAME = kTipFile;
  }

  // Runs the upgrade on a runtime thread of its own; false when a message box came up.
  bool Upgrade(const char* name) {
    SetUpgradeHooks({.after_step = [this](const rt::Window& w) {
      progress_.text = rt::harness::ShownText(w, 1);
      progress_.counters.push_back(std::stoi(rt::harness::ShownText(w, 2)));
      progress_.bar_values.push_back(w.GetPropInt(2, rt::kPropProgress));
      progress_.upper_bounds.push_back(w.GetPropInt(2, rt::kPropRangeHigh));
    }});
    std::string seen;
    const bool ok = RunWithoutMessage([name] { UpgradeTipFile(name); }, &seen);
    EXPECT_TRUE(ok) << seen;
    return ok;
  }

  Progress progress_;
};

void ExpectNothingLeftOpen() {
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_FALSE(VISTIPOLD.IsOpen());
  EXPECT_TRUE(rt::OpenWindows().empty());
  EXPECT_FALSE(Exists(std::string(kTipFile) + std::string(kUpgradeNewSuffix)));
}

TEST_F(UpgradeTest, AnEmptyOldFileBecomesAnEmptyFileOfTheCurrentLayout) {
  MakeOldTipFile(kTipFile, 0);
  const int32_t today = rt::Today();
  ASSERT_TRUE(Upgrade(kTipFile));
  ExpectConverted(kTipFile, 0, today);
  EXPECT_EQ(progress_.upper_bounds, std::vector<int32_t>{0});
  EXPECT_EQ(progress_.counters, std::vector<int32_t>{2});  // 1 + 0 records + the final read
  ExpectOldFile(kCopy, 0);
  ExpectNothingLeftOpen();
}

TEST_F(UpgradeTest, AThousandRecordsArriveWholeInRecordOrder) {
  MakeOldTipFile(kTipFile, 1000);
  const std::string old_bytes = ReadBytes(kTipFile);
  const int32_t today = rt::Today();
  ASSERT_TRUE(Upgrade(nullptr));
  ExpectConverted(kTipFile, 1000, today);
  EXPECT_EQ(progress_.text, "Please wait... upgrading Vistip Tip file...");
  std::vector<int32_t> expected_counters;
  for (int32_t c = 2; c <= 1002; ++c) expected_counters.push_back(c);
  EXPECT_EQ(progress_.counters, expected_counters);
  EXPECT_EQ(progress_.bar_values, expected_counters);
  EXPECT_EQ(progress_.upper_bounds, std::vector<int32_t>(1001, 1000));
  // The copy of the old file stays in the current directory and is named by VTAPPNAMEOLD.
  ExpectOldFile(kCopy, 1000);
  EXPECT_EQ(GLO.VTAPPNAMEOLD, kCopy);
  EXPECT_EQ(GLO.VTAPPNAME, kTipFile);
  ExpectNothingLeftOpen();
}

TEST_F(UpgradeTest, TheNextUpgradeReplacesTheCopy) {
  MakeOldTipFile(kTipFile, 3);
  MakeOldTipFile("Other.Tps", 5);
  ASSERT_TRUE(Upgrade(kTipFile));
  ExpectOldFile(kCopy, 3);
  ASSERT_TRUE(Upgrade("Other.Tps"));
  ExpectOldFile(kCopy, 5);
}

struct NameCase {
  const char* label;
  const char* argument;
  const char* converted;  // the file converted, and GLO.VTAPPNAME afterwards
};

const NameCase kNameCases[] = {
    {"Omitted", nullptr, kTipFile},
    {"Blank", "   ", kTipFile},
    {"Named", "Other.Tps", "Other.Tps"},
};

class UpgradeNameTest : public UpgradeTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(UpgradeNameTest, ConvertsTheNamedOrCurrentFile) {
  const NameCase& c = GetParam();
  MakeOldTipFile(kTipFile, 4);
  MakeOldTipFile("Other.Tps", 6);
  const std::string other = std::string(c.converted) == kTipFile ? "Other.Tps" : kTipFile;
  const std::string other_bytes = ReadBytes(other);
  const int32_t today = rt::Today();
  ASSERT_TRUE(Upgrade(c.argument));
  ExpectConverted(c.converted, std::string(c.converted) == kTipFile ? 4 : 6, today);
  EXPECT_EQ(GLO.VTAPPNAME, c.converted);
  EXPECT_EQ(ReadBytes(other), other_bytes);
}

INSTANTIATE_TEST_SUITE_P(Arguments, UpgradeNameTest, ::testing::ValuesIn(kNameCases),
                         [](const auto& p) { return std::string(p.param.label); });

// Files the upgrade cannot read: a message, then it returns with nothing changed.
struct UnreadableCase {
  const char* label;
  void (*make)();
  const char* reason;
};

const UnreadableCase kUnreadable[] = {
    {"Missing", [] {}, "File Not Found"},
    {"AlreadyCurrentLayout", [] { MakeTipFile(kTipFile, 2); }, "Invalid Record Declaration"},
    {"NotADatabase", [] { WriteBytes(kTipFile, std::string(4096, 'x')); },
     "file is not a database"},
};

class UpgradeUnreadableTest : public UpgradeTest,
                              public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UpgradeUnreadableTest, SaysWhyAndChangesNothing) {
  GetParam().make();
  const bool existed = Exists(kTipFile);
  const std::string before = ReadBytes(kTipFile);
  bool returned = false;
  rt::Start([&] {
    UpgradeTipFile(nullptr);
    returned = true;
  });
  const std::optional<MessageSeen> seen = AnswerMessage("", "&OK");
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->Describe(), std::string("[] Unable to access Tip file : Vistip.Tps because ") +
                                  GetParam().reason + " {} <&OK> default &OK");
  ASSERT_TRUE(rt::WaitFor([&] { return returned; }));
  EXPECT_EQ(Exists(kTipFile), existed);
  EXPECT_EQ(ReadBytes(kTipFile), before);
  EXPECT_FALSE(Exists(kCopy));
  ExpectNothingLeftOpen();
}

INSTANTIATE_TEST_SUITE_P(Files, UpgradeUnreadableTest, ::testing::ValuesIn(kUnreadable),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(UpgradeTest, ACopyThatCannotBeMadeStopsBeforeAnythingChanges) {
  MakeOldTipFile(kTipFile, 3);
  std::filesystem::create_directory(kCopy);  // the copy's name is taken by a directory
  const std::string before = ReadBytes(kTipFile);
  bool returned = false;
  rt::Start([&] {
    UpgradeTipFile(nullptr);
    returned = true;
  });
  const std::optional<MessageSeen> seen = AnswerMessage("", "&OK");
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->text, "Unable to access Tip file : Vistip.Tps because Access Denied");
  ASSERT_TRUE(rt::WaitFor([&] { return returned; }));
  EXPECT_EQ(ReadBytes(kTipFile), before);
  ExpectNothingLeftOpen();
}

TEST_F(UpgradeTest, AFileHeldByAnotherProcessEndsTheProgramUnchanged) {
  if (InParent()) MakeOldTipFile(kTipFile, 10);
  const std::string before = ReadBytes(kTipFile);
  std::optional<HelperProcess> holder;
  if (InParent()) {
    holder.emplace(std::vector<std::string>{"hold", kTipFile});
    ASSERT_EQ(holder->ReadLine(), "held");
  }
  EXPECT_EXIT(
      {
        rt::Start([] { UpgradeTipFile(nullptr); });
        AnswerAndAwaitEnd("", "&OK");
      },
      ::testing::ExitedWithCode(0),
      EndsWith("[] Unable to access Tip file : Vistip.Tps because someone else is using it. {} "
               "<&OK> default &OK\n"));
  EXPECT_EQ(ReadBytes(kTipFile), before);
  EXPECT_FALSE(Exists(kCopy));
}

TEST_F(UpgradeTest, AFailedAddLeavesTheOldFileExactlyAsItWas) {
  if (InParent()) MakeOldTipFile(kTipFile, 1000);
  const std::string before = ReadBytes(kTipFile);
  EXPECT_EXIT(
      {
        SetUpgradeHooks(
            {.fail_add = [](int32_t n) { return n == 500 ? rt::kAccessDenied : rt::kNoError; }});
        rt::Start([] { UpgradeTipFile(nullptr); });
        AnswerAndAwaitEnd("", "&OK");
      },
      ::testing::ExitedWithCode(0),
      EndsWith("[] Error Upgrading file : Access Denied {} <&OK> default &OK\n"));
  EXPECT_EQ(ReadBytes(kTipFile), before);
  EXPECT_FALSE(Exists(std::string(kTipFile) + std::string(kUpgradeNewSuffix)));
  ExpectOldFile(kCopy, 1000);
}

// A name that fills GLO.VTAPPNAME: the new file's name, cut to fit, would be the tip file's.
TEST_F(UpgradeTest, ATipFileWhoseNewFileNameWouldNotFitIsLeftAlone) {
  const std::string dir(100, 'd');
  const std::string name = dir + "/" + std::string(150, 'n') + ".Tps";
  ASSERT_EQ(name.size(), GLO.VTAPPNAME.size());
  GLO.VTAPPNAME = name;
  if (InParent()) {
    std::filesystem::create_directory(dir);
    MakeOldTipFile(name, 3);
  }
  const std::string before = ReadBytes(name);
  EXPECT_EXIT(
      {
        rt::Start([] { UpgradeTipFile(nullptr); });
        AnswerAndAwaitEnd("", "&OK");
      },
      ::testing::ExitedWithCode(0),
      EndsWith("[] Error Upgrading file : Invalid File Name {} <&OK> default &OK\n"));
  EXPECT_EQ(ReadBytes(name), before);
}

// The tip window's first step on each kind of file.
TEST_F(UpgradeTest, TheTipWindowsCheckConvertsOnlyAnOldFile) {
  MakeOldTipFile(kTipFile, 7);
  const int32_t today = rt::Today();
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage(UpgradeIfOldLayout, &seen)) << seen;
  ExpectConverted(kTipFile, 7, today);
  ExpectNothingLeftOpen();

  const std::string converted = ReadBytes(kTipFile);
  ASSERT_TRUE(RunWithoutMessage(UpgradeIfOldLayout, &seen)) << seen;
  EXPECT_EQ(ReadBytes(kTipFile), converted);
  ExpectNothingLeftOpen();
}

TEST_F(UpgradeTest, TheTipWindowsCheckLeavesAMissingFileToCheckOpen) {
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage(UpgradeIfOldLayout, &seen)) << seen;
  EXPECT_FALSE(Exists(kTipFile));
  ExpectNothingLeftOpen();
}

TEST_F(UpgradeTest, TheTipWindowsCheckKeepsAFileOtherWindowsHaveOpen) {
  MakeTipFile(kTipFile, 2);
  ASSERT_EQ(VISTIP.Open(rt::kOpenShared), 0);
  VISTIP.USED = 1;
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage(UpgradeIfOldLayout, &seen)) << seen;
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.Records(), 2);
}

}  // namespace
}  // namespace vistip::testing
