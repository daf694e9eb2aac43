// vtIdeHelp against a real INI file and real tip files: the template folder from the Root
// entry, the request split at its first comma, the default tip file, the topic's width, and
// the tip window on the caller's thread.
#include "api/ide_help.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/windows_path.h"
#include "runtime/dialogs.h"
#include "runtime/errors.h"
#include "runtime/file.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/api/api_fixture.h"
#include "tipstore/declarations.h"

namespace vistip::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLongTopic = "A topic of more than forty characters, cut at forty";

// One tip of a tip file: looked up by control name with a blank procedure name.
struct Tip {
  std::string control;
  std::string text;
};

// A tip file written through the tip file declaration, as the tip window reads it.
void WriteTipFile(const fs::path& path, const std::vector<Tip>& tips) {
  fs::create_directories(path.parent_path());
  GLO.VTAPPNAME = path.string();
  ASSERT_EQ(VISTIP.Create(), 0) << path;
  ASSERT_EQ(VISTIP.Open(rt::kOpenShared), 0) << path;
  for (const Tip& tip : tips) {
    VTH = TipBuffer{};
    VTH.CONTROLNAME = tip.control;
    VTH.CONTROLTYPE = "IDE";
    VTH.HELPTIP = tip.text;
    ASSERT_EQ(VISTIP.Add(), 0);
  }
  ASSERT_EQ(VISTIP.Close(), 0);
  GLO.VTAPPNAME = "";
}

// What the tip window procedure found: the request, its thread, and the tip it read.
struct Found {
  bool ran = false;
  int32_t thread = 0;
  int32_t parent = -1;
  std::string tip_file, procedure, control, type, tip;
};

class IdeHelpTest : public ApiTest {
 protected:
  void SetUp() override {
    ApiTest::SetUp();
    drive_c_ = dir_.path() / "drive_c";
    ini_ = dir_.path() / "vistip.ini";
    WriteIni("[Clarion 4]\r\nRoot=C:\\C4\\\r\n");
    ASSERT_EQ(setenv("VTRT_INI", ini_.c_str(), 1), 0);
    ASSERT_EQ(setenv(kDriveMapVariable, ("C=" + drive_c_.string()).c_str(), 1), 0);
    const fs::path templates = drive_c_ / "C4" / "Template";
    WriteTipFile(templates / "Help.Vth",
                 {{"Topic", "from Help.Vth"}, {kLongTopic.substr(0, 40), "the long topic"}});
    WriteTipFile(templates / "Warden.Vth", {{"Topic", "from Warden.Vth"}});
    WriteTipFile(templates / "a", {{"b,c", "from a"}});
    WriteTipFile(templates / "abc", {{",Topic", "from abc"}});
    SetTipWindowProcedure([this](const TipRequest&) { Record(); });
  }
  void TearDown() override {
    unsetenv("VTRT_INI");
    unsetenv(kDriveMapVariable);
    ApiTest::TearDown();
  }

