// Error codes of the file driver for missing, foreign, damaged-layout and unusable files, bad
// names and bad declarations: each gives its code, and no file is changed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::AddTip;
using filetest::kProcedureKey;
using filetest::ReadAll;
using filetest::TipFile;

class FileErrorsTest : public ::testing::Test {
 protected:
  filetest::TempDir dir_;
  std::string path_ = dir_.Path("Vistip.Tps");
};

TEST_F(FileErrorsTest, MissingFileGives2AndNameReportsIt) {
  TipFile tip(path_ + "   ");
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kFileNotFound);
  EXPECT_EQ(rt::ErrorCode(), rt::kFileNotFound);
  EXPECT_EQ(tip->Name(), path_);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(FileErrorsTest, MissingDirectoryGives3ForEveryStatement) {
  TipFile tip(dir_.Path("no-such-dir/Vistip.Tps"));
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kPathNotFound);
  EXPECT_EQ(tip->Create(), rt::kPathNotFound);
  EXPECT_EQ(tip->Build(), rt::kPathNotFound);

  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  TipFile source(path_);
  EXPECT_EQ(source->Copy(dir_.Path("no-such-dir/copy")), rt::kPathNotFound);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("no-such-dir")));
}

TEST_F(FileErrorsTest, DirectoryInTheFilesPlaceGives5AndStaysADirectory) {
  ASSERT_EQ(mkdir(path_.c_str(), 0755), 0);
  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kAccessDenied);
  EXPECT_EQ(tip->Open(rt::kAccessRead | rt::kDenyNone), rt::kAccessDenied);
  EXPECT_EQ(tip->Create(), rt::kAccessDenied);
  EXPECT_EQ(tip->Build(), rt::kAccessDenied);
  EXPECT_TRUE(std::filesystem::is_directory(path_));

  std::string source = dir_.Path("source.tps");
  ASSERT_EQ(filetest::CreateTipFile(source), 0);
  TipFile copier(source);
  EXPECT_EQ(copier->Copy(path_), rt::kAccessDenied);
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(FileErrorsTest, ReadOnlyFileOpensOnlyForReadingAndIsNotChanged) {
  {
    TipFile tip(path_);
    ASSERT_EQ(tip->Create(), 0);
    ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
    ASSERT_EQ(AddTip(tip, "P", "C", "T", "kept"), 0);
  }
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  std::string before = ReadAll(path_);

  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kAccessDenied);
  EXPECT_EQ(tip->Create(), rt::kAccessDenied);
  EXPECT_EQ(tip->Build(), rt::kAccessDenied);
  ASSERT_EQ(tip->Open(rt::kAccessRead | rt::kDenyNone), 0);
  tip.SetTip("P", "C", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "kept");
  EXPECT_EQ(tip->Put(), rt::kAccessDenied);
  EXPECT_EQ(tip->Delete(), rt::kAccessDenied);
  EXPECT_EQ(AddTip(tip, "Q", "D", "T"), rt::kAccessDenied);
  EXPECT_EQ(tip->Stream(), rt::kAccessDenied);
  EXPECT_EQ(tip->Records(), 1);
  ASSERT_EQ(tip->Close(), 0);
  EXPECT_EQ(ReadAll(path_), before);
}

