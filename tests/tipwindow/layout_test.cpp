// The shown tip's layout: rows, rules, the window's height and width, buttons, bullets, links
// with their regions, fonts and tool tips, and the window's place beside the control.
#include "tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

class LayoutTest : public TipWindowTest {
 protected:
  rt::Window* ShowTip(const std::string& text, const std::string& settings = "",
                      int16_t width = 0) {
    TipFile("tips.tps").Create({{"P", "C", "ENTRY", text, settings, width}});
    Request("P", "C", "ENTRY");
    return Show();
  }
  int32_t WindowHeight() { return window_->height(); }
  int32_t WindowWidth() { return window_->width(); }
};

std::string Lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "Line " + std::to_string(i) + "\r\n";
  return text.substr(0, text.size() - 2);
}

TEST_F(LayoutTest, RowsAreNineApartFromFiveAndTheWindowTenBelowTheContent) {
  ASSERT_NE(ShowTip("A\r\nB\r\nC"), nullptr);
  EXPECT_EQ(Ctl(300).x, 11);
  EXPECT_EQ(Ctl(300).y, 5);
  EXPECT_EQ(Ctl(301).y, 14);
  EXPECT_EQ(Ctl(302).y, 23);
  EXPECT_EQ(WindowHeight(), 23 + 5 + 10);
}

TEST_F(LayoutTest, ARuleRowIsFiveHighWithItsPanelTwoBelowAcrossTheMiddleHalf) {
  ASSERT_NE(ShowTip("A\r\n<HR>\r\nB"), nullptr);
  const rt::Control& rule = Ctl(301);
  EXPECT_EQ(rule.type, rt::kCreatePanel);
  EXPECT_EQ(rule.y, 14 + 2);
  EXPECT_EQ(rule.x, WindowWidth() / 4);
  EXPECT_EQ(rule.w, WindowWidth() / 2);
  EXPECT_EQ(rule.h, 2);
  EXPECT_EQ(Ctl(302).y, 14 + 5);
  EXPECT_EQ(WindowHeight(), 19 + 5 + 10);
}

TEST_F(LayoutTest, ContentOf235GivesAWindowOf245) {
  ASSERT_NE(ShowTip(Lines(26)), nullptr);  // 5 + 25 * 9 + 5
  EXPECT_EQ(WindowHeight(), 245);
}

TEST_F(LayoutTest, ContentOver235GivesAWindowOf235AndABoxAsTallAsTheContent) {
  ASSERT_NE(ShowTip(Lines(27)), nullptr);
  EXPECT_EQ(WindowHeight(), 235);
  EXPECT_EQ(Ctl(kBox1).h, 244);
  EXPECT_EQ(Ctl(kBox1).w, WindowWidth());
}

struct WidthCase {
  int16_t stored;
  int32_t window, edit;
};
class StoredWidthLayoutTest : public LayoutTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(StoredWidthLayoutTest, SetsTheWindowAndItsEditControl) {
  ASSERT_NE(ShowTip("Hello", "", GetParam().stored), nullptr);
  EXPECT_EQ(WindowWidth(), GetParam().window);
  EXPECT_EQ(Width(kHelpTip), GetParam().edit);
}
INSTANTIATE_TEST_SUITE_P(Widths, StoredWidthLayoutTest,
                         ::testing::Values(WidthCase{300, 300, 290}, WidthCase{100, 169, 159},
                                           WidthCase{499, 499, 489}, WidthCase{500, 169, 160},
                                           WidthCase{0, 169, 160}));

TEST_F(LayoutTest, AButtonIsNineSquareWithTwoBeforeAndTwoAfter) {
  ASSERT_NE(ShowTip("<B1>x", "[B1]TOOLTIP;Run it\xAB"), nullptr);
  const rt::Control& button = Ctl(300);
  EXPECT_EQ(button.type, rt::kCreateButton);
  EXPECT_EQ(button.x, 13);
  EXPECT_EQ(Width(300), 9);
  EXPECT_EQ(window_->GetPropInt(300, rt::kPropHeight), 9);
  EXPECT_EQ(Ctl(301).x, 11 + 2 + 9 + 2);
  EXPECT_EQ(button.tooltip, "Run it");
  EXPECT_EQ(button.cursor, "~hand.cur");
}

TEST_F(LayoutTest, ABulletTakesItsWidthAndThree) {
  ASSERT_NE(ShowTip("<T1>x"), nullptr);
  EXPECT_EQ(Ctl(300).text, "\xA7");
  EXPECT_EQ(Ctl(300).font.typeface, "Wingdings");
  EXPECT_EQ(Ctl(301).x, 11 + Width(300) + 3);
}

