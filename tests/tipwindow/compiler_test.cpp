// The tip compiler on a real (headless) tip window: lines as the edit control wraps them, the
// stored width, the message for an unclosed tag, and settings that follow their controls'
// texts when the tip text changes.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

std::vector<std::string> DumpControls(HelpTipWindow& tip) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= tip.CONTROLQUEUE.Records(); ++i) {
    tip.CONTROLQUEUE.Get(i);
    const CtlRecord& c = tip.CONTROLQUEUE.buf;
    out.push_back(c.TYPE.str() + "|" + c.NAME.str() + "|" + c.TEXT.str() + "|" +
                  std::to_string(c.CONTROLNUMBER) + "|" + std::to_string(c.LINE));
  }
  return out;
}

class CompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseHeadlessBackend();
    VTH = TipBuffer{};
    tip_ = std::make_unique<HelpTipWindow>(TipRequest{});
    tip_->Window.Open();
  }
  void TearDown() override { tip_.reset(); }

  std::vector<std::string> Compile(const std::string& text) {
    VTH.HELPTIP = text;
    tip_->LoadCtlQueueRtn();
    return DumpControls(*tip_);
  }

  // The steps of a build that concern the queues (the controls themselves left out).
  void Build(const std::string& text) {
    VTH.HELPTIP = text;
    tip_->LoadCtlQueueRtn();
    tip_->LoadSettingsQueueRtn();
    tip_->MoveTextToSettings();
  }

  int32_t EditWidth() const { return tip_->Window.GetPropInt(kHelpTip, rt::kPropWidth); }
  int32_t WindowWidth() const { return tip_->Window.GetPropInt(0, rt::kPropWidth); }

  rt::RuntimeThread thread_;
  std::unique_ptr<HelpTipWindow> tip_;
};

TEST_F(CompilerTest, OneLineGivesOneNumberedEntry) {
  EXPECT_EQ(Compile("Hello"), (std::vector<std::string>{"String|S  1|Hello|1|1"}));
  EXPECT_EQ(tip_->CURRENTCONTROL, kFirstTipField);
}

TEST_F(CompilerTest, EntriesOfALineFormOneRowAndLinesCountFromOne) {
  EXPECT_EQ(Compile("<B1>Help\r\n\r\n<HR>\r\na|b"),
            (std::vector<std::string>{"BUTTON|B1||1|1", "String|S  1|Help|2|1", "String|||3|2",
                                      "Line|||4|3", "String|S  2|a|5|4", "String|S  3|b|6|4"}));
}

TEST_F(CompilerTest, ALongParagraphGivesOneRowPerDisplayedLine) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
  const std::vector<std::string> entries = Compile(text);
  const int32_t lines = tip_->Window.GetPropInt(kHelpTip, rt::kPropLineCount);
  ASSERT_GT(lines, 3);
  ASSERT_EQ(entries.size(), static_cast<size_t>(lines));
  std::string words;
  for (int32_t i = 1; i <= lines; ++i) {
    tip_->CONTROLQUEUE.Get(i);
    EXPECT_EQ(tip_->CTL.LINE, i);
    EXPECT_EQ(tip_->CTL.TEXT.clip(),
              rt::detail::ClipBlanks(tip_->Window.GetProp(kHelpTip, rt::kPropLine, i)));
    words += tip_->CTL.TEXT.str() + " ";
  }
  std::istringstream a(text), b(words);
  EXPECT_EQ(std::vector<std::string>(std::istream_iterator<std::string>(a), {}),
            std::vector<std::string>(std::istream_iterator<std::string>(b), {}));
}

struct WidthCase {
  int16_t stored;
  int32_t window, edit;
};

class StoredWidthTest : public CompilerTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(StoredWidthTest, SetsTheWindowAndTheEditControl) {
  SetStoredWidth(VTH.OTHER, GetParam().stored);
  Compile("Hello");
  EXPECT_EQ(WindowWidth(), GetParam().window);
  EXPECT_EQ(EditWidth(), GetParam().edit);
}

