// The tip window's formatting mode end to end (headless): Alt+C, the status bar, selecting and
// framing controls, the right-click menu, "Save and Exit" and "Exit", and the tip file after.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/tipwindow/tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

// One row: a text run, a button, a tip link and a web address, each with its settings.
constexpr const char* kTipText = "Intro <B1> <LNK:See also> <www.example.com>";
// Text before the first group is no part of the memo: a write of the settings drops it.
const std::string kMemo = "old[B1]TOOLTIP;Start it\xAB[S  1]FONT;Arial,10,0,400\xAB";
const std::string kWrittenMemo = "[B1]TOOLTIP;Start it\xAB[S  1]FONT;Arial,10,0,400\xAB";

constexpr int32_t kFirstPageEntry = 202;  // the settings dialog's tooltip or font entry
// The dialog's button page also writes the call kind it offers, EXE with no program.
const std::string kNewMemo =
    "[B1]CALL;EXE\xABTOOLTIP;Run the report\xAB[S  1]FONT;Liberation Serif,12,255,700\xAB";

struct Rect {
  int32_t x, y, w, h;
  bool operator==(const Rect&) const = default;
};

class FormattingTest : public TipWindowTest {
 protected:
  rt::Window* ShowTip(const std::string& text = kTipText, const std::string& settings = kMemo) {
    TipFile("tips.tps").Create({{"P", "C", "ENTRY", text, settings}, {"P", "D", "ENTRY", "Other"}});
    Request("P", "C", "ENTRY");
    return Show();
  }
  void AltC() { rt::harness::Press(*window_, rt::AltKey('C')); }
  void Tick() {
    rt::Post(rt::kEventTimer, 0, tip_thread_);
    rt::harness::Settle();
  }
  int32_t Prop(int32_t field, int32_t prop) { return window_->GetPropInt(field, prop); }
  Rect RectOf(int32_t field) {
    return {Prop(field, rt::kPropX), Prop(field, rt::kPropY), Prop(field, rt::kPropWidth),
            Prop(field, rt::kPropHeight)};
  }
  const rt::Control* Frame() {
    const rt::Control* c = window_->Find(kCloseRegion);
    return c != nullptr && c->type == rt::kCreateBox ? c : nullptr;
  }
  // A right click on the window's empty top right corner, which only the overlay covers.
  rt::Window* OpenMenu() {
    rt::harness::ClickAt(*window_, 150, 1, rt::kMouseRight);
    return rt::harness::WaitForWindow([](const rt::Window& w) { return w.popup(); });
  }
  bool ItemEnabled(rt::Window& menu, const char* item) {
    const int32_t field = rt::harness::FieldWithText(menu, item);
    return field != 0 && menu.GetPropInt(field, rt::kPropDisable) == 0;
  }
  void Choose(const char* item) {
    rt::Window* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    const int32_t field = rt::harness::FieldWithText(*menu, item);
    ASSERT_NE(field, 0) << item;
    rt::harness::Click(*menu, field);
  }
  std::string StoredSettings() {
    for (const Tip& t : TipFile("tips.tps").Read())
      if (t.control == "C") return t.settings;
    return "?";
  }
  // What every end of the mode leaves: the window as before Alt+C, field 201 the close region
  // again, the buttons and regions unalerted, Alt+C alerted.
  void ExpectModeEnded(int32_t height) {
    rt::Window& w = *window_;
    EXPECT_EQ(tip_->CONTROLFORMATTING, 0);
    EXPECT_EQ(w.status_zones(), 0);
    EXPECT_EQ(w.height(), height);
    EXPECT_EQ(w.Find(kOverlay), nullptr);
    const rt::Control* close = w.Find(kCloseRegion);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->type, rt::kCreateRegion);
    EXPECT_EQ(RectOf(kCloseRegion), (Rect{0, 0, w.width(), w.height()}));
    EXPECT_EQ(w.GetPropInt(kCloseRegion, rt::kPropAlert, 1), rt::kMouseLeft);
    for (int32_t field : {Button(), Link() + 1}) {
      EXPECT_EQ(w.GetPropInt(field, rt::kPropAlert, 1), 0);
      EXPECT_EQ(w.GetPropInt(field, rt::kPropAlert, 2), 0);
    }
    EXPECT_EQ(w.alert(4), rt::AltKey('C'));
    EXPECT_EQ(w.GetPropInt(0, rt::kPropTimer), 800);
  }

  // "Properties" for the control at a field: the settings dialog's first entry (the tooltip
  // or the font) takes the value, and "&Ok" stores it.
  void SetProperty(int32_t field, const std::string& value) {
    rt::harness::Click(*window_, field);
    Choose("Properties");
    rt::Window* dialog = rt::harness::WaitForCaption("Update Control Settings");
    ASSERT_NE(dialog, nullptr);
    rt::harness::Settle();
    rt::harness::Focus(*dialog, kFirstPageEntry);
    rt::harness::Press(*dialog, rt::CtrlKey('A'));
    rt::harness::Type(*dialog, value);
    ASSERT_TRUE(rt::harness::ClickButton(*dialog, "&Ok"));
    // The dialog's window goes with the dialog: look for it among the open ones.
    ASSERT_TRUE(rt::WaitFor([&] {
      const std::vector<rt::Window*> open = rt::OpenWindows();
      return std::find(open.begin(), open.end(), dialog) == open.end();
    }));
    rt::harness::Settle();
  }

  void ExpectNewSettingsShown() {
    EXPECT_EQ(Ctl(Button()).tooltip, "Run the report");
    EXPECT_EQ(window_->GetProp(Intro(), rt::kPropFontName), "Liberation Serif");
    EXPECT_EQ(Prop(Intro(), rt::kPropFontSize), 12);
    EXPECT_EQ(Prop(Intro(), rt::kPropFontColor), 255);
    EXPECT_EQ(Prop(Intro(), rt::kPropFontStyle), 700);
  }

 public:  // the fields of the tip's controls, named in the table below
  int32_t Intro() { return FieldOf("Intro"); }
  int32_t Button() { return Intro() + 1; }
  int32_t Link() { return FieldOf("See also"); }
  int32_t Address() { return FieldOf("www.example.com"); }
};