TEST_F(LayoutTest, ALinkIsBlueUnderlinedWithAHandAndItsRegionExactlyOverIt) {
  ASSERT_NE(ShowTip("x <LNK:Go there><http://a.b>", "[HTTP1]TOOLTIP;Open it\xAB"), nullptr);
  for (const int32_t text : {301, 303}) {
    const rt::Control& link = Ctl(text);
    const rt::Control& region = Ctl(text + 1);
    EXPECT_EQ(link.type, rt::kCreatePrompt);
    EXPECT_EQ(link.font.color, 0xFF0000);
    EXPECT_EQ(link.font.style, 0x2000);
    EXPECT_EQ(link.cursor, "~hand.cur");
    EXPECT_EQ(region.type, rt::kCreateRegion);
    EXPECT_EQ(region.cursor, "~hand.cur");
    EXPECT_EQ(region.x, link.x);
    EXPECT_EQ(region.y, link.y);
    EXPECT_EQ(region.w, Width(text));
    EXPECT_EQ(region.h, 10);
    EXPECT_EQ(window_->GetPropInt(text, rt::kPropHeight), 10);
  }
  EXPECT_EQ(Ctl(301).x, 11 + Width(300) + 2);
  EXPECT_EQ(Ctl(302).tooltip, "Click here..");  // no TOOLTIP row
  EXPECT_EQ(Ctl(304).tooltip, "Open it");
  EXPECT_EQ(Ctl(300).tooltip, "");  // a text run has none
}

TEST_F(LayoutTest, AFontRowGivesTheRunAllFourValues) {
  ASSERT_NE(ShowTip("Big|small", "[S  1]FONT;Arial,12,255,700\xAB"), nullptr);
  EXPECT_EQ(Ctl(300).font, (rt::Font{"Arial", 12, 255, 700}));
  EXPECT_FALSE(Ctl(301).own_font);
  EXPECT_EQ(Ctl(301).x, 11 + Width(300));
}

TEST_F(LayoutTest, TheWindowIsHiddenUntilBuiltAndCoveredByTheCloseRegion) {
  ASSERT_NE(ShowTip("Hello"), nullptr);
  EXPECT_TRUE(was_hidden_);
  EXPECT_FALSE(window_->hidden());
  const rt::Control& close = Ctl(kCloseRegion);
  EXPECT_EQ(close.type, rt::kCreateRegion);
  EXPECT_EQ(close.w, WindowWidth());
  EXPECT_EQ(close.h, WindowHeight());
  EXPECT_EQ(close.alerts.at(1), rt::kMouseLeft);
  EXPECT_FALSE(close.hidden);
}

TEST_F(LayoutTest, TheTipGoesAboveAndLeftOfTheControl) {
  POS.X = 600;
  POS.Y = 500;
  ASSERT_NE(ShowTip("Hello"), nullptr);
  EXPECT_EQ(window_->x(), 600 - WindowWidth() - 2);
  EXPECT_EQ(window_->y(), 500 - WindowHeight() - 2);
}

TEST_F(LayoutTest, NearTheTopAndLeftEdgesTheRuntimesPlaceIsKept) {
  POS.X = 5;
  POS.Y = 5;
  ASSERT_NE(ShowTip("Hello"), nullptr);
  EXPECT_EQ(window_->x(), first_x_);
  EXPECT_EQ(window_->y(), first_y_);
}

TEST_F(LayoutTest, VariableWidthFollowsTheContentButNotBelowTheMinimum) {
  GLO.VTVARIABLEWIDTH = 1;
  // Lines break at the edit control's font; a larger font makes the row wider than the window.
  ASSERT_NE(ShowTip("Some words in a big font", "[S  1]FONT;Arial,24,0,400\xAB"), nullptr);
  const int32_t right = 11 + Width(300);
  ASSERT_GT(right, 169);
  EXPECT_EQ(WindowWidth(), right + 20);
  EXPECT_EQ(Ctl(kSheet1).w, right);
  EXPECT_EQ(Ctl(kBox1).w, right + 20);
  CloseTip();
  ASSERT_NE(ShowTip("Hi"), nullptr);
  EXPECT_EQ(WindowWidth(), 169);
}

TEST_F(LayoutTest, TheHostsCaptionShowsOnTheTip) {
  GLO.VTWINDOWCAPTION = "Tip Caption";
  ASSERT_NE(ShowTip("Hello"), nullptr);
  EXPECT_EQ(window_->caption(), "Tip Caption");
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropSystemMenu), 1);
}

}  // namespace
}  // namespace vistip::tipwindow::testing
