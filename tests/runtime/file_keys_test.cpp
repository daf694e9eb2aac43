// Damaged keys of real files: OPEN finds a key that no longer matches the records (46), GET,
// PUT and DELETE refuse an entry that leads astray, and BUILD rebuilds the keys from the records.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::kControlKey;
using filetest::kProcedureKey;
using filetest::kTypeKey;
using filetest::Sqlite;
using filetest::TipFile;

constexpr int kRecords = 300;

std::string Proc(int i) {
  return "Procedure" + std::to_string(i % 7);
}
std::string Control(int i) {
  return "?Control" + std::to_string(i) + std::string(30, '_');
}
std::string Type(int i) {
  return "TYPE" + std::to_string(i % 5);
}
std::string Text(int i) {
  return "tip number " + std::to_string(i);
}

class FileKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!filetest::HaveSqliteTool()) GTEST_SKIP() << "sqlite3 tool not installed";
    TipFile tip(path_);
    ASSERT_EQ(tip->Create(), 0);
    ASSERT_EQ(tip->Open(rt::kOpenExclusive), 0);
    ASSERT_EQ(tip->Stream(), 0);
    for (int i = 0; i < kRecords; ++i) {
      ASSERT_EQ(filetest::AddTip(tip, Proc(i), Control(i), Type(i), Text(i)), 0);
    }
    ASSERT_EQ(tip->Flush(), 0);
  }

  void Damage(const std::string& sql) {
    bool ok = false;
    std::string out = Sqlite(path_, sql, &ok);
    ASSERT_TRUE(ok) << out;
  }

  // Overwrites one page of the key's table (the n-th of `type`, "leaf" or "internal").
  void OverwritePage(const std::string& table, const std::string& type, int n, char byte) {
    int page_size = std::stoi(Sqlite(path_, "PRAGMA page_size"));
    std::string page =
        Sqlite(path_, "SELECT pageno FROM dbstat WHERE name = '" + table + "' AND pagetype = '" +
                          type + "' ORDER BY pageno LIMIT 1" + " OFFSET " + std::to_string(n));
    ASSERT_FALSE(page.empty()) << "no " << type << " page " << n << " in " << table;
    std::string bytes(page_size, byte);
    int fd = open(path_.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    off_t offset = static_cast<off_t>(std::stoi(page) - 1) * page_size;
    ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), offset), page_size);
    close(fd);
  }

  // Every record is there, in record order, and found by each of its keys.
  void ExpectAllRecords(int expected = kRecords, int missing = -1) {
    TipFile tip(path_);
    ASSERT_EQ(tip->Open(rt::kOpenShared), 0) << rt::Error();
    EXPECT_EQ(tip->Records(), expected);
    ASSERT_EQ(tip->Set(), 0);
    for (int i = 0; i < kRecords; ++i) {
      if (i == missing) continue;
      ASSERT_EQ(tip->Next(), 0) << i;
      EXPECT_EQ(tip.ClippedMemo(0), Text(i));
    }
    EXPECT_EQ(tip->Next(), rt::kNoMoreRecords);
    for (int i = 0; i < kRecords; i += 37) {
      if (i == missing) continue;
      tip.SetTip(Proc(i), Control(i), Type(i));
      ASSERT_EQ(tip->Get(kProcedureKey), 0) << i;
      EXPECT_EQ(tip.ClippedMemo(0), Text(i));
      ASSERT_EQ(tip->Get(kControlKey), 0) << i;
      EXPECT_EQ(tip.ClippedMemo(0), Text(i));
      ASSERT_EQ(tip->Get(kTypeKey), 0) << i;
      EXPECT_EQ(tip.ClippedMemo(0), Text(i % 5));  // the first of its type in record order
    }
    EXPECT_EQ(Sqlite(path_, "PRAGMA integrity_check"), "ok");
  }

  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

struct DamageCase {
  const char* what;
  const char* sql;         // applied with the sqlite3 tool, or
  const char* page_table;  // a page of this table overwritten
  const char* page_type;
  int page_index;
  char byte;
};

class FileKeyDamageTest : public FileKeysTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(FileKeyDamageTest, OpenGives46AndBuildRepairs) {
  const DamageCase& c = GetParam();
  if (c.sql != nullptr) {
    Damage(c.sql);
  } else {
    OverwritePage(c.page_table, c.page_type, c.page_index, c.byte);
  }
  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kKeyInvalid) << rt::Error();
  EXPECT_FALSE(tip->IsOpen());
  EXPECT_EQ(tip->Build(), 0) << rt::Error();
  ExpectAllRecords();
}

