// The whole-file statements CREATE and COPY, NAME and the name variable, and SEND.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::Child;
using filetest::kProcedureKey;
using filetest::ReadAll;
using filetest::TipFile;

class FileWholeTest : public ::testing::Test {
 protected:
  // A file at `path` holding `count` tips P/<i>.
  void MakeFile(const std::string& path, int count) {
    TipFile tip(path);
    ASSERT_EQ(tip->Create(), 0);
    ASSERT_EQ(tip->Open(rt::kOpenExclusive), 0);
    ASSERT_EQ(tip->Stream(), 0);
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(AddTip(tip, "P", std::to_string(i), "T", "tip " + std::to_string(i)), 0);
    }
    ASSERT_EQ(tip->Flush(), 0);
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir_.path()), {}));
  }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_F(FileWholeTest, CreateReplacesAnyFileWithAnEmptyOneWithItsKeys) {
  MakeFile(path_, 5);
  TipFile tip(path_);
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Records(), 0);
  ASSERT_EQ(AddTip(tip, "P", "1", "T", "new"), 0);
  tip.SetTip("P", "1", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "new");
  ASSERT_EQ(tip->Close(), 0);

  filetest::WriteAll(path_, "not a database at all");
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Records(), 0);
  EXPECT_EQ(Entries(), 1u);  // no temporary file or journal left beside it
}

// What a whole-file statement killed half-way leaves beside the file is removed by the next one,
// once it is old; a young temporary, one of a running process and other names stay.
TEST_F(FileWholeTest, CreateRemovesTheOldTemporariesOfAKilledProcess) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);  // its number now names no process
  const std::string dead = std::to_string(child);
  const auto leave = [&](const std::string& name, bool old) {
    filetest::WriteAll(dir_.Path(name), "partial");
    if (old)
      std::filesystem::last_write_time(
          dir_.Path(name), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  };
  leave(".vtnew-" + dead + "-7", true);
  leave(".vtnew-" + dead + "-7-journal", true);
  leave(".vtnew-" + dead + "-8", false);
  leave(".vtnew-" + std::to_string(getppid()) + "-1", true);
  leave(".vtnew-x-1", true);
  TipFile tip(path_);
  ASSERT_EQ(tip->Create(), 0);
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
    names.insert(e.path().filename().string());
  EXPECT_EQ(names,
            (std::set<std::string>{"Vistip.Tps", ".vtnew-" + dead + "-8",
                                   ".vtnew-" + std::to_string(getppid()) + "-1", ".vtnew-x-1"}));
}

TEST_F(FileWholeTest, CreateOfAFileOpenElsewhereGives5AndKeepsIt) {
  MakeFile(path_, 3);
  auto holder = filetest::HoldOpen(path_, rt::kOpenShared);
  ASSERT_EQ(holder->Receive(), "0");
  std::string before = ReadAll(path_);
  TipFile tip(path_);
  EXPECT_EQ(tip->Create(), rt::kAccessDenied);
  EXPECT_EQ(ReadAll(path_), before);
  holder->Send("close");
  EXPECT_EQ(holder->Wait(), 0);

  TipFile other(path_);
  ASSERT_EQ(other->Open(rt::kAccessRead | rt::kDenyNone), 0);
  EXPECT_EQ(tip->Create(), rt::kAccessDenied);
  EXPECT_EQ(other->Records(), 3);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileWholeTest, CopyMakesTheSameFileUnderTheNewName) {
  MakeFile(path_, 10);
  std::string copy = dir_.Path("vtTemp$).)$(");
  MakeFile(copy, 2);  // replaced by the copy
  std::string before = ReadAll(path_);

  TipFile tip(path_);
  ASSERT_EQ(tip->Copy(copy + "  "), 0);
  EXPECT_EQ(tip->Name(), path_);
  EXPECT_EQ(ReadAll(path_), before);
  EXPECT_EQ(Entries(), 2u);

  TipFile copied(copy);
  ASSERT_EQ(copied->Open(rt::kOpenShared), 0);
  EXPECT_EQ(copied->Records(), 10);
  ASSERT_EQ(copied->Set(), 0);
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(copied->Next(), 0);
    EXPECT_EQ(copied.ClippedMemo(0), "tip " + std::to_string(i));
  }
  copied.SetTip("P", "4", "");
  ASSERT_EQ(copied->Get(kProcedureKey), 0);
}

TEST_F(FileWholeTest, CopyDuringAnotherProcessesBatchHoldsTheCommittedRecords) {
  MakeFile(path_, 4);
  Child writer([this](Child& self) {
    TipFile tip(path_);
    int32_t rc = tip->Open(rt::kOpenShared);
    if (rc == 0) rc = tip->Stream();
    for (int i = 0; rc == 0 && i < 50; ++i) rc = AddTip(tip, "Batch", std::to_string(i), "T");
    self.Send(std::to_string(rc));
    self.Receive();
    self.Send(std::to_string(tip->Flush()));
    self.Receive();
    return 0;
  });
  ASSERT_EQ(writer.Receive(), "0");

  TipFile tip(path_);
  ASSERT_EQ(tip->Copy(dir_.Path("copy.tps")), 0) << rt::Error();
  TipFile copied(dir_.Path("copy.tps"));
  ASSERT_EQ(copied->Open(rt::kOpenShared), 0);
  EXPECT_EQ(copied->Records(), 4);

  writer.Send("flush");
  ASSERT_EQ(writer.Receive(), "0");
  ASSERT_EQ(copied->Close(), 0);
  ASSERT_EQ(tip->Copy(dir_.Path("copy.tps")), 0);
  ASSERT_EQ(copied->Open(rt::kOpenShared), 0);
  EXPECT_EQ(copied->Records(), 54);
  writer.Send("done");
  EXPECT_EQ(writer.Wait(), 0);
}

