// A tip's save (ADD of a new tip, PUT of a changed one) and the settings write-back (PUT with a
// new settings memo) on a disk that fills, a directory that refuses new files and a write cut
// off halfway: each gives the driver's error code with SQLite's message, and every record
// already in the file is still there, byte for byte, when the file is opened again.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/file.h"
#include "state/state.h"
#include "tests/faults/failing_vfs.h"
#include "tests/tipstore/fixture.h"
#include "tipwindow/settings_memo.h"

namespace vistip::testing {
namespace {

using faults::FailingVfs;
using faults::Fault;

constexpr const char* kTipFile = "Vistip.Tps";
constexpr int32_t kTips = 20;

// Every record of the file with its memos, as bytes, in record order.
std::vector<std::string> Records() {
  TipBuffer buffer;
  const auto file = OwnTipFile(buffer, kTipFile);
  std::vector<std::string> out;
  EXPECT_EQ(file->Open(rt::kOpenShared), 0) << rt::Error();
  file->Set();
  while (file->Next() == 0) out.emplace_back(reinterpret_cast<const char*>(&buffer), sizeof buffer);
  EXPECT_EQ(rt::ErrorCode(), rt::kNoMoreRecords);
  file->Close();
  return out;
}

// The writes a tip window makes, on the process-wide declaration VISTIP.
enum class Write { kAddTip, kPutText, kPutSettings };

// Reads the tip of "Proc7" into VTH, as the tip window holds the tip it shows.
void GetStoredTip() {
  VTH = TipBuffer{};
  VTH.PROCEDURENAME = "Proc7";
  VTH.CONTROLNAME = "?Field7";
  ASSERT_EQ(VISTIP.Get(TipBuffer::PROCEDURENAMEKEY), 0) << rt::Error();
}

// Changes VTH as the write does and writes it; the driver's code.
int32_t Perform(Write write) {
  switch (write) {
    case Write::kAddTip:
      VTH = TipBuffer{};
      VTH.PROCEDURENAME = "NewProc";
      VTH.CONTROLNAME = "?NewField";
      VTH.CONTROLTYPE = "BUTTON";
      VTH.HELPTIP = std::string(5000, 'n');
      return VISTIP.Add();
    case Write::kPutText:
      VTH.HELPTIP = "A new text for the tip " + std::string(4000, 't');
      return VISTIP.Put();
    case Write::kPutSettings: {
      const std::vector<SetRecord> rows = {{"B1", "TOOLTIP", "Press to go", ""},
                                           {"S  1", "FONT", "Arial,10,255,700", ""}};
      VTH.SETTINGS = WriteSettingsMemo(rows);
      return VISTIP.Put();
    }
  }
  return -1;
}

struct FaultCase {
  const char* label;
  Write write;
  Fault fault;
  int nth;
  int32_t code;             // the driver's error code
  const char* sqlite_code;  // FILEERRORCODE() when the code is 90
  const char* message;      // FILEERROR() when the code is 90
};

// The first writes of a save go to the rollback journal, the later ones to the tip file itself.
const FaultCase kCases[] = {
    {"AddDiskFull", Write::kAddTip, Fault::kDiskFull, 1, 90, "13", "database or disk is full"},
    {"AddDiskFullInTheFile", Write::kAddTip, Fault::kDiskFull, 4, 90, "13",
     "database or disk is full"},
    {"AddInterrupted", Write::kAddTip, Fault::kInterruptedWrite, 1, 90, "778", "disk I/O error"},
    {"AddInterruptedInTheFile", Write::kAddTip, Fault::kInterruptedWrite, 4, 90, "778",
     "disk I/O error"},
    {"AddPermissionDenied", Write::kAddTip, Fault::kPermissionDenied, 1, 5, "", ""},
    {"PutDiskFull", Write::kPutText, Fault::kDiskFull, 1, 90, "13", "database or disk is full"},
    {"PutInterruptedInTheFile", Write::kPutText, Fault::kInterruptedWrite, 3, 90, "778",
     "disk I/O error"},
    {"PutPermissionDenied", Write::kPutText, Fault::kPermissionDenied, 1, 5, "", ""},
    {"SettingsDiskFull", Write::kPutSettings, Fault::kDiskFull, 1, 90, "13",
     "database or disk is full"},
    {"SettingsDiskFullInTheFile", Write::kPutSettings, Fault::kDiskFull, 3, 90, "13",
     "database or disk is full"},
    {"SettingsInterrupted", Write::kPutSettings, Fault::kInterruptedWrite, 2, 90, "778",
     "disk I/O error"},
    {"SettingsPermissionDenied", Write::kPutSettings, Fault::kPermissionDenied, 1, 5, "", ""},
};

class TipSaveFaultTest : public TipStoreTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    TipStoreTest::SetUp();
    GLO.VTAPPNAME = kTipFile;
    MakeTipFile(kTipFile, kTips);
  }
};

TEST_P(TipSaveFaultTest, ReportsTheErrorAndKeepsEveryRecord) {
  const FaultCase& c = GetParam();
  const std::vector<std::string> before = Records();
  ASSERT_EQ(before.size(), static_cast<size_t>(kTips));
  ASSERT_EQ(VISTIP.Open(rt::kOpenShared), 0) << rt::Error();
  if (c.write != Write::kAddTip) GetStoredTip();
  {
    FailingVfs fault(c.fault, c.nth);
    EXPECT_EQ(Perform(c.write), c.code);
    EXPECT_GT(fault.failures(), 0);
  }
  EXPECT_EQ(rt::ErrorCode(), c.code);
  if (c.code == rt::kDriverError) {
    EXPECT_EQ(rt::FileErrorCode(), c.sqlite_code);
    EXPECT_EQ(rt::FileError(), c.message);
  } else {
    EXPECT_EQ(rt::Error(), rt::ErrorMessage(c.code));
  }
  EXPECT_EQ(VISTIP.Close(), 0) << rt::Error();
  EXPECT_EQ(Records(), before);
}

// Once the disk has room again, the same save goes through on the same open file.
TEST_P(TipSaveFaultTest, TheSameSaveSucceedsOnceTheFaultIsGone) {
  const FaultCase& c = GetParam();
  ASSERT_EQ(VISTIP.Open(rt::kOpenShared), 0) << rt::Error();
  if (c.write != Write::kAddTip) GetStoredTip();
  {
    FailingVfs fault(c.fault, c.nth);
    ASSERT_NE(Perform(c.write), 0);
  }
  if (c.write != Write::kAddTip) GetStoredTip();
  EXPECT_EQ(Perform(c.write), 0) << rt::Error();
  const TipBuffer written = VTH;
  EXPECT_EQ(VISTIP.Close(), 0);
  const std::vector<std::string> after = Records();
  EXPECT_EQ(after.size(), static_cast<size_t>(c.write == Write::kAddTip ? kTips + 1 : kTips));
  size_t found = 0;
  for (const std::string& r : after) found += std::memcmp(r.data(), &written, r.size()) == 0;
  EXPECT_EQ(found, 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, TipSaveFaultTest, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip::testing
