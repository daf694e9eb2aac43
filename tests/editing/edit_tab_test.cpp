// Entering the edit tab: who may, what the window becomes, the key entries' insertion point,
// and the close rules that do not apply while editing.
#include "edit_tab_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

struct PermissionCase {
  const char* label;
  uint8_t can_edit;
  bool edit_tips_switch;
  bool permitted;
};

class PermissionTest : public EditTabTest, public ::testing::WithParamInterface<PermissionCase> {};

TEST_P(PermissionTest, AltEAndAltCFollowTheEditSwitch) {
  GLO.CANEDIT = GetParam().can_edit;
  if (GetParam().edit_tips_switch) rt::SetCommandLineForTesting({"host", "/EditTips"});
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Hello tip"}}), nullptr);
  const int32_t height = window_->height();
  if (!GetParam().permitted) PressKey(rt::AltKey('C'));
  Edit();
  if (GetParam().permitted) {
    EXPECT_TRUE(Editing());
    EXPECT_EQ(window_->caption(), "Edit Help Tip...");
    return;
  }
  // A refused key changes nothing: the tip is shown as before and no mode is on.
  EXPECT_EQ(tip_->EDITMODE, 0);
  EXPECT_EQ(tip_->CONTROLFORMATTING, 0);
  EXPECT_EQ(window_->caption(), "");
  EXPECT_EQ(window_->height(), height);
  EXPECT_TRUE(Showing("Hello tip"));
  EXPECT_TRUE(rt::harness::Shown(*window_, kCloseRegion));
  EXPECT_FALSE(rt::harness::Shown(*window_, kHelpTip));
  EXPECT_TRUE(Ctl(kTab2).hidden);
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Hello tip"}));
}

INSTANTIATE_TEST_SUITE_P(Matrix, PermissionTest,
                         ::testing::Values(PermissionCase{"ZeroAllows", 0, false, true},
                                           PermissionCase{"ZeroAllowsWithSwitch", 0, true, true},
                                           PermissionCase{"OneRefusesWithoutSwitch", 1, false,
                                                          false},
                                           PermissionCase{"OneAllowsWithSwitch", 1, true, true},
                                           PermissionCase{"TwoRefuses", 2, false, false},
                                           PermissionCase{"TwoRefusesWithSwitch", 2, true, false},
                                           PermissionCase{"OtherValuesAllow", 7, false, true}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(EditTabTest, AltETurnsTheTipIntoTheEditor) {
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Origin <LNK:B>"}, {"", "B", "", "Tip B"}}), nullptr);
  rt::harness::Click(*window_, FieldOf("B") + 1);  // a link: the history arrows show
  ASSERT_TRUE(Showing("Tip B"));
  ASSERT_TRUE(rt::harness::Shown(*window_, kBack));
  const int32_t width = window_->width();
  Edit();
  EXPECT_EQ(tip_->EDITMODE, 1);
  EXPECT_EQ(tip_->HELPISLOADED, 0);
  EXPECT_EQ(window_->caption(), "Edit Help Tip...");
  EXPECT_EQ(window_->height(), 165);
  EXPECT_EQ(window_->width(), width);
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropThinFrame), 0);
  const rt::Control& box = Ctl(kBox1);
  EXPECT_EQ((std::vector<int32_t>{box.x, box.y, box.w, box.h}),
            (std::vector<int32_t>{1, 1, width - 2, 163}));
  const rt::Control& sheet = Ctl(kSheet1);
  EXPECT_EQ((std::vector<int32_t>{sheet.x, sheet.y, sheet.w, sheet.h}),
            (std::vector<int32_t>{-2, -2, width + 2, 167}));
  for (const auto& c : window_->controls()) EXPECT_LT(c->field, kCloseRegion) << c->field;
  for (int32_t field : {kBack2, kForward2, kBack, kForward}) EXPECT_TRUE(Ctl(field).hidden);
  EXPECT_TRUE(Ctl(kTab1).hidden);
  EXPECT_FALSE(Ctl(kTab2).hidden);
  EXPECT_EQ(window_->GetPropInt(kSheet1, rt::kPropSelected), kTab2);
  for (int32_t field = kHelpTip; field <= kButton2; ++field)
    EXPECT_TRUE(rt::harness::Shown(*window_, field)) << field;
  EXPECT_EQ(rt::harness::ShownText(*window_, kHelpTip), "Tip B");
  EXPECT_EQ(rt::harness::ShownText(*window_, kProcedureName), "");
  EXPECT_EQ(rt::harness::ShownText(*window_, kControlName), "B");
}

