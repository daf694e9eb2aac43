// Tip links and the history, end to end: a link without a target makes its own and tells the
// host once, back and forward over the visited tips, the arrows, and the settings of a tip
// that is not in the file yet.
#include "tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

class LinksTest : public TipWindowTest {
 protected:
  rt::Window* ShowTips(const std::vector<Tip>& tips) {
    TipFile("tips.tps").Create(tips);
    Request("P", "C", "ENTRY");
    return Show();
  }
  void ClickLink(const std::string& text) {
    const int32_t field = FieldOf(text);
    ASSERT_NE(field, 0) << text;
    rt::harness::Click(*window_, field + 1);  // the region over the link text
  }
  bool Showing(const std::string& text) { return FieldOf(text) != 0; }
};

TEST_F(LinksTest, ALinkWithoutTargetShowsTheTipNamedByItsTextAndTellsTheHostOnce) {
  ASSERT_NE(
      ShowTips({{"P", "C", "ENTRY", "See <LNK:Order Entry>"}, {"", "OrderEntry", "", "Order tip"}}),
      nullptr);
  ClickLink("Order Entry");
  EXPECT_TRUE(Showing("Order tip"));
  // The window's own request follows the link; the process-wide one stays the host's.
  EXPECT_EQ(tip_->REQUEST.NAMES.CONTROLNAME.str(), "OrderEntry");
  EXPECT_EQ(tip_->REQUEST.NAMES.PROCEDURENAME.str(), "");
  EXPECT_EQ(tip_->REQUEST.NAMES.CONTROLTYPE.str(), "");
  EXPECT_EQ(GLO.VTCONTROLNAME.str(), "C");
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{kEventTipAdded}));
  const std::vector<Tip> file = TipFile("tips.tps").Read();
  ASSERT_EQ(file.size(), 2u);
  EXPECT_EQ(file[0].settings, "[LNK1]LINKTIPPROC;\xABLINKTIPCTL;OrderEntry\xAB");
  EXPECT_EQ(file[0].text, "See <LNK:Order Entry>");
  // Back on the tip as read from the file again, the same link finds its target.
  rt::harness::Click(*window_, kBack);
  ASSERT_TRUE(Showing("Order Entry"));
  ClickLink("Order Entry");
  EXPECT_TRUE(Showing("Order tip"));
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{kEventTipAdded}));
}

// Another host process saves the shown tip before its link is first clicked: the settings
// write-back keeps that save. A changed text makes the settings stale, so they are not written;
// a changed width alone is kept beside the new settings.
TEST_F(LinksTest, TheSettingsWriteBackKeepsASaveMadeMeanwhileByAnotherProcess) {
  const Tip origin{"P", "C", "ENTRY", "See <LNK:Order Entry>"};
  const Tip target{"", "OrderEntry", "", "Order tip"};
  struct Case {
    Tip saved;
    std::string settings_after;
  };
  const Case cases[] = {
      {{"P", "C", "ENTRY", "Rewritten elsewhere", "", 0}, ""},
      {{"P", "C", "ENTRY", origin.text, "", 280},
       "[LNK1]LINKTIPPROC;\xABLINKTIPCTL;OrderEntry\xAB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved.text + " " + std::to_string(c.saved.width));
    ASSERT_NE(ShowTips({origin, target}), nullptr);
    TipFile("tips.tps").Rewrite(0, c.saved);
    ClickLink("Order Entry");
    EXPECT_TRUE(Showing("Order tip"));
    const std::vector<Tip> file = TipFile("tips.tps").Read();
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[0].text, c.saved.text);
    EXPECT_EQ(file[0].width, c.saved.width);
    EXPECT_EQ(file[0].settings, c.settings_after);
    CloseTip();
  }
}

TEST_F(LinksTest, ALinkWithATargetGoesThereWithoutWriting) {
  ASSERT_NE(
      ShowTips({{"P", "C", "ENTRY", "See <LNK:other>", "[LNK1]LINKTIPPROC;Q\xABLINKTIPCTL;D\xAB"},
                {"Q", "D", "ENTRY", "Target tip"}}),
      nullptr);
  ClickLink("other");
  EXPECT_TRUE(Showing("Target tip"));
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
  EXPECT_EQ(TipFile("tips.tps").Read()[0].settings, "[LNK1]LINKTIPPROC;Q\xABLINKTIPCTL;D\xAB");
}

