// The upgrade killed at random moments: whatever the moment, the tip file's name holds the old
// file, untouched, or the whole converted file, and a next run converts what is left.
#include <gtest/gtest.h>

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

int64_t Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

TEST_F(TipStoreTest, AKilledUpgradeLeavesTheOldFileOrTheWholeConvertedOne) {
  MakeOldTipFile(kTipFile, kRecords);
  const std::string old_bytes = ReadBytes(kTipFile);

  // One whole run, on a copy, gives the span of moments to kill at.
  std::filesystem::copy_file(kTipFile, "Measure.Tps");
  const auto start = std::chrono::steady_clock::now();
  HelperProcess measure({"upgrade", dir(), "Measure.Tps"});
  ASSERT_EQ(measure.Wait(kRunTimeoutMs), 0);
  const int64_t whole_run_ms = Milliseconds(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(Inspect("Measure.Tps"), Found::kConverted);

  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int64_t> moment(0, whole_run_ms);
  for (int kill = 0; kill < kKills; ++kill) {
    const int64_t delay_ms = moment(random);
    SCOPED_TRACE("killed after " + std::to_string(delay_ms) + " of " +
                 std::to_string(whole_run_ms) + " ms");
    HelperProcess run({"upgrade", dir(), kTipFile});
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    run.Kill();
    const Found found = Inspect(kTipFile);
    ASSERT_NE(found, Found::kNeither);
    if (found == Found::kOld) {
      EXPECT_EQ(ReadBytes(kTipFile), old_bytes);
    } else {
      WriteBytes(kTipFile, old_bytes);  // old again, for the next kill
    }
  }

  // Whatever the kills left beside it, a next run converts the file whole.
  const int32_t today = rt::Today();
  HelperProcess last({"upgrade", dir(), kTipFile});
  ASSERT_EQ(last.Wait(kRunTimeoutMs), 0);
  ExpectConverted(kTipFile, kRecords, today);
}

}  // namespace
}  // namespace vistip::testing
