// Share modes and locks of the file driver between processes and between two declarations of
// one process: the mode matrix, shared opens seeing each other's writes, error 32 and Recover.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::Child;
using filetest::kProcedureKey;
using filetest::TipFile;

struct ShareCase {
  uint8_t held;
  uint8_t tried;
  int32_t expected;
};

enum class Holder { kSameProcess, kOtherProcess };

class FileShareModeTest : public ::testing::TestWithParam<std::tuple<ShareCase, Holder>> {
 protected:
  void SetUp() override { ASSERT_EQ(filetest::CreateTipFile(path_), 0); }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_P(FileShareModeTest, SecondOpenMeetsTheFirstOnesMode) {
  auto [c, holder] = GetParam();
  TipFile first(path_);
  std::unique_ptr<Child> child;
  if (holder == Holder::kSameProcess) {
    ASSERT_EQ(first->Open(c.held), 0);
  } else {
    child = filetest::HoldOpen(path_, c.held);
    ASSERT_EQ(child->Receive(), "0");
  }

  TipFile second(path_);
  EXPECT_EQ(second->Open(c.tried), c.expected);
  EXPECT_EQ(second->IsOpen(), c.expected == 0);
  ASSERT_EQ(second->Close(), 0);

  // Once the holder is gone, the mode is free.
  if (child) {
    child->Send("close");
    EXPECT_EQ(child->Wait(), 0);
  } else {
    ASSERT_EQ(first->Close(), 0);
  }
  EXPECT_EQ(second->Open(c.tried), 0);
}

constexpr ShareCase kShareCases[] = {
    {rt::kOpenShared, rt::kOpenShared, 0},
    {rt::kOpenShared, rt::kOpenExclusive, rt::kAccessDenied},
    {rt::kOpenExclusive, rt::kOpenShared, rt::kAccessDenied},
    {rt::kOpenExclusive, rt::kOpenExclusive, rt::kAccessDenied},
    {rt::kOpenExclusive, rt::kAccessRead | rt::kDenyNone, rt::kAccessDenied},
    {rt::kOpenDenyWrite, rt::kOpenShared, rt::kAccessDenied},
    {rt::kOpenShared, rt::kOpenDenyWrite, rt::kAccessDenied},
    {rt::kOpenDenyWrite, rt::kAccessRead | rt::kDenyNone, 0},
    {rt::kAccessRead | rt::kDenyNone, rt::kOpenDenyWrite, 0},
    {rt::kAccessRead | rt::kDenyWrite, rt::kAccessRead | rt::kDenyWrite, 0},
    {rt::kAccessRead | rt::kDenyWrite, rt::kOpenShared, rt::kAccessDenied},
    {rt::kAccessRead | rt::kDenyRead, rt::kAccessRead | rt::kDenyNone, rt::kAccessDenied},
};

INSTANTIATE_TEST_SUITE_P(Matrix, FileShareModeTest,
                         ::testing::Combine(::testing::ValuesIn(kShareCases),
                                            ::testing::Values(Holder::kSameProcess,
                                                              Holder::kOtherProcess)));

class FileSharingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(filetest::CreateTipFile(path_), 0); }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_F(FileSharingTest, TwoSharedDeclarationsSeeEachOthersWrites) {
  TipFile vistip(path_), linktip(path_);
  ASSERT_EQ(vistip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(linktip->Open(rt::kOpenShared), 0);

  ASSERT_EQ(AddTip(vistip, "P", "C", "T", "from vistip"), 0);
  linktip.SetTip("P", "C", "");
  ASSERT_EQ(linktip->Get(kProcedureKey), 0);
  EXPECT_EQ(linktip.ClippedMemo(0), "from vistip");
  linktip.SetMemo(0, "changed by linktip");
  ASSERT_EQ(linktip->Put(), 0);

  vistip.SetTip("P", "C", "");
  ASSERT_EQ(vistip->Get(kProcedureKey), 0);
  EXPECT_EQ(vistip.ClippedMemo(0), "changed by linktip");
  // Reading through one declaration leaves the other's buffer alone.
  vistip.SetMemo(0, "typed in vistip");
  ASSERT_EQ(linktip->Get(kProcedureKey), 0);
  EXPECT_EQ(vistip.ClippedMemo(0), "typed in vistip");
}

TEST_F(FileSharingTest, SharedOpensInTwoProcessesSeeEachOthersWrites) {
  Child child([this](Child& self) {
    TipFile tip(path_);
    self.Send(std::to_string(tip->Open(rt::kOpenShared)));
    self.Receive();  // the parent has added its record
    tip.SetTip("Parent", "Ctl", "");
    self.Send(tip->Get(kProcedureKey) == 0 ? tip.ClippedMemo(0) : rt::Error());
    self.Send(std::to_string(AddTip(tip, "Child", "Ctl", "T", "from the child")));
    self.Receive();
    return 0;
  });
  ASSERT_EQ(child.Receive(), "0");

  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(AddTip(tip, "Parent", "Ctl", "T", "from the parent"), 0);
  child.Send("added");
  EXPECT_EQ(child.Receive(), "from the parent");
  ASSERT_EQ(child.Receive(), "0");
  tip.SetTip("Child", "Ctl", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "from the child");
  EXPECT_EQ(tip->Records(), 2);
  child.Send("done");
  EXPECT_EQ(child.Wait(), 0);
}

// A child that holds the database's write lock the way an SQLite writer does while it commits
// (the pending byte and the shared range of SQLite's lock page), until told to let go; then it
// waits `delay` before releasing and exiting.
std::unique_ptr<Child> HoldWriterLock(const std::string& path, std::chrono::milliseconds delay) {
  return std::make_unique<Child>([path, delay](Child& self) {
    int fd = open(path.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x40000000;  // pending byte, reserved byte, shared range
    lock.l_len = 512;
    self.Send(fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? "locked" : "failed");
    self.Receive();
    std::this_thread::sleep_for(delay);
    return 0;
  });
}

TEST_F(FileSharingTest, WriterLockOfAnotherProcessGives32AndRecoverWaitsForIt) {
  auto writer = HoldWriterLock(path_, std::chrono::milliseconds(2500));
  ASSERT_EQ(writer->Receive(), "locked");

  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kFileLocked);
  EXPECT_FALSE(tip->IsOpen());
  EXPECT_EQ(tip->Send("Recover=10"), "10");
  writer->Send("release soon");  // lets go 2.5 s from now, longer than the usual wait
  EXPECT_EQ(tip->Open(rt::kOpenShared), 0) << rt::Error();
  EXPECT_EQ(writer->Wait(), 0);
}

TEST_F(FileSharingTest, RecoverAppliesToTheNextOpenOnly) {
  TipFile tip(path_);
  EXPECT_EQ(tip->Send("Recover=10"), "10");
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(tip->Close(), 0);

  auto writer = HoldWriterLock(path_, std::chrono::milliseconds(0));
  ASSERT_EQ(writer->Receive(), "locked");
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kFileLocked);
}

