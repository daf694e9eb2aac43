// CheckOpen on real files: created when missing, retried when locked, a damaged key rebuilt or
// the program ended, and every other failure reported before the program ends.
#include "tipstore/check_open.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "runtime/errors.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/tipstore/fixture.h"
#include "tests/tipstore/helper_process.h"
#include "tests/tipstore/messages.h"

namespace vistip::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

constexpr const char* kTipFile = "Vistip.Tps";

class CheckOpenTest : public TipStoreTest {
 protected:
  void SetUp() override {
    TipStoreTest::SetUp();
    GLO.VTAPPNAME = kTipFile;
  }
};

TEST_F(CheckOpenTest, AMissingFileIsCreatedEmptyWithoutAMessage) {
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage([] { CheckOpen(VISTIP); }, &seen)) << seen;
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.Records(), 0);
  EXPECT_EQ(VISTIP.Name(), kTipFile);
  VTH = TipBuffer{};
  VTH.CONTROLTYPE = "ENTRY";
  EXPECT_EQ(VISTIP.Get(TipBuffer::CONTROLTYPEKEY), rt::kRecordNotFound);
}

TEST_F(CheckOpenTest, AnOpenFileIsLeftAsItIs) {
  MakeTipFile(kTipFile, 2);
  ASSERT_EQ(VISTIP.Open(rt::kOpenShared), 0);
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage([] { CheckOpen(VISTIP); }, &seen)) << seen;
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.Records(), 2);
}

TEST_F(CheckOpenTest, AFileLockedByAnotherWriterOpensOnceTheWriterLetsGo) {
  MakeTipFile(kTipFile, 3);
  // Longer than one ordinary wait for the lock, well within the recover command's.
  HelperProcess writer({"lock", kTipFile, "2500"});
  ASSERT_EQ(writer.ReadLine(), "locked");
  const auto start = std::chrono::steady_clock::now();
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage([] { CheckOpen(VISTIP); }, &seen)) << seen;
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.Records(), 3);
  EXPECT_EQ(writer.Wait(5000), 0);
}

TEST_F(CheckOpenTest, ADamagedKeyAnsweredYesIsRebuiltAndTheFileOpened) {
  MakeTipFile(kTipFile, 5);
  DamageKey(kTipFile);
  rt::Start([] { CheckOpen(VISTIP); });
  const std::optional<MessageSeen> seen = AnswerMessage("Invalid Key", "&Yes");
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->Describe(),
            "[Invalid Key] Vistip.Tps key file is invalid.  Do you want to rebuild the key? "
            "{~exclamation} <&Yes &No> default &Yes");
  ASSERT_TRUE(rt::WaitFor([] { return VISTIP.IsOpen(); }));
  EXPECT_EQ(VISTIP.Records(), 5);
  // Every record is found again through the rebuilt key.
  for (int n = 1; n <= 5; ++n) {
    VTH = TipBuffer{};
    VTH.CONTROLTYPE = "ENTRY";
    ASSERT_EQ(VISTIP.Get(TipBuffer::CONTROLTYPEKEY), 0) << n;
  }
  VTH.PROCEDURENAME = "Proc4";
  VTH.CONTROLNAME = "?Field4";
  ASSERT_EQ(VISTIP.Get(TipBuffer::PROCEDURENAMEKEY), 0);
  EXPECT_EQ(VTH.HELPTIP, "Tip 4");
}