  void WriteIni(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

  // The tip window's part: read the request and look the tip up in the named file.
  void Record() {
    found_.ran = true;
    found_.thread = rt::Thread();
    found_.parent = GLO.PARENTTHREAD;
    found_.tip_file = GLO.VTAPPNAME.str();
    found_.procedure = GLO.VTPROCEDURENAME.str();
    found_.control = GLO.VTCONTROLNAME.str();
    found_.type = GLO.VTCONTROLTYPE.str();
    if (VISTIP.Open(rt::kOpenShared) != 0) return;
    VTH.PROCEDURENAME = GLO.VTPROCEDURENAME;
    VTH.CONTROLNAME = GLO.VTCONTROLNAME;
    if (VISTIP.Get(TipBuffer::CONTROLNAMEKEY) == 0) found_.tip = VTH.HELPTIP.str();
    VISTIP.Close();
  }

  TempDir dir_;
  fs::path drive_c_, ini_;
  Found found_;
};

struct IdeCase {
  const char* name;
  std::string request;
  const char* file;  // below C:\C4\Template
  std::string control;
  const char* tip;
};

const IdeCase kIdeCases[] = {
    {"FileAndTopic", "Help.Vth,Topic", "Help.Vth", "Topic", "from Help.Vth"},
    {"TopicAloneUsesWarden", "Topic", "Warden.Vth", "Topic", "from Warden.Vth"},
    {"OnlyTheFirstCommaSplits", "a,b,c", "a", "b,c", "from a"},
    {"BlankBeforeTheCommaStartsTheTopicAtTheComma", "abc ,Topic", "abc", ",Topic", "from abc"},
    {"TopicCutTo40", "Help.Vth," + kLongTopic, "Help.Vth", kLongTopic.substr(0, 40),
     "the long topic"},
};

class IdeRequestTest : public IdeHelpTest, public ::testing::WithParamInterface<IdeCase> {};

TEST_P(IdeRequestTest, ShowsTheTopicFromTheTemplateFolder) {
  const IdeCase& c = GetParam();
  vtIdeHelp(c.request);
  ASSERT_TRUE(found_.ran) << "the tip window ran before vtIdeHelp returned";
  EXPECT_EQ(found_.tip_file, (drive_c_ / "C4" / "Template" / c.file).string());
  EXPECT_EQ(found_.procedure, "");
  EXPECT_EQ(found_.control, c.control);
  EXPECT_EQ(found_.type, "IDE");
  EXPECT_EQ(found_.tip, c.tip) << "read from the real tip file";
  EXPECT_EQ(found_.thread, rt::Thread());
  EXPECT_EQ(found_.parent, 0);
}

INSTANTIATE_TEST_SUITE_P(Requests, IdeRequestTest, ::testing::ValuesIn(kIdeCases), CaseName());

TEST_F(IdeHelpTest, MissingRootGivesTheRelativeTemplateFolder) {
  WriteIni("[Clarion 4]\r\nOther=1\r\n");
  const fs::path here = fs::current_path();
  fs::current_path(dir_.path());
  WriteTipFile(dir_.path() / "Template" / "Warden.Vth", {{"Topic", "relative"}});
  vtIdeHelp("Topic");
  fs::current_path(here);
  EXPECT_EQ(found_.tip_file, "Template/Warden.Vth");
  EXPECT_EQ(found_.tip, "relative");
}

TEST_F(IdeHelpTest, RootIsUsedWithoutAddingASeparator) {
  WriteIni("[Clarion 4]\r\nRoot=C:\\C4   \r\n");
  vtIdeHelp("Topic");
  EXPECT_EQ(found_.tip_file, (drive_c_ / "C4Template" / "Warden.Vth").string());
  EXPECT_EQ(found_.tip, "") << "no such file";
}

// A file part that would leave the template folder: refused with the warning for a file that
// cannot be opened, before any tip window or file is touched.
class IdeOutsideTest : public IdeHelpTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(IdeOutsideTest, IsRefusedAsAFileThatCannotBeOpened) {
  const fs::path outside = dir_.path() / "x.tps";
  std::string shown, caption;
  rt::MessageHandler previous = rt::SetMessageHandler([&](std::string_view t, std::string_view c) {
    shown = t;
    caption = c;
  });
  const std::string file_part = GetParam();
  vtIdeHelp(file_part + ",Topic");
  rt::SetMessageHandler(std::move(previous));
  EXPECT_FALSE(found_.ran);
  EXPECT_EQ(caption, "File Access Error");
  EXPECT_EQ(shown, "File (C:\\C4\\Template\\" + file_part + ") could not be opened.  Error: " +
                       rt::ErrorMessage(rt::kInvalidFile) + " (13).");
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_TRUE(StaysInTemplateFolder("Help.Vth"));
  EXPECT_FALSE(StaysInTemplateFolder(file_part));
}

INSTANTIATE_TEST_SUITE_P(Requests, IdeOutsideTest,
                         ::testing::Values("..\\..\\..\\x.tps", "../../../x.tps", "sub/x.tps",
                                           "sub\\x.tps", "/tmp/x.tps", "..", "x..tps"));

// ---- The split alone ----

struct SplitCase {
  const char* name;
  std::string request;
  std::string file_part;
  std::string topic;
};

const SplitCase kSplitCases[] = {
    {"FileAndTopic", "Help.Vth,Topic", "Help.Vth", "Topic"},
    {"NoComma", "Topic", "Warden.Vth", "Topic"},
    {"FirstCommaOnly", "a,b,c", "a", "b,c"},
    {"BlankBeforeComma", "abc ,Topic", "abc ", ",Topic"},
    {"EmptyFilePart", ",Topic", "", "Topic"},
    {"BlankFilePart", " ,Topic", " ", ",Topic"},
    {"NothingAfterTheComma", "x,", "x", ""},
    {"EmptyRequest", "", "Warden.Vth", ""},
    {"TopicCutTo40", "f," + std::string(50, 't'), "f", std::string(40, 't')},
    // The file part keeps 255 characters, so the topic starts inside the longer file part.
    {"LongFilePart", std::string(300, 'p') + ",T", std::string(255, 'p'), std::string(40, 'p')},
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, SplitsAtTheFirstComma) {
  const IdeRequest split = SplitIdeRequest(GetParam().request);
  EXPECT_EQ(split.file_part.view(), rt::String<255>(GetParam().file_part).view());
  EXPECT_EQ(split.topic.view(), rt::String<40>(GetParam().topic).view());
}

INSTANTIATE_TEST_SUITE_P(Requests, SplitTest, ::testing::ValuesIn(kSplitCases), CaseName());

}  // namespace
}  // namespace vistip::testing
