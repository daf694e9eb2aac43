// The tip store tests' fixture and their tip files.
#include "tests/tipstore/fixture.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "runtime/backend.h"
#include "runtime/errors.h"
#include "state/state.h"
#include "tipstore/old_tip_file.h"
#include "tipstore/upgrade.h"

namespace vistip::testing {
namespace {

// Hands the parent's directory to the child of a death test, which runs the test again.
constexpr const char* kDirVariable = "VISTIP_TIPSTORE_TEST_DIR";

// `seed` repeated and cut to `size`, its last character non-blank so nothing of it is padding.
std::string Filled(const std::string& seed, size_t size) {
  std::string s;
  while (s.size() < size) s += seed;
  s.resize(size);
  s.back() = 'Z';
  return s;
}

void CloseAll() {
  for (DeclaredFile* file : {&VISTIP, &LINKTIP, &VISTIPOLD}) {
    file->Close();
    file->USED = 0;
  }
}

}  // namespace

void TipStoreTest::SetUp() {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  previous_dir_ = std::filesystem::current_path().string();
  if (const char* inherited = std::getenv(kDirVariable)) {
    dir_ = inherited;
    child_ = true;
  } else {
    std::string pattern = (std::filesystem::temp_directory_path() / "tipstore-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv(kDirVariable, dir_.c_str(), 1);
  }
  std::filesystem::current_path(dir_);
  rt::UseHeadlessBackend();
  thread_.emplace();
  GLO.VTAPPNAME = "";
  GLO.VTAPPNAMEOLD = "";
}

void TipStoreTest::TearDown() {
  SetUpgradeHooks({});
  CloseAll();
  thread_.reset();
  std::filesystem::current_path(previous_dir_);
  if (InParent()) {
    unsetenv(kDirVariable);
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
}

void FillOldTip(int32_t n, OldTipBuffer& record) {
  const std::string id = std::to_string(n);
  record.PROCEDURENAME = n % 5 == 0 ? std::string() : "Proc" + std::to_string(n % 97);
  record.CONTROLNAME = n % 11 == 0 ? Filled("?LongControlName" + id, 50) : "?Field" + id;
  record.CONTROLTYPE = n % 3 == 0 ? "BUTTON" : "ENTRY";
  if (n % 7 == 3) {
    record.HELPTIP = Filled("Text of tip " + id + " {b}bold{/b} caf\xe9 ", 900);
    record.SETTINGS = Filled("[" + id + "]FONT=Arial,10,0,700;TIP=\xabhint\xbb;", 1500);
  } else {
    record.HELPTIP = "Tip " + id + " for {u}" + record.CONTROLNAME.str() + "{/u}";
    record.SETTINGS = "[1]URL=http://example.com/" + id + ";";
  }
}

void MakeOldTipFile(const std::string& name, int32_t count) {
  ASSERT_EQ(WriteOldTipFile(name, count, FillOldTip), 0) << rt::Error();
}

std::unique_ptr<rt::File> OwnTipFile(TipBuffer& buffer, std::string name) {
  auto bytes = [](auto& field) {
    return std::span<std::byte>(reinterpret_cast<std::byte*>(&field), sizeof field);
  };
  return std::make_unique<rt::File>(
      TipFileDecl("TST"), bytes(buffer).first(kTipRecordSize),
      std::vector<std::span<std::byte>>{bytes(buffer.HELPTIP), bytes(buffer.SETTINGS),
                                        bytes(buffer.OTHER)},
      [name = std::move(name)] { return std::string_view(name); });
}

std::unique_ptr<rt::File> OwnOldTipFile(OldTipBuffer& buffer, std::string name) {
  return std::make_unique<rt::File>(
      OldTipFileDecl(), std::span<std::byte>(reinterpret_cast<std::byte*>(&buffer), sizeof buffer),
      std::vector<std::span<std::byte>>{},
      [name = std::move(name)] { return std::string_view(name); });
}

void MakeTipFile(const std::string& name, int32_t count) {
  TipBuffer buffer;
  const std::unique_ptr<rt::File> owned = OwnTipFile(buffer, name);
  rt::File& file = *owned;
  ASSERT_EQ(file.Create(), 0) << rt::Error();
  ASSERT_EQ(file.Open(rt::kOpenExclusive), 0) << rt::Error();
  for (int32_t n = 1; n <= count; ++n) {
    buffer = TipBuffer{};
    buffer.PROCEDURENAME = "Proc" + std::to_string(n);
    buffer.CONTROLNAME = "?Field" + std::to_string(n);
    buffer.CONTROLTYPE = "ENTRY";
    buffer.HELPTIP = "Tip " + std::to_string(n);
    ASSERT_EQ(file.Add(), 0) << rt::Error();
  }
  ASSERT_EQ(file.Close(), 0);
}

void ExpectConverted(const std::string& name, int32_t count, int32_t today) {
  TipBuffer got;
  const auto file = OwnTipFile(got, name);
  ASSERT_EQ(file->Open(rt::kOpenShared), 0) << rt::Error();
  ASSERT_EQ(file->Records(), count);
  ASSERT_EQ(file->Set(), 0);
  for (int32_t n = 1; n <= count; ++n) {
    SCOPED_TRACE("record " + std::to_string(n));
    OldTipBuffer old;
    FillOldTip(n, old);
    ASSERT_EQ(file->Next(), 0);
    EXPECT_EQ(got.PROCEDURENAME.view(), old.PROCEDURENAME.view());
    EXPECT_EQ(got.CONTROLNAME.view(), old.CONTROLNAME.view());
    EXPECT_EQ(got.CONTROLTYPE.view(), old.CONTROLTYPE.view());
    EXPECT_EQ(got.HELPTIP.view(), rt::String<10000>(old.HELPTIP).view());
    EXPECT_EQ(got.SETTINGS.view(), rt::String<10000>(old.SETTINGS).view());
    EXPECT_EQ(got.LASTEDITDATE, today);
    EXPECT_EQ(got.READONLY, 0);
    EXPECT_EQ(got.ARCHIVE, 0);
    EXPECT_EQ(got.TIPSTYLE, 0);
    EXPECT_EQ(got.OTHER.view(), std::string(1000, ' '));
    EXPECT_EQ(StoredWidth(got.OTHER), 8224);
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_EQ(file->Next(), rt::kNoMoreRecords);
}

void ExpectOldFile(const std::string& name, int32_t count) {
  OldTipBuffer buffer;
  const auto file = OwnOldTipFile(buffer, name);
  ASSERT_EQ(file->Open(rt::kOpenShared), 0) << rt::Error();
  EXPECT_EQ(file->Records(), count);
}

void RunSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

void DamageKey(const std::string& path) {
  RunSql(path, "DELETE FROM key_2 WHERE id = (SELECT min(id) FROM key_2)");
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream in_a(a, std::ios::binary), in_b(b, std::ios::binary);
  if (!in_a || !in_b) return false;
  std::vector<char> piece_a(1 << 20), piece_b(1 << 20);
  for (;;) {
    in_a.read(piece_a.data(), static_cast<std::streamsize>(piece_a.size()));
    in_b.read(piece_b.data(), static_cast<std::streamsize>(piece_b.size()));
    if (in_a.gcount() != in_b.gcount() ||
        !std::equal(piece_a.begin(), piece_a.begin() + in_a.gcount(), piece_b.begin())) {
      return false;
    }
    if (in_a.gcount() == 0) return true;
  }
}

}  // namespace vistip::testing
