// Record statements of the file driver on a real tip-shaped file: GET by each key with
// duplicates, exact record bytes, memos, SET/NEXT in record order, PUT, DELETE, RECORDS.
#include <gtest/gtest.h>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::kControlKey;
using filetest::kProcedureKey;
using filetest::kTypeKey;
using filetest::TipFile;

class FileRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(filetest::CreateTipFile(path_), 0);
    ASSERT_EQ(tip_->Open(rt::kOpenShared), 0);
  }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
  TipFile tip_{path_};
};

struct KeyCase {
  size_t key;
  const char* proc;
  const char* control;
  const char* type;
  const char* expected_text;
};

class FileGetByKeyTest : public FileRecordsTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FileGetByKeyTest, FindsTheFirstMatchingRecord) {
  ASSERT_EQ(AddTip(tip_, "Main", "?OkButton", "BUTTON", "main ok"), 0);
  ASSERT_EQ(AddTip(tip_, "Main", "?Cancel", "BUTTON", "main cancel"), 0);
  ASSERT_EQ(AddTip(tip_, "", "?OkButton", "", "any ok"), 0);
  ASSERT_EQ(AddTip(tip_, "", "", "ENTRY", "any entry"), 0);
  ASSERT_EQ(AddTip(tip_, "Browse", "?OkButton", "BUTTON", "browse ok"), 0);