TEST_F(EditTabTest, WithVariableWidthTheEditorCanBeResized) {
  GLO.VTVARIABLEWIDTH = 1;
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "A tip that is somewhat wide for its window, surely"}}),
            nullptr);
  Edit();
  const int32_t width = window_->width();
  EXPECT_GE(width, 169);
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropMinWidth), 169);
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropMinHeight), 165);
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropResize), 1);
  EXPECT_EQ(window_->GetPropInt(0, rt::kPropMaximizeBox), 1);
  EXPECT_EQ(Width(kHelpTip), width - 10);
  EXPECT_EQ(Ctl(kBox1).w, width - 2);
  EXPECT_EQ(Ctl(kSheet1).w, width + 2);
  EXPECT_EQ(StoredWidth(tip_->EDITED.OTHER), 0);  // entering measures nothing for the tip to keep
  // A width the author gives the editor becomes the tip's stored width on Ok.
  rt::harness::Resize(*window_, 250, 165);
  EXPECT_EQ(Width(kHelpTip), 240);
  Ok();
  ASSERT_EQ(FileTips().size(), 1u);
  EXPECT_EQ(FileTips()[0].width, 250);
}

TEST_F(EditTabTest, WithVariableWidthAnEditWithoutResizingStoresNoWidth) {
  GLO.VTVARIABLEWIDTH = 1;
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Short"}}), nullptr);
  Edit();
  Replace(kHelpTip, "Short and sweet");
  Ok();
  ASSERT_EQ(FileTips().size(), 1u);
  EXPECT_EQ(FileTips()[0].text, "Short and sweet");
  EXPECT_EQ(FileTips()[0].width, 0);
}

TEST_F(EditTabTest, TheNameEntriesTakeTheInsertionPointAtTheirStart) {
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Hello tip"}}), nullptr);
  Edit();
  for (int32_t field : {kProcedureName, kControlName}) {
    rt::harness::Click(*window_, field);
    EXPECT_EQ(window_->GetPropInt(field, rt::kPropSelStart), 1) << field;
    EXPECT_EQ(window_->GetPropInt(field, rt::kPropSelEnd), 1) << field;
    rt::harness::Type(*window_, "X");
  }
  rt::harness::Click(*window_, kControlType);  // an ordinary entry: the caret goes to the end
  rt::harness::Type(*window_, "X");
  EXPECT_EQ(tip_->EDITED.PROCEDURENAME.str(), "XP");
  EXPECT_EQ(tip_->EDITED.CONTROLNAME.str(), "XC");
  EXPECT_EQ(tip_->EDITED.CONTROLTYPE.str(), "ENTRYX");
}

TEST_F(EditTabTest, WhileEditingNeitherFocusLossNorTheTimerEndsTheEditor) {
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Hello tip"}}), nullptr);
  Edit();
  Replace(kHelpTip, "Half typed");
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipOpen());
  rt::harness::FocusBack(*window_);
  rt::Post(rt::kEventTimer, 0, tip_thread_);
  EXPECT_TRUE(TipOpen());
  EXPECT_TRUE(Editing());
  EXPECT_EQ(window_->Find(kFirstTipField), nullptr);  // the tip tab was not rebuilt
  EXPECT_EQ(tip_->EDITED.HELPTIP.str(), "Half typed");
  // Back on the tip tab the usual rule holds again.
  Cancel();
  ASSERT_TRUE(Showing("Hello tip"));
  rt::harness::FocusAway(*window_);
  EXPECT_TRUE(TipClosed());
}

TEST_F(EditTabTest, F1WhileEditingOpensTheEditingTopicAndTheEditorStays) {
  std::filesystem::copy_file(VISTIP_HELP_FILE, dir_ / "Vistip.hlp");
  ASSERT_NE(ShowTip({{"P", "C", "ENTRY", "Hello tip"}}), nullptr);
  Edit();
  PressKey(rt::kF1Key);
  rt::Window* viewer = rt::harness::WaitForCaption("Help - Vistip.hlp");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(
      rt::WaitFor([&] { return rt::harness::ShownText(*viewer, 3) == "Help Tip Text Editing"; }));
  EXPECT_TRUE(TipOpen());
  EXPECT_TRUE(Editing());
}

}  // namespace
}  // namespace vistip::tipwindow::testing
