// Ok with another tip window of the process open: the record buffer and the file's current
// record are the whole process's, yet an edit reaches only the tip of its own window; and a
// write the file refuses is reported and keeps the edit tab with what was typed.
#include <sqlite3.h>

#include "edit_tab_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

const Tip kMine{"P", "C", "ENTRY", "Old tip"};
const Tip kOther{"P", "D", "ENTRY", "Other tip"};

struct SharedCase {
  const char* label;
  std::string text;
  std::vector<std::string> file;
};

void PrintTo(const SharedCase& c, std::ostream* os) {
  *os << c.label;
}

class SharedBufferTest : public EditTabTest, public ::testing::WithParamInterface<SharedCase> {
 protected:
  // The tip of this test's window is shown first; then a second window reads another tip (into
  // the shared record buffer, whose contents each window puts back as it takes an event: so
  // which tip it holds afterwards depends on timing, and the window's own copy is checked).
  void ShowBoth() {
    GLO.VTSTAYOPEN = 1;
    ASSERT_NE(ShowTip({kMine, kOther}), nullptr);
    Request("P", "D", "ENTRY");
    extra_.emplace_back();
    ASSERT_NE(Show(extra_.back().first, extra_.back().second), nullptr);
    ASSERT_EQ(extra_.back().first->SHOWNTIP.CONTROLNAME.str(), "D");
  }
};

TEST_P(SharedBufferTest, OkWritesTheTipOfItsOwnWindow) {
  ShowBoth();
  Edit();
  EXPECT_EQ(rt::harness::ShownText(*window_, kControlName), "C");
  EXPECT_EQ(rt::harness::ShownText(*window_, kHelpTip), "Old tip");
  Replace(kHelpTip, GetParam().text);
  Ok();
  EXPECT_EQ(Keys(FileTips()), GetParam().file);
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharedBufferTest,
    ::testing::Values(SharedCase{"ANewText", "Edited", {"P|C|ENTRY|Edited", "P|D|ENTRY|Other tip"}},
                      SharedCase{"AClearedText", "", {"P|D|ENTRY|Other tip"}}),
    [](const auto& p) { return std::string(p.param.label); });

// The second window reads its tip while the first one's edit tab is open, between keystrokes:
// what is typed stays in the first window and Ok saves it under its own names.
TEST_F(SharedBufferTest, AnotherWindowReadingMidEditChangesNothingOfTheEdit) {
  GLO.VTSTAYOPEN = 1;
  ASSERT_NE(ShowTip({kMine, kOther}), nullptr);
  Edit();
  Replace(kHelpTip, "Half");
  Request("P", "D", "ENTRY");
  extra_.emplace_back();
  ASSERT_NE(Show(extra_.back().first, extra_.back().second), nullptr);
  ASSERT_EQ(extra_.back().first->SHOWNTIP.CONTROLNAME.str(), "D");
  rt::harness::Type(*window_, " more");
  EXPECT_EQ(rt::harness::ShownText(*window_, kHelpTip), "Half more");
  EXPECT_EQ(rt::harness::ShownText(*window_, kControlName), "C");
  rt::harness::Resize(*window_, 250, 165);
  Ok();
  EXPECT_FALSE(Editing());
  const std::vector<Tip> file = FileTips();
  EXPECT_EQ(Keys(file), (std::vector<std::string>{"P|C|ENTRY|Half more", "P|D|ENTRY|Other tip"}));
  ASSERT_EQ(file.size(), 2u);
  EXPECT_EQ(file[0].width, 250);
  EXPECT_EQ(file[1].width, 0);
  EXPECT_TRUE(Showing("Half more"));
}

TEST_F(EditTabTest, ARefusedWriteIsReportedAndTheEditStays) {
  ASSERT_NE(ShowTip({kMine}), nullptr);
  Edit();
  Replace(kHelpTip, "Kept");
  // Another writer holds the file for longer than a write waits.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open("tips.tps", &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  Ok();
  rt::Window* box = rt::harness::WaitForCaption("Record Retrieval Error");
  ASSERT_NE(box, nullptr);
  const std::string text = BoxText(*box);
  EXPECT_NE(text.find("(32)"), std::string::npos) << text;
  EXPECT_NE(text.find("tips.tps"), std::string::npos) << text;
  EXPECT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  rt::harness::Settle();
  EXPECT_TRUE(Editing());
  EXPECT_EQ(rt::harness::ShownText(*window_, kHelpTip), "Kept");
  EXPECT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Old tip"}));
  Ok();
  EXPECT_FALSE(Editing());
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Kept"}));
}

}  // namespace
}  // namespace vistip::tipwindow::testing