TEST_F(FormattingTest, AltCLaysTheOverlayOverTheWindowAndAlertsButtonsAndRegions) {
  ASSERT_NE(ShowTip(), nullptr);
  const int32_t height = window_->height();
  AltC();
  ASSERT_EQ(tip_->CONTROLFORMATTING, 1);
  EXPECT_EQ(window_->height(), height + 13);
  const rt::Control* overlay = window_->Find(kOverlay);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->type, rt::kCreateRegion);
  EXPECT_EQ(RectOf(kOverlay), (Rect{0, 0, window_->width(), height + 13}));
  EXPECT_FALSE(overlay->hidden);
  EXPECT_EQ(Prop(kOverlay, rt::kPropAlert), 0);
  EXPECT_EQ(window_->GetPropInt(kOverlay, rt::kPropAlert, 1), rt::kMouseRight);
  EXPECT_EQ(window_->GetPropInt(kOverlay, rt::kPropAlert, 2), rt::kMouseLeft);
  EXPECT_EQ(window_->Find(kCloseRegion), nullptr);  // no close region while formatting
  EXPECT_EQ(window_->alert(4), 0);
  for (int32_t field : {Button(), Link() + 1, Address() + 1}) {
    EXPECT_EQ(window_->GetPropInt(field, rt::kPropAlert, 1), rt::kMouseRight) << field;
    EXPECT_EQ(window_->GetPropInt(field, rt::kPropAlert, 2), rt::kMouseLeft) << field;
  }
  EXPECT_EQ(window_->GetPropInt(Intro(), rt::kPropAlert, 1), 0);  // strings are left alone
  EXPECT_EQ(window_->GetPropInt(Link(), rt::kPropAlert, 1), 0);
}

