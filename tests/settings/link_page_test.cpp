// The link page: the "Link to Tip:" list over the tip file, and the link target "&Ok" writes.
#include "settings_fixture.h"

namespace vistip::settings::testing {
namespace {

std::vector<std::string> ListRows(const rt::Window& w) {
  std::vector<std::string> rows;
  const rt::Control* combo = w.Find(kLinkCombo);
  for (size_t r = 1; combo->from && r <= combo->from->Rows(); ++r)
    rows.push_back(combo->from->Cell(r, 1) + "|" + combo->from->Cell(r, 2) + "|" +
                   combo->from->Cell(r, 3));
  return rows;
}

class LinkPageTest : public SettingsTest {
 protected:
  void WriteTips() {
    TipFile("tips.tps")
        .Create({{"P1", "zeta", "BUTTON", "z", ""},
                 {"P2", "alpha", "ENTRY", "a", ""},
                 {"P1", "mid", "LIST", "m", ""}});
  }
  const std::vector<Row> link_ = {
      {"L", "LINKTIPCTL", "old", ""}, {"L", "LINKTIPPROC", "PX", ""}, {"L", "TOOLTIP", "go", ""}};
};

TEST_F(LinkPageTest, TheListShowsTheFilesTipsSortedByControlName) {
  WriteTips();
  ASSERT_NE(Open("L", "LNK", link_), nullptr);
  EXPECT_EQ(ListRows(*window_),
            (std::vector<std::string>{"alpha|P2|ENTRY", "mid|P1|LIST", "zeta|P1|BUTTON"}));
  for (int32_t field : {kLinkPrompt, kLinkCombo, kProcedureName, kProcedurePrompt})
    EXPECT_TRUE(Visible(field)) << field;
  EXPECT_EQ(window_->Find(kLinkCombo)->format, kLinkListFormat);
  EXPECT_EQ(Shown(kProcedureName), "PX");
  EXPECT_EQ(Shown(202), "go");
}

TEST_F(LinkPageTest, ChoosingARowTakesItsControlNameAndTheEntrysProcedureName) {
  WriteTips();
  ASSERT_NE(Open("L", "LNK", link_), nullptr);
  rt::harness::ChooseRow(*window_, kLinkCombo, 1);
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"L", "LINKTIPCTL", "alpha", "the text"},
                                            {"L", "LINKTIPPROC", "PX", "the text"},
                                            {"L", "TOOLTIP", "go", "the text"}}));
}

TEST_F(LinkPageTest, ATypedControlNameIsTakenWhetherOrNotTheListHasIt) {
  WriteTips();
  ASSERT_NE(Open("L", "LNK", link_), nullptr);
  rt::harness::Click(*window_, kLinkCombo);
  for (int i = 0; i < 3; ++i) rt::harness::Press(*window_, rt::kBackspaceKey);
  rt::harness::Type(*window_, "nowhere");
  const std::vector<Row> rows = Press("&Ok");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (Row{"L", "LINKTIPCTL", "nowhere", "the text"}));
  EXPECT_EQ(rows[1], (Row{"L", "LINKTIPPROC", "PX", "the text"}));
}

TEST_F(LinkPageTest, AProcedureNameTypedAloneDoesNotChangeTheLink) {
  WriteTips();
  ASSERT_NE(Open("L", "LNK", link_), nullptr);
  TypeInto(kProcedureName, "Y");
  const std::vector<Row> rows = Press("&Ok");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].setting, "PX");
}

TEST_F(LinkPageTest, AnEmptyTipFileGivesAnEmptyListAndKeepsTheStoredNames) {
  TipFile("tips.tps").Create({});
  ASSERT_NE(Open("L", "LNK", link_), nullptr);
  EXPECT_TRUE(ListRows(*window_).empty());
  EXPECT_EQ(Shown(kLinkCombo), "old");
  EXPECT_EQ(Shown(kProcedureName), "PX");
  std::vector<Row> expected = link_;
  for (Row& r : expected) r.text = "the text";
  EXPECT_EQ(Press("&Ok"), expected);
}

TEST_F(LinkPageTest, ALinkWithoutSettingsWritesBlankNames) {
  ASSERT_NE(Open("L", "LNK", {}), nullptr);  // no tip file yet: the dialog creates it
  EXPECT_EQ(Shown(202), "Click here...");
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"L", "LINKTIPCTL", "", "the text"},
                                            {"L", "LINKTIPPROC", "", "the text"},
                                            {"L", "TOOLTIP", "Click here...", "the text"}}));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "tips.tps"));
  EXPECT_EQ(LINKTIP.USED, 0);
  EXPECT_FALSE(LINKTIP.IsOpen());
}

}  // namespace
}  // namespace vistip::settings::testing
