// The upgrade killed at random moments: whatever the moment, the tip file's name holds the old
// file, untouched, or the whole converted file, and a next run converts what is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "runtime/errors.h"
#include "runtime/process.h"
#include "tests/tipstore/fixture.h"
#include "tests/tipstore/helper_process.h"

namespace vistip::testing {
namespace {

constexpr const char* kTipFile = "Vistip.Tps";
constexpr const char* kOldCopy = "Old.Tps";  // the test's own copy of the old file
constexpr int32_t kRecords = 50000;
constexpr int kKills = 4;
constexpr int kRunTimeoutMs = 120000;

enum class Found { kOld, kConverted, kNeither };

// What the name holds: the old file or the converted one, each with all its records.
Found Inspect(const std::string& name) {
  OldTipBuffer old;
  if (auto file = OwnOldTipFile(old, name); file->Open(rt::kOpenShared) == 0) {
    EXPECT_EQ(file->Records(), kRecords);
    return Found::kOld;
  }
  TipBuffer tip;
  const auto file = OwnTipFile(tip, name);
  if (file->Open(rt::kOpenShared) != 0) {
    ADD_FAILURE() << "neither layout opens: " << rt::Error();
    return Found::kNeither;
  }
  EXPECT_EQ(file->Records(), kRecords);
  // The last record is there, and found through its key.
  OldTipBuffer last;
  FillOldTip(kRecords, last);
  tip.PROCEDURENAME = last.PROCEDURENAME;
  tip.CONTROLNAME = last.CONTROLNAME;
  EXPECT_EQ(file->Get(TipBuffer::PROCEDURENAMEKEY), 0);
  EXPECT_EQ(tip.HELPTIP, rt::String<10000>(last.HELPTIP));
  return Found::kConverted;
}

int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

class UpgradeCrashTest : public TipStoreTest {
 protected:
  // After a kill: the old file, byte for byte, or the whole converted one, which is then made
  // old again for the next kill.
  void ExpectOldOrConverted() {
    const Found found = Inspect(kTipFile);
    ASSERT_NE(found, Found::kNeither);
    if (found == Found::kOld) {
      EXPECT_TRUE(SameBytes(kTipFile, kOldCopy));
    } else {
      std::filesystem::copy_file(kOldCopy, kTipFile,
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }
};

// Two kills in the middle of the record loop, at random records, then two at random moments of
// a whole run (copy, creation, loop, flush and rename alike); the next run converts the file.
TEST_F(UpgradeCrashTest, AKilledUpgradeLeavesTheOldFileOrTheWholeConvertedOne) {
  MakeOldTipFile(kTipFile, kRecords);
  std::filesystem::copy_file(kTipFile, kOldCopy);
  std::mt19937 random(std::random_device{}());

  int64_t whole_run_ms = 0;  // estimated from the runs paused in the loop
  for (int kill = 0; kill < kKills / 2; ++kill) {
    const int32_t record = std::uniform_int_distribution<int32_t>(1, kRecords)(random);
    SCOPED_TRACE("killed before record " + std::to_string(record));
    const auto start = std::chrono::steady_clock::now();
    HelperProcess run({"upgrade", dir(), kTipFile, std::to_string(record)});
    ASSERT_EQ(run.ReadLine(), "paused");
    whole_run_ms = std::max(whole_run_ms, MillisecondsSince(start) * kRecords / record);
    run.Kill();
    ExpectOldOrConverted();
  }
  for (int kill = kKills / 2; kill < kKills; ++kill) {
    const int64_t delay_ms = std::uniform_int_distribution<int64_t>(0, whole_run_ms)(random);
    SCOPED_TRACE("killed after " + std::to_string(delay_ms) + " of about " +
                 std::to_string(whole_run_ms) + " ms");
    HelperProcess run({"upgrade", dir(), kTipFile});
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    run.Kill();
    ExpectOldOrConverted();
  }

  // Whatever the kills left beside it, the next run converts the file whole.
  const int32_t today = rt::Today();
  HelperProcess last({"upgrade", dir(), kTipFile});
  ASSERT_EQ(last.Wait(kRunTimeoutMs), 0);
  ExpectConverted(kTipFile, kRecords, today);
}

}  // namespace
}  // namespace vistip::testing
