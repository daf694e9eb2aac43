// STREAM/FLUSH as one transaction, and views over chosen fields with their filter.
#include <gtest/gtest.h>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::kProcedureKey;
using filetest::TipFile;

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(filetest::CreateTipFile(path_), 0); }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_F(FileStreamTest, BatchIsSeenByOthersOnlyAfterFlush) {
  TipFile writer(path_), reader(path_);
  ASSERT_EQ(writer->Open(rt::kOpenShared), 0);
  ASSERT_EQ(reader->Open(rt::kOpenShared), 0);
  ASSERT_EQ(writer->Stream(), 0);
  EXPECT_EQ(writer->Stream(), 0);  // already streaming: nothing more
  for (int i = 0; i < 20; ++i) ASSERT_EQ(AddTip(writer, "P", std::to_string(i), "T"), 0);
  EXPECT_EQ(writer->Records(), 20);  // the writer sees its own batch
  writer.SetTip("P", "7", "");
  EXPECT_EQ(writer->Get(kProcedureKey), 0);

  EXPECT_EQ(reader->Records(), 0);
  reader.SetTip("P", "7", "");
  EXPECT_EQ(reader->Get(kProcedureKey), rt::kRecordNotFound);

  ASSERT_EQ(writer->Flush(), 0);
  EXPECT_EQ(writer->Flush(), 0);  // no batch: nothing to do
  EXPECT_EQ(reader->Records(), 20);
  EXPECT_EQ(reader->Get(kProcedureKey), 0);
}

TEST_F(FileStreamTest, CloseEndsTheBatchAndKeepsIt) {
  {
    TipFile tip(path_);
    ASSERT_EQ(tip->Open(rt::kOpenExclusive), 0);
    ASSERT_EQ(tip->Stream(), 0);
    ASSERT_EQ(AddTip(tip, "P", "C", "T", "streamed"), 0);
    ASSERT_EQ(tip->Close(), 0);
  }
  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Records(), 1);
}

TEST_F(FileStreamTest, FailedWriteInsideABatchUndoesOnlyItself) {
  filetest::TempDir dir;
  rt::FileDecl decl = filetest::TipDecl();
  decl.keys[kProcedureKey].duplicates = false;
  TipFile tip(dir.Path("unique.tps"), decl);
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenExclusive), 0);
  ASSERT_EQ(tip->Stream(), 0);
  ASSERT_EQ(AddTip(tip, "P", "1", "T"), 0);
  ASSERT_EQ(AddTip(tip, "P", "2", "T"), 0);
  EXPECT_EQ(AddTip(tip, "P", "1", "U"), rt::kDuplicateKey);
  ASSERT_EQ(AddTip(tip, "P", "3", "T"), 0);
  ASSERT_EQ(tip->Flush(), 0);
  EXPECT_EQ(tip->Records(), 3);
  tip.SetTip("", "", "U");
  EXPECT_EQ(tip->Get(filetest::kTypeKey), rt::kRecordNotFound);
}

class FileViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(filetest::CreateTipFile(path_), 0);
    ASSERT_EQ(tip_->Open(rt::kOpenShared), 0);
    ASSERT_EQ(AddTip(tip_, "ProcB", "CtlB", "TypeB"), 0);
    ASSERT_EQ(AddTip(tip_, "ProcA", "CtlA", "TypeA"), 0);
    ASSERT_EQ(AddTip(tip_, "", "CtlC", ""), 0);
  }

  // Marks the fields a view does not list, and the memos, to see that it leaves them alone.
  void MarkUnlisted() {
    std::fill(tip_.record().begin() + 120, tip_.record().end(), std::byte{'#'});
    for (size_t i = 0; i < 3; ++i) {
      std::fill(tip_.memo(i).begin(), tip_.memo(i).end(), std::byte{'#'});
    }
  }
  bool UnlistedUntouched() {
    auto all_marks = [](const auto& bytes) {
      return std::all_of(bytes.begin(), bytes.end(),
                         [](std::byte b) { return b == std::byte{'#'}; });
    };
    return all_marks(std::vector<std::byte>(tip_.record().begin() + 120, tip_.record().end())) &&
           all_marks(tip_.memo(0)) && all_marks(tip_.memo(1)) && all_marks(tip_.memo(2));
  }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
  TipFile tip_{path_};
};

TEST_F(FileViewTest, ReadsTheChosenFieldsInRecordOrder) {
  rt::View view(tip_.file(), {1, 0, 2});
  EXPECT_EQ(view.SetFilter(""), 0);
  ASSERT_EQ(view.Open(), 0);
  MarkUnlisted();
  std::vector<std::string> rows;
  while (view.Next() == 0) rows.push_back(tip_.Control() + "/" + tip_.Proc() + "/" + tip_.Type());
  EXPECT_EQ(rt::ErrorCode(), rt::kNoMoreRecords);
  EXPECT_EQ(rows, (std::vector<std::string>{"CtlB/ProcB/TypeB", "CtlA/ProcA/TypeA", "CtlC//"}));
  EXPECT_TRUE(UnlistedUntouched());
  EXPECT_EQ(view.Close(), 0);
  EXPECT_EQ(view.Next(), rt::kFileNotOpen);
}

TEST_F(FileViewTest, ViewDoesNotMoveTheFilesOwnPosition) {
  ASSERT_EQ(tip_->Set(), 0);
  ASSERT_EQ(tip_->Next(), 0);
  rt::View view(tip_.file(), {0});
  ASSERT_EQ(view.Open(), 0);
  ASSERT_EQ(view.Next(), 0);
  ASSERT_EQ(view.Next(), 0);
  ASSERT_EQ(tip_->Next(), 0);
  EXPECT_EQ(tip_.Control(), "CtlA");
}

TEST_F(FileViewTest, FilterThatCannotBeEvaluatedIsRefusedAndTheViewStaysUnfiltered) {
  rt::View view(tip_.file(), {0, 1, 2});
  EXPECT_EQ(view.SetFilter("LIN:PROCEDURENAME = 'ProcA'"), rt::kDriverError);
  EXPECT_EQ(rt::FileErrorCode(), "driver");
  EXPECT_NE(rt::FileError().find("LIN:PROCEDURENAME"), std::string::npos);
  EXPECT_EQ(view.SetFilter("   "), 0);
  ASSERT_EQ(view.Open(), 0);
  int rows = 0;
  while (view.Next() == 0) ++rows;
  EXPECT_EQ(rows, 3);
}

TEST_F(FileViewTest, ViewNeedsAnOpenFileAndDeclaredFields) {
  rt::View bad(tip_.file(), {0, 7});
  EXPECT_EQ(bad.Open(), rt::kDriverError);
  EXPECT_EQ(bad.Next(), rt::kFileNotOpen);

  rt::View view(tip_.file(), {0});
  ASSERT_EQ(view.Open(), 0);
  ASSERT_EQ(tip_->Close(), 0);
  EXPECT_EQ(view.Next(), rt::kFileNotOpen);
  EXPECT_EQ(view.Open(), rt::kFileNotOpen);
}

}  // namespace
