// Nothing lost: a writer killed in the middle of a burst of ADD and PUT leaves a file that opens
// and holds every write that had returned; a killed STREAM batch leaves no part of itself.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::Child;
using filetest::kProcedureKey;
using filetest::TipFile;

std::string ControlOf(int i) {
  return "?Control" + std::to_string(i);
}

class FileDurabilityTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { ASSERT_EQ(filetest::CreateTipFile(path_), 0); }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_P(FileDurabilityTest, KilledWriterLosesNoReturnedWrite) {
  // The child adds record i, then rewrites every third one; it reports each returned write.
  Child writer([this](Child& self) {
    TipFile tip(path_);
    if (tip->Open(rt::kOpenShared) != 0) return 1;
    for (int i = 0;; ++i) {
      if (AddTip(tip, "Burst", ControlOf(i), "T", "add " + std::to_string(i)) != 0) return 2;
      self.Send("A " + std::to_string(i));
      if (i % 3 == 0) {
        tip.SetMemo(0, "put " + std::to_string(i));
        if (tip->Put() != 0) return 3;
        self.Send("P " + std::to_string(i));
      }
    }
  });
  std::set<int> added, rewritten;
  auto note = [&](const std::string& line) {
    if (line.size() < 3) return false;
    (line[0] == 'A' ? added : rewritten).insert(std::stoi(line.substr(2)));
    return true;
  };
  for (int lines = 0; lines < GetParam(); ++lines) ASSERT_TRUE(note(writer.Receive()));
  writer.Kill();
  while (note(writer.Receive())) {
  }
  EXPECT_EQ(writer.Wait(), -1);  // killed, not ended

  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0) << rt::Error();
  for (int i : added) {
    tip.SetTip("Burst", ControlOf(i), "");
    ASSERT_EQ(tip->Get(kProcedureKey), 0) << "returned ADD " << i << " lost";
    std::string text = tip.ClippedMemo(0);
    if (rewritten.count(i) != 0) {
      EXPECT_EQ(text, "put " + std::to_string(i));
    } else {
      EXPECT_TRUE(text == "add " + std::to_string(i) || text == "put " + std::to_string(i)) << text;
    }
  }
  // At most the one write in flight when the child died may be there unreported.
  EXPECT_GE(tip->Records(), static_cast<int32_t>(added.size()));
  EXPECT_LE(tip->Records(), static_cast<int32_t>(added.size()) + 1);
  ASSERT_EQ(tip->Close(), 0);
  EXPECT_FALSE(std::filesystem::exists(path_ + "-journal"));  // one file again
}

INSTANTIATE_TEST_SUITE_P(KillAfterLines, FileDurabilityTest, ::testing::Values(1, 8, 25, 60));

TEST(FileBatchDurabilityTest, KilledBatchLeavesNoPartOfItself) {
  filetest::TempDir dir;
  std::string path = dir.Path("Vistip.Tps");
  ASSERT_EQ(filetest::CreateTipFile(path), 0);
  Child writer([&path](Child& self) {
    TipFile tip(path);
    int32_t rc = tip->Open(rt::kOpenShared);
    if (rc == 0) rc = AddTip(tip, "Before", "C", "T", "before the batch");
    if (rc == 0) rc = tip->Stream();
    for (int i = 0; rc == 0 && i < 200; ++i) rc = AddTip(tip, "Batch", ControlOf(i), "T");
    self.Send(std::to_string(rc));
    self.Receive();
    return 0;
  });
  ASSERT_EQ(writer.Receive(), "0");
  writer.Kill();
  writer.Wait();

  TipFile tip(path);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0) << rt::Error();
  EXPECT_EQ(tip->Records(), 1);
  tip.SetTip("Before", "C", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "before the batch");
  tip.SetTip("Batch", ControlOf(0), "");
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kRecordNotFound);
}

}  // namespace