  const KeyCase& c = GetParam();
  tip_.SetTip(c.proc, c.control, c.type);
  ASSERT_EQ(tip_->Get(c.key), 0) << rt::Error();
  EXPECT_EQ(tip_.ClippedMemo(0), c.expected_text);
  EXPECT_EQ(rt::ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachKey, FileGetByKeyTest,
    ::testing::Values(KeyCase{kProcedureKey, "Main", "?OkButton", "", "main ok"},
                      KeyCase{kProcedureKey, "Main", "?Cancel", "", "main cancel"},
                      KeyCase{kProcedureKey, "Browse", "?OkButton", "", "browse ok"},
                      KeyCase{kProcedureKey, "", "?OkButton", "", "any ok"},
                      KeyCase{kTypeKey, "", "", "BUTTON", "main ok"},
                      KeyCase{kTypeKey, "x", "y", "ENTRY", "any entry"},
                      KeyCase{kTypeKey, "", "", "", "any ok"},
                      KeyCase{kControlKey, "Browse", "?OkButton", "", "browse ok"},
                      KeyCase{kControlKey, "", "?OkButton", "", "any ok"},
                      KeyCase{kControlKey, "", "", "", "any entry"}));

TEST_F(FileRecordsTest, DuplicatesCoexistAndGetTakesThemInRecordOrder) {
  ASSERT_EQ(AddTip(tip_, "P", "C", "TYPE", "first"), 0);
  ASSERT_EQ(AddTip(tip_, "P", "C", "TYPE", "second"), 0);
  ASSERT_EQ(AddTip(tip_, "Q", "D", "TYPE", "third"), 0);
  EXPECT_EQ(tip_->Records(), 3);

  tip_.SetTip("P", "C", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "first");
  ASSERT_EQ(tip_->Delete(), 0);
  tip_.SetTip("P", "C", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "second");
  ASSERT_EQ(tip_->Delete(), 0);
  tip_.SetTip("", "", "TYPE");
  ASSERT_EQ(tip_->Get(kTypeKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "third");
}

TEST_F(FileRecordsTest, KeysCompareExactlyAndKeepBlankFields) {
  ASSERT_EQ(AddTip(tip_, "abc", "ctl", "T", "lower"), 0);
  ASSERT_EQ(AddTip(tip_, "", "", "", "all blank"), 0);

  tip_.SetTip("ABC", "ctl", "");
  EXPECT_EQ(tip_->Get(kProcedureKey), rt::kRecordNotFound);
  tip_.SetTip("abc ", "ctl", "");  // trailing blanks are the field's padding
  EXPECT_EQ(tip_->Get(kProcedureKey), 0);
  for (size_t key : {kProcedureKey, kTypeKey, kControlKey}) {
    tip_.SetTip("", "", "");
    ASSERT_EQ(tip_->Get(key), 0) << "key " << key;
    EXPECT_EQ(tip_.ClippedMemo(0), "all blank");
  }
}

TEST_F(FileRecordsTest, FailedGetKeepsTheBuffersAndSets35) {
  ASSERT_EQ(AddTip(tip_, "P", "C", "T", "stored"), 0);
  tip_.SetTip("P", "missing", "T");
  tip_.SetMemo(0, "typed");
  tip_.SetMemo(2, "xy");
  auto record = tip_.record();
  auto memo0 = tip_.Memo(0), memo2 = tip_.Memo(2);

  EXPECT_EQ(tip_->Get(kProcedureKey), rt::kRecordNotFound);
  EXPECT_EQ(rt::ErrorCode(), rt::kRecordNotFound);
  EXPECT_EQ(tip_.record(), record);
  EXPECT_EQ(tip_.Memo(0), memo0);
  EXPECT_EQ(tip_.Memo(2), memo2);
}

TEST_F(FileRecordsTest, LongMemoWithHighBytesRoundTripsAndMemosComeBackPadded) {
  std::string helptip(10000, 'x');
  for (size_t i = 0; i < helptip.size(); ++i) helptip[i] = static_cast<char>(i % 256);
  helptip[0] = '\xAB';
  helptip[9999] = '\xAB';
  tip_.SetTip("P", "C", "T");
  tip_.SetMemo(0, helptip);
  tip_.SetMemo(1, "settings  with inner  blanks   ");
  tip_.SetMemo(2, std::string("\x20\x00", 2));  // a stored width of 32, second byte zero
  ASSERT_EQ(tip_->Add(), 0);

  tip_.Clear();
  tip_.SetTip("P", "C", "");
  for (size_t i = 0; i < 3; ++i) {
    std::fill(tip_.memo(i).begin(), tip_.memo(i).end(), std::byte{'#'});
  }
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  EXPECT_EQ(tip_.Memo(0), helptip);
  EXPECT_EQ(tip_.Memo(1), "settings  with inner  blanks" + std::string(10000 - 28, ' '));
  EXPECT_EQ(tip_.Memo(2), std::string("\x20\x00", 2) + std::string(998, ' '));
}

TEST_F(FileRecordsTest, AllBlankMemosReadBackAsBlanks) {
  ASSERT_EQ(AddTip(tip_, "P", "C", "T"), 0);
  std::fill(tip_.memo(1).begin(), tip_.memo(1).end(), std::byte{'#'});
  tip_.SetTip("P", "C", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  EXPECT_EQ(tip_.Memo(1), std::string(10000, ' '));
  EXPECT_EQ(tip_.Memo(2), std::string(1000, ' '));
}

// Record buffers with arbitrary bytes, key fields included, are stored and found exactly.
class FileRecordBytesTest : public FileRecordsTest, public ::testing::WithParamInterface<int> {};

TEST_P(FileRecordBytesTest, StoresTheExactRecordBytes) {
  std::vector<std::byte> bytes(127);
  for (size_t i = 0; i < bytes.size(); ++i) {
    switch (GetParam()) {
      case 0:
        bytes[i] = std::byte{0};
        break;
      case 1:
        bytes[i] = std::byte{0xFF};
        break;
      case 2:
        bytes[i] = std::byte(static_cast<unsigned>(i * 37 + 11));
        break;
      case 4:  // blanks throughout: stored as nothing, read back whole
        bytes[i] = std::byte{' '};
        break;
      case 5:  // text, then blanks up to binary fields that hold blank bytes
        bytes[i] = std::byte(i < 10 ? 'a' + i : ' ');
        break;
      default:
        bytes[i] = std::byte(i % 2 == 0 ? ' ' : 0);
        break;
    }
  }
  tip_.record() = bytes;
  ASSERT_EQ(tip_->Add(), 0);
  ASSERT_EQ(AddTip(tip_, "other", "other", "other"), 0);

  for (size_t key : {kProcedureKey, kTypeKey, kControlKey}) {
    tip_.Clear();
    tip_.record() = bytes;
    std::fill(tip_.record().begin() + 120, tip_.record().end(), std::byte{'#'});
    ASSERT_EQ(tip_->Get(key), 0) << "key " << key;
    EXPECT_EQ(tip_.record(), bytes) << "key " << key;
  }
  ASSERT_EQ(tip_->Set(), 0);
  ASSERT_EQ(tip_->Next(), 0);
  EXPECT_EQ(tip_.record(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Patterns, FileRecordBytesTest, ::testing::Values(0, 1, 2, 3, 4, 5));

// Trailing blanks of a record are not stored: an old-layout record ends in long blank text.
TEST_F(FileRecordsTest, TrailingBlanksOfARecordAreNotStored) {
  if (!filetest::HaveSqliteTool()) GTEST_SKIP() << "the sqlite3 tool is missing";
  ASSERT_EQ(AddTip(tip_, "P", "C", "T"), 0);
  tip_->Close();
  EXPECT_EQ(filetest::Sqlite(path_, "SELECT length(rec) FROM records"), "101");
}

TEST_F(FileRecordsTest, SetAndNextReadInRecordOrder) {
  for (const char* name : {"C", "A", "B", "D"}) ASSERT_EQ(AddTip(tip_, name, name, name, name), 0);
  tip_.SetTip("B", "B", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  ASSERT_EQ(tip_->Delete(), 0);
  tip_.SetTip("A", "A", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  tip_.SetMemo(0, "A rewritten");
  ASSERT_EQ(tip_->Put(), 0);

  ASSERT_EQ(tip_->Set(), 0);
  std::vector<std::string> read;
  while (tip_->Next() == 0) read.push_back(tip_.ClippedMemo(0));
  EXPECT_EQ(rt::ErrorCode(), rt::kNoMoreRecords);
  EXPECT_EQ(read, (std::vector<std::string>{"C", "A rewritten", "D"}));
  EXPECT_EQ(tip_.Proc(), "D");  // the buffer keeps the last record read

  ASSERT_EQ(tip_->Set(), 0);
  ASSERT_EQ(tip_->Next(), 0);
  EXPECT_EQ(tip_.Proc(), "C");
}

TEST_F(FileRecordsTest, PutRewritesTheCurrentRecordAndItsKeys) {
  ASSERT_EQ(AddTip(tip_, "P", "old", "T", "before"), 0);
  ASSERT_EQ(AddTip(tip_, "P", "keep", "T", "kept"), 0);
  tip_.SetTip("P", "old", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  tip_.SetText(50, 50, "new");
  tip_.SetMemo(0, "after");
  ASSERT_EQ(tip_->Put(), 0);
  EXPECT_EQ(tip_->Records(), 2);

  tip_.SetTip("P", "old", "");
  EXPECT_EQ(tip_->Get(kProcedureKey), rt::kRecordNotFound);
  tip_.SetTip("", "new", "");
  tip_.SetText(0, 50, "P");
  ASSERT_EQ(tip_->Get(kControlKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "after");
  tip_.SetTip("", "", "T");
  ASSERT_EQ(tip_->Get(kTypeKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "after");  // the rewritten record keeps its place
}

TEST_F(FileRecordsTest, AddedRecordIsCurrentForPut) {
  ASSERT_EQ(AddTip(tip_, "P", "C", "T", "added"), 0);
  tip_.SetMemo(0, "put after add");
  ASSERT_EQ(tip_->Put(), 0);
  EXPECT_EQ(tip_->Records(), 1);
  tip_.SetTip("P", "C", "");
  ASSERT_EQ(tip_->Get(kProcedureKey), 0);
  EXPECT_EQ(tip_.ClippedMemo(0), "put after add");
}

TEST_F(FileRecordsTest, PutAndDeleteNeedACurrentRecord) {
  EXPECT_EQ(tip_->Put(), rt::kNoMoreRecords);
  EXPECT_EQ(tip_->Delete(), rt::kNoMoreRecords);
  ASSERT_EQ(AddTip(tip_, "P", "C", "T"), 0);
  ASSERT_EQ(tip_->Delete(), 0);
  EXPECT_EQ(tip_->Delete(), rt::kNoMoreRecords);
  EXPECT_EQ(tip_->Put(), rt::kNoMoreRecords);
  EXPECT_EQ(tip_->Records(), 0);
}

TEST_F(FileRecordsTest, NextOnAnEmptyFileGives33) {
  ASSERT_EQ(tip_->Set(), 0);
  EXPECT_EQ(tip_->Next(), rt::kNoMoreRecords);
  EXPECT_EQ(tip_->Records(), 0);
  EXPECT_EQ(rt::ErrorCode(), 0);
}

TEST_F(FileRecordsTest, RecordsSurviveReopening) {
  ASSERT_EQ(AddTip(tip_, "P", "C", "T", "durable"), 0);
  ASSERT_EQ(tip_->Close(), 0);
  TipFile other(path_);
  ASSERT_EQ(other->Open(rt::kOpenShared), 0);
  EXPECT_EQ(other->Records(), 1);
  other.SetTip("", "", "T");
  ASSERT_EQ(other->Get(kTypeKey), 0);
  EXPECT_EQ(other.ClippedMemo(0), "durable");
}

TEST(FileUniqueKeyTest, SecondEqualEntryGives40AndChangesNothing) {
  filetest::TempDir dir;
  rt::FileDecl decl = filetest::TipDecl();
  decl.keys[kProcedureKey].duplicates = false;
  TipFile tip(dir.Path("unique.tps"), decl);
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(AddTip(tip, "P", "C", "T", "one"), 0);
  ASSERT_EQ(AddTip(tip, "P", "D", "T", "two"), 0);
  EXPECT_EQ(AddTip(tip, "P", "C", "U", "dup"), rt::kDuplicateKey);
  EXPECT_EQ(rt::Error(), "Creating Duplicate Key");
  EXPECT_EQ(tip->Records(), 2);

  tip.SetTip("P", "D", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  tip.SetText(50, 50, "C");
  EXPECT_EQ(tip->Put(), rt::kDuplicateKey);
  tip.SetTip("", "", "U");
  EXPECT_EQ(tip->Get(kTypeKey), rt::kRecordNotFound);  // the failed ADD left no key entry
  tip.SetTip("P", "D", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "two");
}

}  // namespace