TEST_F(CheckOpenTest, ADamagedKeyAnsweredNoEndsTheProgram) {
  if (InParent()) {
    MakeTipFile(kTipFile, 5);
    DamageKey(kTipFile);
  }
  const std::string before = ReadBytes(kTipFile);
  EXPECT_EXIT(
      {
        rt::Start([] { CheckOpen(VISTIP); });
        AnswerAndAwaitEnd("Invalid Key", "&No");
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(HasSubstr("[Invalid Key] Vistip.Tps key file is invalid."),
                       EndsWith("\nInvalid Key!\n")));
  EXPECT_EQ(ReadBytes(kTipFile), before);
}

TEST_F(CheckOpenTest, AnOldLayoutFileEndsTheProgramAsInvalid) {
  if (InParent()) MakeOldTipFile(kTipFile, 4);
  const std::string before = ReadBytes(kTipFile);
  EXPECT_EXIT(
      {
        rt::Start([] { CheckOpen(VISTIP); });
        AnswerAndAwaitEnd("Invalid File", "&OK");
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(HasSubstr("[Invalid File] Error: (Invalid Record Declaration (47)) "
                                 "accessing Vistip.Tps.  Press OK to end this application. "
                                 "{~asterisk} <&OK> default &OK\n"),
                       EndsWith("\nInvalid File!\n")));
  EXPECT_EQ(ReadBytes(kTipFile), before);
}

TEST_F(CheckOpenTest, AFileThatIsNotADatabaseShowsSqlitesErrorThenEnds) {
  if (InParent()) WriteBytes(kTipFile, std::string(4096, 'x'));
  EXPECT_EXIT(
      {
        rt::Start([] { CheckOpen(VISTIP); });
        AnswerAndAwaitEnd("File Access Error", "&OK");
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(HasSubstr("[File Access Error] File (Vistip.Tps) could not be opened.  "
                                 "Error: file is not a database (26). {~asterisk} <&OK> "
                                 "default &OK\n"),
                       EndsWith("\nDisk Error\n")));
  EXPECT_EQ(ReadBytes(kTipFile), std::string(4096, 'x'));
}

// Names CheckOpen cannot use: each gives warning 30 with its error, then "Disk Error", and
// leaves what is there as it was.
struct BadNameCase {
  const char* name;
  std::string tip_file;  // GLO.VTAPPNAME
  void (*make)(const std::string& name);
  std::string error;  // ErrorText of the failed open
};

void MakeDirectory(const std::string& name) {
  std::filesystem::create_directory(name);
}
void MakeReadOnlyFile(const std::string& name) {
  MakeTipFile(name, 2);
  chmod(name.c_str(), 0444);
}
void MakeNothing(const std::string&) {}

const BadNameCase kBadNames[] = {
    {"DirectoryInTheFilesPlace", "Vistip.Tps", MakeDirectory, "Access Denied (5)"},
    {"ReadOnlyFile", "Vistip.Tps", MakeReadOnlyFile, "Access Denied (5)"},
    {"MissingDirectory", "missing/Vistip.Tps", MakeNothing, "Path Not Found (3)"},
    {"NameOf255Characters", std::string(251, 'n') + ".Tps", MakeNothing, "Invalid File Name (13)"},
};

class CheckOpenBadNameTest : public TipStoreTest,
                             public ::testing::WithParamInterface<BadNameCase> {};

TEST_P(CheckOpenBadNameTest, WarnsAndEndsWithoutChangingAnything) {
  const BadNameCase& c = GetParam();
  ASSERT_LE(c.tip_file.size(), GLO.VTAPPNAME.size());
  GLO.VTAPPNAME = c.tip_file;
  if (InParent()) c.make(c.tip_file);
  const bool existed = Exists(c.tip_file);
  const std::string before = existed ? ReadBytes(c.tip_file) : "";
  EXPECT_EXIT(
      {
        rt::Start([] { CheckOpen(VISTIP); });
        AnswerAndAwaitEnd("File Access Error", "&OK");
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(HasSubstr("[File Access Error] File ("),
                       HasSubstr("Error: " + c.error + ". {~asterisk} <&OK> default &OK\n"),
                       EndsWith("\nDisk Error\n")));
  EXPECT_EQ(Exists(c.tip_file), existed);
  if (existed && !std::filesystem::is_directory(c.tip_file)) {
    EXPECT_EQ(ReadBytes(c.tip_file), before);
  }
  EXPECT_FALSE(Exists("missing"));
}

INSTANTIATE_TEST_SUITE_P(Names, CheckOpenBadNameTest, ::testing::ValuesIn(kBadNames),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(CheckOpenTest, ANameOf255CharactersIsUsedWhole) {
  const std::string dir(120, 'd');
  std::filesystem::create_directory(dir);
  const std::string name = dir + "/" + std::string(130, 'f') + ".Tps";
  ASSERT_EQ(name.size(), 255u);
  GLO.VTAPPNAME = name;
  std::string seen;
  ASSERT_TRUE(RunWithoutMessage([] { CheckOpen(VISTIP); }, &seen)) << seen;
  EXPECT_EQ(VISTIP.Name(), name);
  EXPECT_TRUE(Exists(name));
}

}  // namespace
}  // namespace vistip::testing
