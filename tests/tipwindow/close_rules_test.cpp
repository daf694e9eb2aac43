// When the tip window closes: a click on its background, the loss of the focus; what keeps it
// open; and two tip windows on two threads sharing the tip file.
#include "tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

class CloseRulesTest : public TipWindowTest {
 protected:
  rt::Window* ShowTip() {
    TipFile("tips.tps").Create({{"P", "C", "ENTRY", "Hello tip", ""}});
    Request("P", "C", "ENTRY");
    return Show();
  }
};

TEST_F(CloseRulesTest, ABackgroundClickCloses) {
  ASSERT_NE(ShowTip(), nullptr);
  rt::harness::ClickAt(*window_, 150, 8);
  EXPECT_TRUE(TipClosed());
}

TEST_F(CloseRulesTest, ABackgroundClickKeepsItOpenWhenItStaysOpen) {
  GLO.VTSTAYOPEN = 1;
  ASSERT_NE(ShowTip(), nullptr);
  rt::harness::ClickAt(*window_, 150, 8);
  EXPECT_TRUE(TipOpen());
}

TEST_F(CloseRulesTest, LosingTheFocusCloses) {
  ASSERT_NE(ShowTip(), nullptr);
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipClosed());
}

struct KeepCase {
  const char* label;
  uint8_t HelpTipWindow::*flag;
};

class KeptOpenTest : public CloseRulesTest, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(KeptOpenTest, LosingTheFocusKeepsItOpen) {
  ASSERT_NE(ShowTip(), nullptr);
  (*tip_).*(GetParam().flag) = 1;
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipOpen());
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptOpenTest,
                         ::testing::Values(KeepCase{"Editing", &HelpTipWindow::EDITMODE},
                                           KeepCase{"Formatting",
                                                    &HelpTipWindow::CONTROLFORMATTING},
                                           KeepCase{"HelpCall", &HelpTipWindow::VISTIPCALL}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(CloseRulesTest, LosingTheFocusKeepsItOpenWhenItStaysOpen) {
  GLO.VTSTAYOPEN = 1;
  ASSERT_NE(ShowTip(), nullptr);
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipOpen());
}

TEST_F(CloseRulesTest, AfterTheHelpViewerGaveTheFocusBackTheNextLossCloses) {
  std::filesystem::copy_file(VISTIP_HELP_FILE, dir_ / "Vistip.hlp");
  ASSERT_NE(ShowTip(), nullptr);
  rt::harness::Press(*window_, rt::kF1Key);  // F1 is Alt+H
  rt::Window* viewer = rt::harness::WaitForCaption("Help - Vistip.hlp");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(rt::WaitFor([&] { return rt::harness::ShownText(*viewer, 3) == "Contents"; }));
  EXPECT_TRUE(TipOpen());  // the viewer took the focus
  rt::harness::FocusBack(*window_);
  EXPECT_EQ(tip_->VISTIPCALL, 0);
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipClosed());
}

TEST_F(CloseRulesTest, TwoWindowsShareTheFileAndKeepTheirOwnHistories) {
  TipFile("tips.tps")
      .Create({{"P", "C", "ENTRY", "First <LNK:B>"},
               {"P", "D", "ENTRY", "Second <LNK:B>"},
               {"", "B", "", "Tip B"}});
  GLO.VTSTAYOPEN = 1;
  Request("P", "C", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  rt::Window* first = window_;
  Request("P", "D", "ENTRY");
  extra_.emplace_back();
  rt::Window* second = Show(extra_[0].first, extra_[0].second);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(VISTIP.USED, 2);
  // A link in the first window: its history holds its own tip, not the second's request.
  rt::harness::Click(*first, rt::harness::FieldWithText(*first, "B") + 1);
  EXPECT_NE(rt::harness::FieldWithText(*first, "Tip B"), 0);
  EXPECT_NE(rt::harness::FieldWithText(*second, "Second"), 0);
  ASSERT_EQ(tip_->HISTORYQUEUE.Records(), 1);
  tip_->HISTORYQUEUE.Get(1);
  EXPECT_EQ(tip_->HIS.CONTROLNAME.str(), "C");
  EXPECT_EQ(extra_[0].first->HISTORYQUEUE.Records(), 0);
  CloseTip();
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.USED, 1);
  CloseOne(extra_[0].second, extra_[0].first);
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_EQ(VISTIP.USED, 0);
}

}  // namespace
}  // namespace vistip::tipwindow::testing