TEST_F(FormattingTest, TheStatusBarShowsEachInstructionThenRunsItOff) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  EXPECT_EQ(window_->status_zones(), -1);
  const std::vector<std::string> turns = {
      "Left click to select!", "Right click to change properties", "Right click to Exit and Save"};
  for (size_t turn = 0; turn < turns.size(); ++turn) {
    const std::string& text = turns[turn];
    EXPECT_EQ(window_->status_text(), text);
    EXPECT_EQ(Prop(0, rt::kPropTimer), 500) << text;  // in full for five seconds
    for (size_t gone = 1; gone <= text.size(); ++gone) {
      Tick();
      ASSERT_EQ(window_->status_text(), text.substr(gone));
      ASSERT_EQ(Prop(0, rt::kPropTimer), 20);  // a character every fifth of a second
    }
    if (turn + 1 < turns.size()) Tick();
  }
  Tick();  // the fourth turn: a blank status bar for five seconds
  EXPECT_EQ(window_->status_text(), "");
  EXPECT_EQ(Prop(0, rt::kPropTimer), 500);
  Tick();
  EXPECT_EQ(window_->status_text(), turns[0]);
  EXPECT_TRUE(TipOpen());  // no rebuild and no closing on the timer while formatting
  EXPECT_EQ(FieldOf("Intro"), Intro());
}

struct FrameCase {
  const char* name;
  int32_t (FormattingTest::*clicked)();
  int32_t clicked_offset;  // 1: the region laid over a link
  int32_t (FormattingTest::*framed)();
  int32_t margin;
};

