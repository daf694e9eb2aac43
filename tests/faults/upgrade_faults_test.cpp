// The upgrade of an old tip file on a disk that fills, a directory that refuses new files and a
// write cut off halfway, while it copies the old file and while it writes the converted one:
// it says why, and the tip file keeps every byte of every old record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/thread.h"
#include "state/state.h"
#include "tests/faults/failing_vfs.h"
#include "tests/tipstore/fixture.h"
#include "tests/tipstore/messages.h"
#include "tipstore/upgrade.h"

namespace vistip::testing {
namespace {

using faults::FailingVfs;
using faults::Fault;
using ::testing::EndsWith;

constexpr const char* kTipFile = "Vistip.Tps";
constexpr int32_t kOldTips = 60;
const std::string kCopy(kUpgradeCopyName);
const std::string kNewFile = std::string(kTipFile) + std::string(kUpgradeNewSuffix);

struct UpgradeFaultCase {
  const char* label;
  Fault fault;
  int nth;
  const char* why;  // the reason the message gives
};

class UpgradeFaultTest : public TipStoreTest,
                         public ::testing::WithParamInterface<UpgradeFaultCase> {
 protected:
  void SetUp() override {
    TipStoreTest::SetUp();
    GLO.VTAPPNAME = kTipFile;
    if (InParent()) MakeOldTipFile(kTipFile, kOldTips);
    before_ = ReadBytes(kTipFile);
  }

  // The tip file as it was, and nothing of the converted file left beside it.
  void ExpectTipFileUntouched() {
    EXPECT_EQ(ReadBytes(kTipFile), before_);
    ExpectOldFile(kTipFile, kOldTips);
    EXPECT_FALSE(Exists(kNewFile));
    EXPECT_FALSE(Exists(kNewFile + "-journal"));
  }

  std::string before_;
};

// Faults in the copy "vtTemp$).)$(": the upgrade stops after its message and changes nothing.
class UpgradeCopyFaultTest : public UpgradeFaultTest {};

TEST_P(UpgradeCopyFaultTest, SaysWhyAndReturnsWithTheTipFileUnchanged) {
  bool returned = false;
  {
    FailingVfs fault(GetParam().fault, GetParam().nth);  // the upgrade's first writes copy
    rt::Start([&] {
      UpgradeTipFile(nullptr);
      returned = true;
    });
    const std::optional<MessageSeen> seen = AnswerMessage("", "&OK");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text,
              std::string("Unable to access Tip file : Vistip.Tps because ") + GetParam().why);
    ASSERT_TRUE(rt::WaitFor([&] { return returned; }));
    EXPECT_GT(fault.failures(), 0);
  }
  ExpectTipFileUntouched();
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_FALSE(VISTIPOLD.IsOpen());
}

const UpgradeFaultCase kCopyCases[] = {
    {"DiskFull", Fault::kDiskFull, 1, "database or disk is full"},
    {"DiskFullLate", Fault::kDiskFull, 20, "database or disk is full"},
    {"Interrupted", Fault::kInterruptedWrite, 10, "disk I/O error"},
    {"PermissionDenied", Fault::kPermissionDenied, 1, "Access Denied"},
};

INSTANTIATE_TEST_SUITE_P(Faults, UpgradeCopyFaultTest, ::testing::ValuesIn(kCopyCases),
                         [](const auto& p) { return std::string(p.param.label); });

// Faults in the converted file: the program ends after its message, the partial file is gone.
class UpgradeConvertFaultTest : public UpgradeFaultTest {};

TEST_P(UpgradeConvertFaultTest, EndsTheProgramWithTheTipFileUnchanged) {
  EXPECT_EXIT(
      {
        FailingVfs fault(GetParam().fault, GetParam().nth, kNewFile);
        rt::Start([] { UpgradeTipFile(nullptr); });
        AnswerAndAwaitEnd("", "&OK");
      },
      ::testing::ExitedWithCode(0),
      EndsWith(std::string("[] Error Upgrading file : ") + GetParam().why +
               " {} <&OK> default &OK\n"));
  ExpectTipFileUntouched();
  ExpectOldFile(kCopy, kOldTips);
}

const UpgradeFaultCase kConvertCases[] = {
    {"DiskFullAtCreate", Fault::kDiskFull, 1, "database or disk is full"},
    {"DiskFullWhileConverting", Fault::kDiskFull, 30, "database or disk is full"},
    {"InterruptedWhileConverting", Fault::kInterruptedWrite, 30, "disk I/O error"},
    {"PermissionDenied", Fault::kPermissionDenied, 1, "Access Denied"},
};

INSTANTIATE_TEST_SUITE_P(Faults, UpgradeConvertFaultTest, ::testing::ValuesIn(kConvertCases),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip::testing