TEST_F(LinksTest, BackReturnsToTheOriginAndForwardBecomesAvailable) {
  ASSERT_NE(ShowTips({{"P", "C", "ENTRY", "Origin <LNK:B>"},
                      {"", "B", "", "Tip B <LNK:C>"},
                      {"", "C", "", "Tip C"}}),
            nullptr);
  EXPECT_FALSE(rt::harness::Shown(*window_, kBack));  // empty history: no arrows
  EXPECT_FALSE(rt::harness::Shown(*window_, kForward));
  ClickLink("B");
  ASSERT_TRUE(Showing("Tip B"));
  EXPECT_TRUE(rt::harness::Shown(*window_, kBack));
  EXPECT_FALSE(Ctl(kBack).disabled);
  EXPECT_FALSE(rt::harness::Shown(*window_, kForward));
  EXPECT_EQ(Ctl(kBack).tooltip, "Click here to go to the previous Tip.");
  EXPECT_EQ(Ctl(kForward).tooltip, "Click here to go to the next Tip.");
  rt::harness::Click(*window_, kBack);
  ASSERT_TRUE(Showing("Origin"));
  EXPECT_TRUE(rt::harness::Shown(*window_, kForward));
  EXPECT_EQ(tip_->HISTORYQUEUE.Records(), 2);
  EXPECT_EQ(tip_->CURRENTHISTORYENTRY, 1);
  rt::harness::Click(*window_, kForward);
  EXPECT_TRUE(Showing("Tip B"));
  EXPECT_FALSE(rt::harness::Shown(*window_, kForward));
}

TEST_F(LinksTest, FollowingALinkFromTheCurrentEntryAddsNoSecondEntry) {
  ASSERT_NE(ShowTips({{"P", "C", "ENTRY", "Origin <LNK:B>"}, {"", "B", "", "Tip B"}}), nullptr);
  ClickLink("B");
  rt::harness::Click(*window_, kBack);
  ASSERT_TRUE(Showing("Origin"));
  ClickLink("B");  // from entry 1, which is the origin: the entries after it go
  EXPECT_TRUE(Showing("Tip B"));
  EXPECT_EQ(tip_->HISTORYQUEUE.Records(), 1);
  EXPECT_EQ(tip_->CURRENTHISTORYENTRY, 1);
}

TEST_F(LinksTest, AShownTypeTipIsNotOverwrittenByTheSettingsOfItsLinks) {
  ASSERT_NE(ShowTips({{"", "", "ENTRY", "Type tip <LNK:Next>"}, {"", "Next", "", "Next tip"}}),
            nullptr);
  ClickLink("Next");
  EXPECT_TRUE(Showing("Next tip"));
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{kEventTipAdded}));
  const std::vector<Tip> file = TipFile("tips.tps").Read();
  ASSERT_EQ(file.size(), 2u);
  EXPECT_EQ(file[0].procedure, "");
  EXPECT_EQ(file[0].control, "");
  EXPECT_EQ(file[0].settings, "");  // reaches the file with the tip's first save
}

TEST_F(LinksTest, ASharedTipKeepsItsBlankProcedureWhenItsSettingsAreWritten) {
  ASSERT_NE(ShowTips({{"", "C", "ENTRY", "Shared <LNK:Next>"}, {"", "Next", "", "Next tip"}}),
            nullptr);
  ClickLink("Next");
  const std::vector<Tip> file = TipFile("tips.tps").Read();
  ASSERT_EQ(file.size(), 2u);
  EXPECT_EQ(file[0].procedure, "");
  EXPECT_EQ(file[0].settings, "[LNK1]LINKTIPPROC;\xABLINKTIPCTL;Next\xAB");
}

}  // namespace
}  // namespace vistip::tipwindow::testing