class FrameTest : public FormattingTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameTest, ALeftClickFramesTheControl) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  const FrameCase& c = GetParam();
  rt::harness::Click(*window_, (this->*c.clicked)() + c.clicked_offset);
  const rt::Control* frame = Frame();
  ASSERT_NE(frame, nullptr);
  const Rect r = RectOf((this->*c.framed)());
  const int32_t m = c.margin;
  EXPECT_EQ(RectOf(kCloseRegion), (Rect{r.x - m, r.y - m, r.w + 2 * m, r.h + 2 * m}));
  EXPECT_FALSE(frame->hidden);
  EXPECT_EQ(frame->color, 0);
  EXPECT_EQ(frame->fill, 0xC0C0C0);
  EXPECT_EQ(Prop(0, rt::kPropHide), 0);
  EXPECT_TRUE(TipOpen());  // a click on a button or link does not act while formatting
  EXPECT_TRUE(HostEvents().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FrameTest,
    ::testing::Values(FrameCase{"ButtonWithAUnitOnEachSide", &FormattingTest::Button, 0,
                                &FormattingTest::Button, 1},
                      FrameCase{"StringExactly", &FormattingTest::Intro, 0, &FormattingTest::Intro,
                                0},
                      FrameCase{"LinkRegionSelectsTheLinkText", &FormattingTest::Link, 1,
                                &FormattingTest::Link, 0},
                      FrameCase{"WebAddressRegionSelectsTheAddress", &FormattingTest::Address, 1,
                                &FormattingTest::Address, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(FormattingTest, AClickThatHitsNothingLeavesTheFrameAndTheSelection) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  const int32_t below = window_->height() - 3;  // under every control
  rt::harness::ClickAt(*window_, 20, below);
  EXPECT_EQ(Frame(), nullptr);
  rt::Window* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(ItemEnabled(*menu, "Properties"));  // still nothing selected
  rt::harness::Press(*menu, rt::kEscKey);
  rt::harness::Click(*window_, Button());
  const Rect framed = RectOf(kCloseRegion);
  rt::harness::ClickAt(*window_, 20, below);
  ASSERT_NE(Frame(), nullptr);
  EXPECT_EQ(RectOf(kCloseRegion), framed);
  menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(ItemEnabled(*menu, "Properties"));
  rt::harness::Press(*menu, rt::kEscKey);
  EXPECT_EQ(tip_->CONTROLFORMATTING, 1);  // a dismissed menu changes nothing
  // "Properties" edits the framed button, not the control where the missed walk ended.
  Choose("Properties");
  rt::Window* dialog = rt::harness::WaitForCaption("Update Control Settings");
  ASSERT_NE(dialog, nullptr);
  rt::harness::Settle();
  EXPECT_EQ(rt::harness::ShownText(*dialog, kFirstPageEntry), "Start it");
  ASSERT_TRUE(rt::harness::ClickButton(*dialog, "&Cancel"));
}

TEST_F(FormattingTest, PropertiesIsDisabledBeforeTheFirstSelection) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  rt::Window* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(ItemEnabled(*menu, "Properties"));
  EXPECT_TRUE(ItemEnabled(*menu, "Save and Exit"));
  EXPECT_TRUE(ItemEnabled(*menu, "Exit"));
  EXPECT_EQ(tip_->VTPOPUPTEXT.str(), "~Properties|-|Save and Exit|Exit");
  rt::harness::Press(*menu, rt::kEscKey);
  rt::harness::Click(*window_, Intro());
  menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(ItemEnabled(*menu, "Properties"));
  EXPECT_EQ(tip_->VTPOPUPTEXT.str(), "Properties|-|Save and Exit|Exit");
  rt::harness::Press(*menu, rt::kEscKey);
}

TEST_F(FormattingTest, ExitWritesNothingAndEndsTheMode) {
  ASSERT_NE(ShowTip(), nullptr);
  const int32_t height = window_->height();
  AltC();
  rt::harness::Click(*window_, Button());
  Choose("Exit");
  ExpectModeEnded(height);
  EXPECT_EQ(StoredSettings(), kMemo);
  rt::harness::ClickAt(*window_, 150, 1);  // the background closes the tip again
  EXPECT_TRUE(TipClosed());
  EXPECT_EQ(StoredSettings(), kMemo);
}

TEST_F(FormattingTest, SaveAndExitWritesTheSettingsRebuildsAndAltCWorksAgain) {
  ASSERT_NE(ShowTip(), nullptr);
  const int32_t height = window_->height();
  AltC();
  Choose("Save and Exit");
  EXPECT_EQ(StoredSettings(), kWrittenMemo);
  ExpectModeEnded(height);
  EXPECT_EQ(Prop(0, rt::kPropHide), 0);
  EXPECT_EQ(tip_->HELPISLOADED, 1);
  EXPECT_EQ(Ctl(Button()).tooltip, "Start it");
  EXPECT_EQ(window_->GetProp(Intro(), rt::kPropFontName), "Arial");
  AltC();
  EXPECT_EQ(tip_->CONTROLFORMATTING, 1);
  EXPECT_EQ(window_->status_text(), "Left click to select!");
  EXPECT_NE(window_->Find(kOverlay), nullptr);
}

TEST_F(FormattingTest, AltCWhileFormattingChangesNothing) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  const int32_t height = window_->height();
  rt::harness::Click(*window_, Button());
  AltC();
  EXPECT_EQ(window_->height(), height);
  EXPECT_NE(Frame(), nullptr);
  rt::harness::Press(*window_, rt::AltKey('E'));  // nor does the edit tab open
  EXPECT_EQ(tip_->EDITMODE, 0);
}

TEST_F(FormattingTest, TheHelpKeyShowsControlFormattingAndTheModeStays) {
  std::filesystem::copy_file(VISTIP_HELP_FILE, dir_ / "Vistip.hlp");
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  rt::harness::Press(*window_, rt::kF1Key);
  rt::Window* viewer = rt::harness::WaitForCaption("Help - Vistip.hlp");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(
      rt::WaitFor([&] { return rt::harness::ShownText(*viewer, 3) == "Control Formatting"; }));
  EXPECT_TRUE(TipOpen());
  EXPECT_EQ(tip_->CONTROLFORMATTING, 1);
}