TEST_F(FileSharingTest, WritesWaitingOnAnotherProcessesBatchGive32) {
  Child child([this](Child& self) {
    TipFile tip(path_);
    int32_t rc = tip->Open(rt::kOpenShared);
    if (rc == 0) rc = tip->Stream();
    if (rc == 0) rc = AddTip(tip, "Batch", "Ctl", "T");
    self.Send(std::to_string(rc));
    self.Receive();
    self.Send(std::to_string(tip->Flush()));
    self.Receive();
    return 0;
  });
  ASSERT_EQ(child.Receive(), "0");

  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);  // reading is not blocked by a batch
  EXPECT_EQ(AddTip(tip, "Mine", "Ctl", "T"), rt::kFileLocked);
  tip.SetTip("Batch", "Ctl", "");
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kRecordNotFound);  // not flushed yet

  child.Send("flush");
  ASSERT_EQ(child.Receive(), "0");
  EXPECT_EQ(AddTip(tip, "Mine", "Ctl", "T"), 0);
  tip.SetTip("Batch", "Ctl", "");
  EXPECT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip->Records(), 2);
  child.Send("done");
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(FileSharingTest, ClosingOneDeclarationKeepsTheOthersLocksAndData) {
  // Two declarations of one process on one file: closing one must not drop the other's
  // claim, nor the locks SQLite holds for it.
  auto opens_alone = [this](Child& self) {
    self.Receive();
    TipFile tip(path_);
    self.Send(std::to_string(tip->Open(rt::kOpenExclusive)));
    return 0;
  };
  auto adds = [this](Child& self) {
    self.Receive();
    TipFile tip(path_);
    int32_t rc = tip->Open(rt::kOpenShared);
    self.Send(std::to_string(rc == 0 ? AddTip(tip, "X", "Y", "Z") : rc));
    return 0;
  };
  Child alone(opens_alone), writer(adds);

  TipFile vistip(path_), linktip(path_);
  ASSERT_EQ(vistip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(linktip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(linktip->Close(), 0);
  alone.Send("go");
  EXPECT_EQ(alone.Receive(), std::to_string(rt::kAccessDenied));

  ASSERT_EQ(vistip->Stream(), 0);
  ASSERT_EQ(AddTip(vistip, "P", "C", "T"), 0);
  ASSERT_EQ(linktip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(linktip->Close(), 0);
  // SQLite's reserved lock of vistip's batch still keeps other writers out.
  writer.Send("go");
  EXPECT_EQ(writer.Receive(), std::to_string(rt::kFileLocked));
  EXPECT_EQ(vistip->Flush(), 0);
  EXPECT_EQ(vistip->Records(), 1);
}

TEST_F(FileSharingTest, ChildOfForkLeavesTheParentsOpenFileAlone) {
  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(tip->Stream(), 0);
  ASSERT_EQ(AddTip(tip, "P", "C", "T", "in the batch"), 0);
  // The child closes its inherited copy, as a program does that forks and ends normally.
  Child child([&tip](Child&) { return tip->Close(); });
  EXPECT_EQ(child.Wait(), 0);

  TipFile other(path_);
  EXPECT_EQ(other->Open(rt::kOpenExclusive), rt::kAccessDenied);  // the claim still holds
  ASSERT_EQ(tip->Flush(), 0);
  ASSERT_EQ(tip->Close(), 0);
  ASSERT_EQ(other->Open(rt::kOpenExclusive), 0);
  other.SetTip("P", "C", "");
  ASSERT_EQ(other->Get(kProcedureKey), 0);
  EXPECT_EQ(other.ClippedMemo(0), "in the batch");
}

}  // namespace
