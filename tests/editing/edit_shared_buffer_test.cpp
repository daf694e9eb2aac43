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
  // The tip of this test's window is shown first; then a second window reads another tip.
  void ShowBoth() {
    GLO.VTSTAYOPEN = 1;
    ASSERT_NE(ShowTip({kMine, kOther}), nullptr);
    Request("P", "D", "ENTRY");
    extra_.emplace_back();
    ASSERT_NE(Show(extra_.back().first, extra_.back().second), nullptr);
    ASSERT_EQ(VTH.CONTROLNAME.str(), "D");
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