TEST_F(FormattingTest, RefusedAltCChangesNothing) {
  GLO.CANEDIT = 2;
  ASSERT_NE(ShowTip(), nullptr);
  const int32_t height = window_->height();
  AltC();
  EXPECT_EQ(tip_->CONTROLFORMATTING, 0);
  EXPECT_EQ(window_->height(), height);
  EXPECT_EQ(window_->Find(kOverlay), nullptr);
  EXPECT_EQ(window_->Find(kCloseRegion)->type, rt::kCreateRegion);
}

// The history arrows would load another tip under the mode, whose save would then store an
// empty settings memo over that tip's own.
TEST_F(FormattingTest, TheHistoryArrowsRestWhileFormatting) {
  TipFile("tips.tps")
      .Create({{"P", "C", "ENTRY", "Go <LNK:B>"}, {"", "B", "", "Tip B <B1>", kMemo}});
  GLO.VTSTAYOPEN = 1;
  Request("P", "C", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  rt::harness::Click(*window_, FieldOf("B") + 1);  // follow the link: back is available
  ASSERT_NE(FieldOf("Tip B"), 0);
  AltC();
  EXPECT_TRUE(window_->Find(kBack)->disabled);
  rt::harness::Click(*window_, kBack);
  Choose("Save and Exit");
  EXPECT_NE(FieldOf("Tip B"), 0);
  EXPECT_FALSE(window_->Find(kBack)->disabled);
  for (const Tip& t : TipFile("tips.tps").Read())
    if (t.control == "B") {
      EXPECT_EQ(t.settings, kWrittenMemo);
    }
}

// A tip shown from another's record (a type tip under the requested names) is not in the file
// yet: saving its settings leaves the file alone.
TEST_F(FormattingTest, SavingATipThatIsNotInTheFileWritesNothing) {
  TipFile("tips.tps").Create({{"", "", "ENTRY", "Type tip <B1>", kMemo}});
  Request("P", "C", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  ASSERT_NE(FieldOf("Type tip"), 0);
  AltC();
  Choose("Save and Exit");
  EXPECT_EQ(tip_->CONTROLFORMATTING, 0);
  const std::vector<Tip> tips = TipFile("tips.tps").Read();
  ASSERT_EQ(tips.size(), 1u);
  EXPECT_EQ(tips[0].settings, kMemo);
}

TEST_F(FormattingTest, SaveAndExitShowsTheNewFontsAndToolTipsAndAFreshOpenFindsThem) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  SetProperty(Intro(), "Liberation Serif,12,255,700");
  SetProperty(Button(), "Run the report");
  EXPECT_EQ(Ctl(Button()).tooltip, "Start it");  // not rebuilt before "Save and Exit"
  EXPECT_EQ(StoredSettings(), kMemo);
  Choose("Save and Exit");
  EXPECT_EQ(StoredSettings(), kNewMemo);
  ExpectNewSettingsShown();
  CloseTip();
  Request("P", "C", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  ExpectNewSettingsShown();
  EXPECT_EQ(StoredSettings(), kNewMemo);
}

TEST_F(FormattingTest, ExitAfterPropertiesWritesNothing) {
  ASSERT_NE(ShowTip(), nullptr);
  AltC();
  SetProperty(Button(), "Run the report");
  Choose("Exit");
  EXPECT_EQ(tip_->CONTROLFORMATTING, 0);
  EXPECT_EQ(Ctl(Button()).tooltip, "Start it");
  EXPECT_EQ(StoredSettings(), kMemo);
  CloseTip();
  EXPECT_EQ(StoredSettings(), kMemo);
}

}  // namespace
}  // namespace vistip::tipwindow::testing