const DamageCase kDamage[] = {
    {"entry_deleted", "DELETE FROM key_2 WHERE id = 17"},
    {"entry_added", "INSERT INTO key_3 VALUES(x'41', x'42', 9999)"},
    {"key_table_dropped", "DROP TABLE key_1"},
    {"key_definition_changed",
     "PRAGMA writable_schema=ON; UPDATE sqlite_schema SET sql = replace(sql, 'c2 BLOB', "
     "'c2 TEXT') WHERE name = 'key_3'"},
    {"leaf_page_zeroed", nullptr, "key_1", "leaf", 1, '\0'},
    {"leaf_page_garbage", nullptr, "key_3", "leaf", 2, '\xA5'},
    {"single_page_key_zeroed", nullptr, "key_2", "leaf", 0, '\0'},
    {"internal_page_zeroed", nullptr, "key_1", "internal", 0, '\0'},
};

INSTANTIATE_TEST_SUITE_P(Damage, FileKeyDamageTest, ::testing::ValuesIn(kDamage),
                         [](const auto& p) { return std::string(p.param.what); });

TEST_F(FileKeysTest, EntryThatLeadsToAnotherRecordIsRefusedAtUse) {
  // A key entry whose value was changed still counts right, so OPEN cannot see it; using it
  // can, and nothing is changed through it.
  Damage("UPDATE key_1 SET c2 = CAST('?Elsewhere' AS BLOB) WHERE id = 6");
  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  tip.SetTip(Proc(5), "?Elsewhere", "");
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kKeyInvalid);
  tip.SetTip(Proc(5), Control(5), "");
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kRecordNotFound);

  // Record 6 (the sixth added) found through an intact key, then rewritten or deleted: its
  // entry in the damaged key is not where it should be.
  tip.SetTip(Proc(5), Control(5), "");
  ASSERT_EQ(tip->Get(kControlKey), 0);
  tip.SetText(50, 50, "?Renamed");
  EXPECT_EQ(tip->Put(), rt::kKeyInvalid);
  EXPECT_EQ(tip->Delete(), rt::kKeyInvalid);
  EXPECT_EQ(tip->Records(), kRecords);
  tip.SetTip(Proc(5), "?Renamed", "");
  EXPECT_EQ(tip->Get(kControlKey), rt::kRecordNotFound);

  ASSERT_EQ(tip->Close(), 0);
  ASSERT_EQ(tip->Build(), 0);
  ExpectAllRecords();
}

TEST_F(FileKeysTest, EntryOfAVanishedRecordIsRefusedAndBuildDropsIt) {
  Damage("DELETE FROM records WHERE id = 11");
  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  tip.SetTip(Proc(10), Control(10), "");
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kKeyInvalid);
  ASSERT_EQ(tip->Close(), 0);
  ASSERT_EQ(tip->Build(), 0);
  ExpectAllRecords(kRecords - 1, 10);
}

TEST_F(FileKeysTest, BuildOfAnOpenedFileElsewhereGives5AndChangesNothing) {
  auto holder = std::make_unique<filetest::Child>([this](filetest::Child& self) {
    TipFile tip(path_);
    self.Send(std::to_string(tip->Open(rt::kOpenShared)));
    self.Receive();
    return 0;
  });
  ASSERT_EQ(holder->Receive(), "0");
  std::string before = filetest::ReadAll(path_);
  TipFile tip(path_);
  EXPECT_EQ(tip->Build(), rt::kAccessDenied);
  EXPECT_EQ(filetest::ReadAll(path_), before);
  TipFile second(path_);
  ASSERT_EQ(second->Open(rt::kOpenShared), 0);
  TipFile third(path_);
  EXPECT_EQ(third->Build(), rt::kAccessDenied);
  holder->Send("close");
  EXPECT_EQ(holder->Wait(), 0);
  ASSERT_EQ(second->Close(), 0);
  EXPECT_EQ(third->Build(), 0);
  ExpectAllRecords();
}

TEST(FileBuildTest, MissingFileGives2) {
  filetest::TempDir dir;
  TipFile tip(dir.Path("none.tps"));
  EXPECT_EQ(tip->Build(), rt::kFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("none.tps")));
}

}  // namespace
