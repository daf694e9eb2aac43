// The settings dialog end to end: each page's size and button row, and what "&Ok", "&Cancel"
// and the close control leave in SETTINGSQUEUE.
#include "settings_fixture.h"

namespace vistip::settings::testing {
namespace {

struct PageCase {
  const char* type;
  int32_t height, buttons_y;
};

class PageSizeTest : public SettingsTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageSizeTest, ThePageSetsTheHeightAndTheButtonRow) {
  ASSERT_NE(Open("C", GetParam().type, {}), nullptr);
  EXPECT_EQ(window_->caption(), "Update Control Settings");
  EXPECT_EQ(window_->width(), kDialogWidth);
  EXPECT_EQ(window_->height(), GetParam().height);
  EXPECT_EQ(window_->GetPropInt(kOkButton, rt::kPropY), GetParam().buttons_y);
  EXPECT_EQ(window_->GetPropInt(kCancelButton, rt::kPropY), GetParam().buttons_y);
  EXPECT_EQ(window_->GetPropInt(kOkButton, rt::kPropX), 11);
  EXPECT_EQ(window_->GetPropInt(kCancelButton, rt::kPropX), 45);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageSizeTest,
                         ::testing::Values(PageCase{"STRING", 27, 12}, PageCase{"string ", 27, 12},
                                           PageCase{"HTTP", 39, 24}, PageCase{"LNK", 99, 74},
                                           PageCase{"BUTTON", 124, 95}, PageCase{"BULLET", 124, 95},
                                           PageCase{"ENTRY", 124, 95}));

TEST_F(SettingsTest, TheLinkChooserShowsOnlyOnTheLinkPage) {
  ASSERT_NE(Open("C", "HTTP", {}), nullptr);
  for (int32_t field : {kLinkPrompt, kLinkCombo, kProcedureName, kProcedurePrompt})
    EXPECT_FALSE(Visible(field)) << field;
  EXPECT_TRUE(Visible(202));
  EXPECT_EQ(Shown(202), "Click here...");
  EXPECT_EQ(Shown(201), "&Tooltip:");
}

TEST_F(SettingsTest, OkInsertsNewSettingsInKeyOrderAndReplacesExistingOnesInPlace) {
  const std::vector<Row> before = {{"A", "TOOLTIP", "a", "ta"},
                                   {"B", "CALL", "EXEold", "tb"},
                                   {"B", "TOOLTIP", "old", "tb"},
                                   {"C", "TOOLTIP", "c", "tc"}};
  const std::string long_text(100, 'x');
  ASSERT_NE(Open("B", "BUTTON", before, long_text), nullptr);
  EXPECT_EQ(Shown(202), "old");
  TypeInto(202, "er");
  TypeInto(207, " -v");
  const std::string cut(80, 'x');
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"A", "TOOLTIP", "a", "ta"},
                                            {"B", "CALL", "EXEold -v", cut},
                                            {"B", "TOOLTIP", "older", cut},
                                            {"C", "TOOLTIP", "c", "tc"}}));
}

TEST_F(SettingsTest, TheEntryPointRunsTheDialogOnTheCallingThread) {
  ASSERT_NE(Open("B", "HTTP", {{"B", "TOOLTIP", "old", ""}}, "t", true), nullptr);
  EXPECT_EQ(Shown(202), "old");
  TypeInto(202, "er");
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"B", "TOOLTIP", "older", "t"}}));
  EXPECT_EQ(LINKTIP.USED, 0);
}

TEST_F(SettingsTest, OkAddsTheSettingsOfANewControlBetweenItsNeighbours) {
  const std::vector<Row> before = {{"A", "TOOLTIP", "a", ""}, {"C", "TOOLTIP", "c", ""}};
  ASSERT_NE(Open("B", "HTTP", before), nullptr);
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"A", "TOOLTIP", "a", ""},
                                            {"B", "TOOLTIP", "Click here...", "the text"},
                                            {"C", "TOOLTIP", "c", ""}}));
}

TEST_F(SettingsTest, AnEmptiedTooltipIsWrittenEmpty) {
  ASSERT_NE(Open("B", "HTTP", {{"B", "TOOLTIP", "x", ""}}), nullptr);
  rt::harness::Click(*window_, 202);
  rt::harness::Press(*window_, rt::kBackspaceKey);
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"B", "TOOLTIP", "", "the text"}}));
}

TEST_F(SettingsTest, CancelChangesNothing) {
  const std::vector<Row> before = {{"B", "TOOLTIP", "old", "t"}};
  ASSERT_NE(Open("B", "BUTTON", before), nullptr);
  TypeInto(202, "er");
  EXPECT_EQ(Press("&Cancel"), before);
}

TEST_F(SettingsTest, TheCloseControlChangesNothing) {
  const std::vector<Row> before = {{"B", "TOOLTIP", "old", "t"}};
  ASSERT_NE(Open("B", "LNK", before), nullptr);
  TypeInto(202, "er");
  rt::harness::CloseWindow(*window_);
  EXPECT_EQ(Finish(), before);
}

class NoSettingsTest : public SettingsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoSettingsTest, OkChangesNothing) {
  const std::vector<Row> before = {{"B", "TOOLTIP", "old", "t"}, {"B", "FONT", ",,,", "t"}};
  ASSERT_NE(Open("B", GetParam(), before), nullptr);
  EXPECT_EQ(window_->LastField(), kCancelButton);  // no page controls
  EXPECT_EQ(Press("&Ok"), before);
}

INSTANTIATE_TEST_SUITE_P(Types, NoSettingsTest, ::testing::Values("BULLET", "ENTRY", ""));

}  // namespace
}  // namespace vistip::settings::testing