INSTANTIATE_TEST_SUITE_P(Widths, StoredWidthTest,
                         ::testing::Values(WidthCase{300, 300, 290}, WidthCase{100, 169, 159},
                                           WidthCase{-20, 169, 159}, WidthCase{499, 499, 489},
                                           WidthCase{500, 169, 160}, WidthCase{0, 169, 160},
                                           WidthCase{0x2020, 169, 160}));

TEST_F(CompilerTest, UnusedStoredWidthSetsTheMinimumSize) {
  Compile("Hello");
  EXPECT_EQ(tip_->Window.GetPropInt(0, rt::kPropMinWidth), 169);
  EXPECT_EQ(tip_->Window.GetPropInt(0, rt::kPropMinHeight), 165);
}

TEST_F(CompilerTest, TextWrapsAtTheStoredWidth) {
  const std::string text =
      std::string(60, 'x') + " " + std::string(60, 'y') + " " + std::string(60, 'z');
  const size_t narrow = Compile(text).size();
  SetStoredWidth(VTH.OTHER, 499);
  const size_t wide = Compile(text).size();
  EXPECT_LT(wide, narrow);
}

// The texts of a message box: its lines, then its caption.
std::string MessageShown(const rt::Window& box) {
  std::string lines;
  for (const auto& c : box.controls())
    if (c->type == rt::kCreateString) lines += (lines.empty() ? "" : "|") + c->text;
  return lines + " / " + box.caption();
}

TEST_F(CompilerTest, UnclosedTagsAreReportedWithTheirLineAndCompilationGoesOn) {
  std::vector<std::string> entries;
  std::string icon;
  const int32_t t = rt::Start([&] {
    HelpTipWindow tip(TipRequest{});
    tip.Window.Open();
    VTH.HELPTIP = "<H1 more text\r\n<http://x> <B12345>";
    tip.LoadCtlQueueRtn();
    entries = DumpControls(tip);
  });
  for (const char* line : {"Line:1", "Line:2"}) {
    rt::Window* box = rt::harness::WaitForCaption("Vistip - Control Formatting");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageShown(*box),
              std::string("Control not completed|") + line + " / Vistip - Control Formatting");
    for (const auto& c : box->controls())
      if (c->type == rt::kCreateImage) icon = c->icon;
    EXPECT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  }
  ASSERT_TRUE(rt::Join(t));
  EXPECT_EQ(icon, "~asterisk");
  EXPECT_EQ(entries,
            (std::vector<std::string>{"HTTP|HTTP1|http://x|1|2", "REGION|Region1|http://x|2|2",
                                      "String|S  1||3|2", "String|S  2|5>|4|2"}));
}

TEST_F(CompilerTest, ASettingFollowsItsTextToTheRenumberedRun) {
  tip_->SETTINGS1 = "[S  2]FONT;Arial,12,0,700\xAB";
  Build("Hello|World");
  tip_->SETTINGSQUEUE.Get(1);
  EXPECT_EQ(tip_->SET.TEXT.str(), "World");
  Build("New|Hello|World");
  EXPECT_EQ(tip_->SETTINGS1.str(), "[S  3]FONT;Arial,12,0,700\xAB");
  ASSERT_EQ(tip_->SETTINGSQUEUE.Records(), 1);
  tip_->SETTINGSQUEUE.Get(1);
  EXPECT_EQ(tip_->SET.CONTROLNAME.str(), "S  3");
}

TEST_F(CompilerTest, ARowWhoseControlAndTextAreGoneIsDeletedAndTheNextStillMoves) {
  tip_->SETTINGS1 = "[S  2]FONT;a\xAB[S  3]FONT;b\xAB";
  Build("Keep|Gone|Moved");
  Build("Moved");
  EXPECT_EQ(tip_->SETTINGS1.str(), "[S  1]FONT;b\xAB");
}

TEST_F(CompilerTest, ARowWhoseControlRemainsWithANewTextKeepsItsName) {
  tip_->SETTINGS1 = "[S  2]FONT;a\xAB";
  Build("Hello|World");
  Build("Hello|Earth");
  EXPECT_EQ(tip_->SETTINGS1.str(), "[S  2]FONT;a\xAB");
  tip_->SETTINGSQUEUE.Get(1);
  EXPECT_EQ(tip_->SET.TEXT.str(), "Earth");
}

}  // namespace
}  // namespace vistip::tipwindow
