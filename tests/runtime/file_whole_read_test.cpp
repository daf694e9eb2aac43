// The statements for tools that read or write a whole file: a read-only open (40H) of files
// nobody may write, Scan of every record as stored, Verify of every page, Rollback of a batch,
// and a damaged database told apart from one of another layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::CreateTipFile;
using filetest::TempDir;
using filetest::TipFile;

// A file of `count` tips, closed.
void MakeFile(const std::string& path, int count) {
  ASSERT_EQ(CreateTipFile(path), 0);
  TipFile tip(path);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  tip->Stream();
  for (int i = 0; i < count; ++i)
    ASSERT_EQ(AddTip(tip, "Proc", "Control" + std::to_string(i), "ENTRY",
                     "Tip " + std::to_string(i) + std::string(400, 'x')),
              0);
  ASSERT_EQ(tip->Flush(), 0);
  tip->Close();
}

// Overwrites page `page` (from 1) of a 4096-byte-page database with a pattern.
void SpoilPage(const std::string& path, int page) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(static_cast<std::streamoff>(page - 1) * 4096);
  const std::string junk(4096, '\x5A');
  f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
}

TEST(FileWholeRead, AReadOnlyOpenReadsAFileWithoutWritePermissionAndWritesNothing) {
  TempDir dir;
  const std::string path = dir.Path("tips.tps");
  MakeFile(path, 3);
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  TipFile tip(path);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kAccessDenied);
  ASSERT_EQ(tip->Open(rt::kOpenReadShared), 0);
  tip->Set();
  EXPECT_EQ(tip->Next(), 0);
  EXPECT_EQ(tip->Delete(), rt::kAccessDenied);
  EXPECT_EQ(tip->Stream(), rt::kAccessDenied);
  EXPECT_EQ(tip->Records(), 3);
  tip->Close();
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
}

TEST(FileWholeRead, ScanHandsEveryRecordAsStoredInRecordOrder) {
  TempDir dir;
  const std::string path = dir.Path("tips.tps");
  MakeFile(path, 50);
  TipFile tip(path);
  ASSERT_EQ(tip->Open(rt::kOpenReadShared), 0);
  tip.SetTip("untouched", "", "");
  std::vector<std::string> controls, texts;
  ASSERT_EQ(tip->Scan([&](const rt::StoredRecord& row) {
    const std::string rec(reinterpret_cast<const char*>(row.record.data()), row.record.size());
    controls.push_back(rec.substr(50, 50));
    ASSERT_EQ(row.memos.size(), 3u);
    texts.emplace_back(reinterpret_cast<const char*>(row.memos[0].data()), row.memos[0].size());
    EXPECT_TRUE(row.memos[2].empty());  // a blank memo is stored empty
  }),
            0);
  ASSERT_EQ(controls.size(), 50u);
  EXPECT_EQ(controls[7].substr(0, 8), "Control7");
  EXPECT_EQ(texts[7], "Tip 7" + std::string(400, 'x'));  // without the padding to 10000
  EXPECT_EQ(tip.Proc().substr(0, 9), "untouched");       // the buffer is left alone
}

TEST(FileWholeRead, VerifyFindsAnOverwrittenRecordsPageThatOpenDoesNotRead) {
  TempDir dir;
  const std::string path = dir.Path("tips.tps");
  MakeFile(path, 200);
  TipFile sound(path);
  ASSERT_EQ(sound->Open(rt::kOpenReadShared), 0);
  EXPECT_EQ(sound->Verify(), 0);
  sound->Close();
  SpoilPage(path, 20);
  TipFile tip(path);
  ASSERT_EQ(tip->Open(rt::kOpenReadShared), 0);
  EXPECT_EQ(tip->Verify(), rt::kDriverError);
  EXPECT_EQ(rt::FileErrorCode(), "11");
  EXPECT_EQ(rt::FileError().rfind("database disk image is malformed", 0), 0u) << rt::FileError();
}

TEST(FileWholeRead, RollbackKeepsNoneOfTheBatch) {
  TempDir dir;
  const std::string path = dir.Path("tips.tps");
  MakeFile(path, 2);
  TipFile tip(path);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(tip->Stream(), 0);
  ASSERT_EQ(AddTip(tip, "P", "C", "T"), 0);
  tip->Set();
  ASSERT_EQ(tip->Next(), 0);
  ASSERT_EQ(tip->Delete(), 0);
  EXPECT_EQ(tip->Records(), 2);
  EXPECT_EQ(tip->Rollback(), 0);
  EXPECT_EQ(tip->Records(), 2);
  EXPECT_EQ(tip->Flush(), 0);  // nothing left to commit
  tip->Close();
  TipFile again(path);
  ASSERT_EQ(again->Open(rt::kOpenReadShared), 0);
  EXPECT_EQ(again->Records(), 2);
  again->Set();
  EXPECT_EQ(again->Next(), 0);
  EXPECT_EQ(again.Control().substr(0, 8), "Control0");
}

// A damaged page where the layout is read is damage (90, SQLite's code), not another layout
// (47); a database of another program is 47.
TEST(FileWholeRead, ADamagedLayoutIsNotTakenForAnotherLayout) {
  TempDir dir;
  const std::string path = dir.Path("tips.tps");
  MakeFile(path, 200);
  SpoilPage(path, 2);  // file_info, the first table created
  TipFile tip(path);
  EXPECT_EQ(tip->Open(rt::kOpenReadShared), rt::kDriverError);
  EXPECT_EQ(std::stoi(rt::FileErrorCode()) & 0xFF, 11) << rt::FileErrorCode();  // SQLITE_CORRUPT
  const std::string other = dir.Path("other.db");
  filetest::Sqlite(other, "CREATE TABLE records(id INTEGER PRIMARY KEY, name TEXT)");
  TipFile foreign(other);
  EXPECT_EQ(foreign->Open(rt::kOpenReadShared), rt::kLayoutMismatch);
}

}  // namespace