TEST_F(FileErrorsTest, NonDatabaseGives90WithSqlitesMessageAndIsNotChanged) {
  std::string text(3000, 'x');
  filetest::WriteAll(path_, text);
  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kDriverError);
  EXPECT_EQ(rt::FileError(), "file is not a database");
  EXPECT_EQ(rt::FileErrorCode(), "26");
  EXPECT_EQ(rt::Error(), "file is not a database");
  EXPECT_EQ(tip->Build(), rt::kDriverError);
  EXPECT_EQ(tip->Copy(dir_.Path("copy")), rt::kDriverError);
  EXPECT_EQ(rt::FileError(), "file is not a database");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("copy")));
  EXPECT_EQ(ReadAll(path_), text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(FileErrorsTest, EmptyFileAndForeignDatabaseGive47) {
  filetest::WriteAll(path_, "");
  TipFile tip(path_);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kLayoutMismatch);
  EXPECT_EQ(ReadAll(path_), "");

  if (!filetest::HaveSqliteTool()) GTEST_SKIP() << "sqlite3 tool not installed";
  std::string foreign = dir_.Path("foreign.db");
  bool ok = false;
  filetest::Sqlite(foreign, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", &ok);
  ASSERT_TRUE(ok);
  std::string before = ReadAll(foreign);
  tip.SetName(foreign);
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kLayoutMismatch);
  EXPECT_EQ(tip->Build(), rt::kLayoutMismatch);
  EXPECT_EQ(ReadAll(foreign), before);
}

// A file created with the tip declaration, opened with a changed one.
struct LayoutCase {
  const char* change;
  void (*apply)(rt::FileDecl&);
};

class FileLayoutTest : public FileErrorsTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(FileLayoutTest, OtherLayoutGives47AndReadsNothing) {
  {
    TipFile tip(path_);
    ASSERT_EQ(tip->Create(), 0);
    ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
    ASSERT_EQ(AddTip(tip, "P", "C", "T", "text"), 0);
  }
  std::string before = ReadAll(path_);
  rt::FileDecl changed = filetest::TipDecl();
  GetParam().apply(changed);
  TipFile other(path_, changed);
  other.SetTip("blank", "blank", "blank");
  auto record = other.record();
  EXPECT_EQ(other->Open(rt::kOpenShared), rt::kLayoutMismatch);
  EXPECT_FALSE(other->IsOpen());
  EXPECT_EQ(other->Build(), rt::kLayoutMismatch);
  EXPECT_EQ(other.record(), record);
  EXPECT_EQ(ReadAll(path_), before);

  TipFile same(path_);  // the original declaration still opens it
  EXPECT_EQ(same->Open(rt::kOpenShared), 0);
}

const LayoutCase kLayoutCases[] = {
    {"old record size", [](rt::FileDecl& d) { d.record_size = 2520; }},
    {"field type", [](rt::FileDecl& d) { d.fields[3].type = rt::FieldType::kString; }},
    {"field offset", [](rt::FileDecl& d) { d.fields[4].offset = 126; }},
    {"extra field",
     [](rt::FileDecl& d) {
       d.fields.push_back({"X", rt::FieldType::kByte, 0, 1});
     }},
    {"key components", [](rt::FileDecl& d) { d.keys[2].components = {1}; }},
    {"key without duplicates", [](rt::FileDecl& d) { d.keys[1].duplicates = false; }},
    {"one key fewer", [](rt::FileDecl& d) { d.keys.pop_back(); }},
    {"memo size", [](rt::FileDecl& d) { d.memos[2].max_size = 998; }},
    {"no memos", [](rt::FileDecl& d) { d.memos.clear(); }},
};