TEST_F(FileWholeTest, CopyRespectsTheShareModesOfSourceAndTarget) {
  MakeFile(path_, 1);
  std::string target = dir_.Path("target.tps");
  MakeFile(target, 2);
  std::string target_before = ReadAll(target);

  Child exclusive([this](Child& self) {
    self.Receive();
    TipFile tip(path_);
    self.Send(std::to_string(tip->Open(rt::kOpenExclusive)));
    self.Receive();
    return 0;
  });
  TipFile tip(path_);
  {
    TipFile target_user(target);
    ASSERT_EQ(target_user->Open(rt::kAccessRead | rt::kDenyNone), 0);
    EXPECT_EQ(tip->Copy(target), rt::kAccessDenied);
  }
  EXPECT_EQ(tip->Copy(path_), rt::kAccessDenied);  // onto itself
  exclusive.Send("open");
  ASSERT_EQ(exclusive.Receive(), "0");
  EXPECT_EQ(tip->Copy(target), rt::kAccessDenied);
  EXPECT_EQ(ReadAll(target), target_before);
  exclusive.Send("close");
  EXPECT_EQ(exclusive.Wait(), 0);
  EXPECT_EQ(tip->Copy(target), 0);

  TipFile missing(dir_.Path("missing.tps"));
  EXPECT_EQ(missing->Copy(dir_.Path("nowhere.tps")), rt::kFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("nowhere.tps")));
}

TEST_F(FileWholeTest, CopyWorksForAnyDeclarationsLayout) {
  rt::FileDecl old_layout;
  old_layout.label = "VISTIPOLD";
  old_layout.record_size = 2520;
  old_layout.fields = {{"PROCEDURENAME", rt::FieldType::kString, 0, 50},
                       {"CONTROLNAME", rt::FieldType::kString, 50, 50},
                       {"CONTROLTYPE", rt::FieldType::kString, 100, 20},
                       {"HELPTIP", rt::FieldType::kString, 120, 900},
                       {"SETTINGS", rt::FieldType::kString, 1020, 1500}};
  old_layout.keys = {
      {"PROCEDURENAMEKEY", {0, 1}}, {"CONTROLTYPEKEY", {2}}, {"CONTROLNAMEKEY", {1, 0}}};
  TipFile old_file(path_, old_layout);
  ASSERT_EQ(old_file->Create(), 0);
  ASSERT_EQ(old_file->Open(rt::kOpenExclusive), 0);
  old_file.SetTip("P", "C", "T");
  old_file.SetText(120, 900, "old tip text");
  ASSERT_EQ(old_file->Add(), 0);
  ASSERT_EQ(old_file->Close(), 0);

  ASSERT_EQ(old_file->Copy(dir_.Path("vtTemp$).)$(")), 0);
  old_file.SetName(dir_.Path("vtTemp$).)$("));
  ASSERT_EQ(old_file->Open(rt::kOpenExclusive), 0);
  ASSERT_EQ(old_file->Set(), 0);
  ASSERT_EQ(old_file->Next(), 0);
  EXPECT_EQ(old_file.Text(120, 900), "old tip text");
  TipFile current(path_);
  EXPECT_EQ(current->Open(rt::kOpenShared), rt::kLayoutMismatch);
}

TEST_F(FileWholeTest, TheNameVariableIsReadAtEachStatement) {
  TipFile tip(dir_.Path("a.tps"));
  ASSERT_EQ(tip->Create(), 0);
  tip.SetName(dir_.Path("b.tps"));
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(AddTip(tip, "P", "C", "T"), 0);
  tip.SetName(dir_.Path("c.tps"));
  EXPECT_EQ(tip->Name(), dir_.Path("b.tps"));  // the name in use while open
  ASSERT_EQ(tip->Close(), 0);
  EXPECT_EQ(tip->Name(), dir_.Path("c.tps"));
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kFileNotFound);

  tip.SetName(dir_.Path("a.tps"));
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Records(), 0);
}

struct SendCase {
  const char* command;
  const char* reply;
};

class FileSendTest : public ::testing::TestWithParam<SendCase> {};

TEST_P(FileSendTest, RepliesToRecoverOnlyAndSetsNoError) {
  filetest::TempDir dir;
  TipFile tip(dir.Path("x.tps"));
  rt::SetError(rt::kFileNotFound);
  EXPECT_EQ(tip->Send(GetParam().command), GetParam().reply);
  EXPECT_EQ(rt::ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FileSendTest,
    ::testing::Values(SendCase{"Recover=10", "10"}, SendCase{" recover = 3 ", "3"},
                      SendCase{"RECOVER=0", "0"}, SendCase{"Recover=99999", "3600"},
                      SendCase{"Recover=99999999999999", ""}, SendCase{"Recover=-1", ""},
                      SendCase{"Recover=1x", ""}, SendCase{"Recover", ""},
                      SendCase{"FullBuild=on", ""}, SendCase{"", ""}));

}  // namespace
