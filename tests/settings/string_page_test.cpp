// The string page: the font string split for the font dialog, and the dialog's choice written
// back as a font string.
#include "settings_fixture.h"

namespace vistip::settings::testing {
namespace {

constexpr int32_t kFontEntry = 202, kFontButton = 203;

struct FontCase {
  const char* text;
  const char* typeface;
  int32_t size, color, style;
};

class UnstringFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(UnstringFontTest, SplitsTheFontString) {
  rt::RuntimeThread runtime;
  const CtlRecord control;
  rt::Queue<SetRecord> rows;
  UpdControlSetting dialog(control, rows);
  dialog.ENTRYFIELD[kFirstEntry] = GetParam().text;
  dialog.UnstringFont();
  EXPECT_EQ(dialog.LOC.TYPEFACE, GetParam().typeface);
  EXPECT_EQ(dialog.LOC.SIZE, GetParam().size);
  EXPECT_EQ(dialog.LOC.COLOR, GetParam().color);
  EXPECT_EQ(dialog.LOC.STYLE, GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Fonts, UnstringFontTest,
                         ::testing::Values(FontCase{"Arial,10,255,700", "Arial", 10, 255, 700},
                                           FontCase{",,,", "", 0, 0, 0},
                                           FontCase{"Arial,10", "Arial", 0, 0, 10},
                                           FontCase{"Arial,10,255,700,5", "Arial", 10, 255, 7005},
                                           FontCase{"Arial", "Arial", 0, 0, 0}));

TEST_F(SettingsTest, AStringWithoutFontShowsTheEmptyFontString) {
  ASSERT_NE(Open("S", "STRING", {}), nullptr);
  EXPECT_EQ(Shown(201), "&Font:");
  EXPECT_EQ(Shown(kFontEntry), ",,,");
  EXPECT_EQ(Shown(kFontButton), "...");
  EXPECT_EQ(window_->GetPropInt(kFontButton, rt::kPropX), 226);
}

TEST_F(SettingsTest, TheFontDialogsChoiceBecomesTheFontString) {
  ASSERT_NE(Open("S", "STRING", {{"S", "TOOLTIP", "t", ""}}), nullptr);
  rt::harness::Click(*window_, kFontButton);
  rt::Window* font = rt::harness::WaitForCaption("Select the Font for this String");
  ASSERT_NE(font, nullptr);
  rt::harness::Settle();
  rt::harness::Click(*font, 2);  // the typeface entry
  rt::harness::Type(*font, "Arial");
  rt::harness::Click(*font, 10);  // the size entry
  rt::harness::Type(*font, "10");
  rt::harness::Click(*font, 5);       // Bold
  rt::harness::Click(*font, 46 + 9);  // the red swatch
  ASSERT_TRUE(rt::harness::ClickButton(*font, "&OK"));
  EXPECT_EQ(Shown(kFontEntry), "Arial,10,255,700");
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"S", "FONT", "Arial,10,255,700", "the text"},
                                            {"S", "TOOLTIP", "t", ""}}));
}

TEST_F(SettingsTest, OnlyAPressOfTheButtonOpensTheFontDialog) {
  ASSERT_NE(Open("S", "STRING", {}), nullptr);
  rt::harness::Focus(*window_, kFontButton);
  rt::harness::Focus(*window_, kFontEntry);
  for (const rt::Window* w : rt::OpenWindows())
    EXPECT_NE(w->caption(), "Select the Font for this String");
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"S", "FONT", ",,,", "the text"}}));
}

TEST_F(SettingsTest, ACancelledFontDialogChangesNothing) {
  ASSERT_NE(Open("S", "STRING", {{"S", "FONT", "Courier,9,0,400", ""}}), nullptr);
  rt::harness::Click(*window_, kFontButton);
  rt::Window* font = rt::harness::WaitForCaption("Select the Font for this String");
  ASSERT_NE(font, nullptr);
  rt::harness::Settle();
  rt::harness::Click(*font, 5);
  ASSERT_TRUE(rt::harness::ClickButton(*font, "&Cancel"));
  EXPECT_EQ(Shown(kFontEntry), "Courier,9,0,400");
}

}  // namespace
}  // namespace vistip::settings::testing