INSTANTIATE_TEST_SUITE_P(Changes, FileLayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& p) {
                           std::string name = p.param.change;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

TEST_F(FileErrorsTest, OtherNamesOfTheSameLayoutOpenTheFile) {
  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  rt::FileDecl linktip = filetest::TipDecl();
  linktip.label = "LINKTIP";
  for (auto& field : linktip.fields) field.name = "LIN:" + field.name;
  for (auto& key : linktip.keys) key.name = "LIN:" + key.name;
  TipFile tip(path_, linktip);
  EXPECT_EQ(tip->Open(rt::kOpenShared), 0);
}

struct NameCase {
  const char* what;
  std::string name;
  int32_t expected;
};

class FileNameTest : public FileErrorsTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(FileNameTest, EveryStatementRefusesTheName) {
  TipFile tip(GetParam().name);
  EXPECT_EQ(tip->Create(), GetParam().expected);
  EXPECT_EQ(tip->Open(rt::kOpenShared), GetParam().expected);
  EXPECT_EQ(tip->Build(), GetParam().expected);
  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  TipFile source(path_);
  EXPECT_EQ(source->Copy(GetParam().name), GetParam().expected);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(
        NameCase{"blank", std::string(255, ' '), rt::kInvalidFile},
        NameCase{"empty", "", rt::kInvalidFile},
        NameCase{"nul", std::string("/tmp/a\0b", 8), rt::kInvalidFile},
        NameCase{"directory", "/tmp/", rt::kInvalidFile},
        NameCase{"dot_dot", "/tmp/..", rt::kInvalidFile},
        NameCase{"component_of_255", "/tmp/" + std::string(250, 'n'), rt::kInvalidFile},
        NameCase{"component_of_248", "/tmp/" + std::string(248, 'n'), rt::kInvalidFile}),
    [](const auto& p) { return std::string(p.param.what); });

TEST_F(FileErrorsTest, NameOf255CharactersWithShortPartsWorksWhole) {
  std::string name = dir_.path();
  while (name.size() + 31 < 230) {
    name += "/" + std::string(30, 'd');
    ASSERT_EQ(mkdir(name.c_str(), 0755), 0) << name;
  }
  name += "/";
  name += std::string(255 - name.size(), 'f');
  ASSERT_EQ(name.size(), 255u);
  TipFile tip(name);
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  ASSERT_EQ(AddTip(tip, "P", "C", "T", "long name"), 0);
  EXPECT_EQ(tip->Name(), name);
  tip.SetTip("P", "C", "");
  ASSERT_EQ(tip->Get(kProcedureKey), 0);
  EXPECT_EQ(tip.ClippedMemo(0), "long name");
}

TEST_F(FileErrorsTest, LongestComponentThatLeavesRoomForTheJournalWorks) {
  TipFile tip(dir_.Path(std::string(247, 'n')));
  ASSERT_EQ(tip->Create(), 0);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(AddTip(tip, "P", "C", "T"), 0);
}

TEST_F(FileErrorsTest, NamesAreTakenLiterally) {
  // Names SQLite would read as an in-memory database or a URI are plain file names here.
  char* old_cwd = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  for (const char* name : {":memory:", "file:x.tps?mode=ro"}) {
    TipFile tip(name);
    ASSERT_EQ(tip->Create(), 0) << name;
    ASSERT_EQ(tip->Open(rt::kOpenShared), 0) << name;
    EXPECT_EQ(AddTip(tip, "P", "C", "T"), 0) << name;
    EXPECT_TRUE(std::filesystem::is_regular_file(name)) << name;
  }
  ASSERT_EQ(chdir(old_cwd), 0);
  free(old_cwd);
}

TEST_F(FileErrorsTest, OpenOfAnOpenFileGives52AndKeepsIt) {
  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  TipFile tip(path_);
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Open(rt::kOpenExclusive), rt::kAlreadyOpen);
  EXPECT_EQ(tip->Create(), rt::kAlreadyOpen);
  EXPECT_EQ(tip->Build(), rt::kAlreadyOpen);
  EXPECT_EQ(tip->Copy(dir_.Path("copy")), rt::kAlreadyOpen);
  EXPECT_TRUE(tip->IsOpen());
  EXPECT_EQ(AddTip(tip, "P", "C", "T"), 0);
  // Still in its first mode: others may open it too.
  TipFile other(path_);
  EXPECT_EQ(other->Open(rt::kOpenShared), 0);
}

TEST_F(FileErrorsTest, StatementsOnAClosedFileGive37) {
  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  TipFile tip(path_);
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kFileNotOpen);
  EXPECT_EQ(tip->Set(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Next(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Add(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Put(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Delete(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Stream(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Flush(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Records(), 0);
  EXPECT_EQ(rt::ErrorCode(), rt::kFileNotOpen);
  EXPECT_EQ(tip->Close(), 0);
}

TEST_F(FileErrorsTest, BadOpenModeAndUndeclaredKeyGive90) {
  ASSERT_EQ(filetest::CreateTipFile(path_), 0);
  TipFile tip(path_);
  for (uint8_t mode : {0x01, 0x42 | 0x01, 0x02, 0x52, 0x00}) {
    EXPECT_EQ(tip->Open(mode), rt::kDriverError) << int(mode);
    EXPECT_EQ(rt::FileErrorCode(), "driver");
  }
  ASSERT_EQ(tip->Open(rt::kOpenShared), 0);
  EXPECT_EQ(tip->Get(3), rt::kDriverError);
  EXPECT_EQ(tip->Get(static_cast<size_t>(-1)), rt::kDriverError);
}

struct DeclCase {
  const char* what;
  void (*apply)(rt::FileDecl&);
};

class FileBadDeclTest : public FileErrorsTest, public ::testing::WithParamInterface<DeclCase> {};

TEST_P(FileBadDeclTest, EveryStatementGives90AndTouchesNothing) {
  rt::FileDecl decl = filetest::TipDecl();
  GetParam().apply(decl);
  TipFile tip(path_, decl);
  EXPECT_EQ(tip->Create(), rt::kDriverError);
  EXPECT_EQ(rt::FileErrorCode(), "driver");
  EXPECT_EQ(tip->Open(rt::kOpenShared), rt::kDriverError);
  EXPECT_EQ(tip->Add(), rt::kDriverError);
  EXPECT_EQ(tip->Get(kProcedureKey), rt::kDriverError);
  EXPECT_EQ(tip->Build(), rt::kDriverError);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

const DeclCase kBadDecls[] = {
    {"field_past_the_record", [](rt::FileDecl& d) { d.fields[6].offset = 127; }},
    {"huge_offset", [](rt::FileDecl& d) { d.fields[0].offset = ~size_t{0} - 10; }},
    {"long_of_two_bytes", [](rt::FileDecl& d) { d.fields[3].size = 2; }},
    {"zero_record", [](rt::FileDecl& d) { d.record_size = 0; }},
    {"key_without_fields", [](rt::FileDecl& d) { d.keys[0].components.clear(); }},
    {"key_on_missing_field", [](rt::FileDecl& d) { d.keys[1].components = {7}; }},
    {"zero_memo", [](rt::FileDecl& d) { d.memos[1].max_size = 0; }},
};

TEST(FileBadBuffersTest, BuffersMustHoldTheRecordAndEachMemo) {
  filetest::TempDir dir;
  std::vector<std::byte> record(127), small_record(126);
  std::vector<std::byte> memo(10000), small_memo(999);
  std::string name = dir.Path("x.tps");
  auto source = [&name] { return std::string_view(name); };
  rt::File short_record(filetest::TipDecl(), small_record, {memo, memo, memo}, source);
  rt::File short_memo(filetest::TipDecl(), record, {memo, memo, small_memo}, source);
  rt::File memo_missing(filetest::TipDecl(), record, {memo, memo}, source);
  rt::File no_record(filetest::TipDecl(), {}, {memo, memo, memo}, source);
  for (rt::File* file : {&short_record, &short_memo, &memo_missing, &no_record}) {
    EXPECT_EQ(file->Create(), rt::kDriverError);
    EXPECT_EQ(file->Open(rt::kOpenShared), rt::kDriverError);
  }
  EXPECT_FALSE(std::filesystem::exists(name));
  rt::File no_name(filetest::TipDecl(), record, {memo, memo, memo}, nullptr);
  EXPECT_EQ(no_name.Open(rt::kOpenShared), rt::kDriverError);
  EXPECT_EQ(no_name.Name(), "");
}

INSTANTIATE_TEST_SUITE_P(Declarations, FileBadDeclTest, ::testing::ValuesIn(kBadDecls),
                         [](const auto& p) { return std::string(p.param.what); });

}  // namespace
