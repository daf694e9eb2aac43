// Two tip windows of one process used at once: each keeps its own request, compiled rows,
// selection and history, so links, formatting mode, the settings dialog and saves in one never
// reach the other's tip. Also two vtCALLHELPTIP calls back to back.
#include <algorithm>
#include <string>
#include <vector>

#include "api/call_help_tip.h"
#include "tests/tipwindow/tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

constexpr int32_t kFirstPageEntry = 202;  // the settings dialog's tooltip entry

class TwoWindowsTest : public TipWindowTest {
 protected:
  // Tips A and B, each with a button and a link without a target, and the links' targets.
  void WriteTips() {
    TipFile("tips.tps")
        .Create({
            {"P", "A", "ENTRY", "Alpha <B1> <LNK:Order Entry>", "[B1]TOOLTIP;first\xAB"},
            {"P", "B", "ENTRY", "Beta <B1> <LNK:Customer>", "[B1]TOOLTIP;second\xAB"},
            {"", "OrderEntry", "", "Order tip"},
            {"", "Customer", "", "Customer tip"},
        });
  }

  // Shows A in the fixture's window and B in a second one, both open at once.
  void ShowBoth() {
    GLO.VTSTAYOPEN = 1;  // neither closes when the other takes the focus
    WriteTips();
    Request("P", "A", "ENTRY");
    ASSERT_NE(a_ = Show(), nullptr);
    Request("P", "B", "ENTRY");
    extra_.emplace_back();
    ASSERT_NE(b_ = Show(extra_.back().first, extra_.back().second), nullptr);
    b_tip_ = extra_.back().first.get();
  }

  static int32_t ButtonOf(const rt::Window& w, const char* text) {
    return rt::harness::FieldWithText(w, text) + 1;
  }
  // The region laid over the link text.
  static void ClickLink(rt::Window& w, const char* text) {
    const int32_t field = rt::harness::FieldWithText(w, text);
    ASSERT_NE(field, 0) << text;
    rt::harness::Click(w, field + 1);
    rt::harness::Settle();
  }
  // An item of the window's own right-click menu; returns once the menu has gone.
  static void Choose(rt::Window& w, const char* item) {
    rt::harness::ClickAt(w, 150, 1, rt::kMouseRight);  // the overlay's empty top right corner
    const int32_t thread = w.thread();
    rt::Window* menu = rt::harness::WaitForWindow(
        [thread](const rt::Window& m) { return m.popup() && m.thread() == thread; });
    ASSERT_NE(menu, nullptr);
    const int32_t field = rt::harness::FieldWithText(*menu, item);
    ASSERT_NE(field, 0) << item;
    rt::harness::Click(*menu, field);
    ASSERT_TRUE(Gone(menu));
    rt::harness::Settle();
  }
  // The settings dialog of the window on `thread`, once it shows.
  static rt::Window* DialogOf(int32_t thread) {
    rt::Window* d = rt::harness::WaitForWindow([thread](const rt::Window& w) {
      return w.thread() == thread && w.caption() == "Update Control Settings" && !w.hidden();
    });
    rt::harness::Settle();
    return d;
  }
  static void TypeTooltip(rt::Window& dialog, const std::string& value) {
    rt::harness::Focus(dialog, kFirstPageEntry);
    rt::harness::Press(dialog, rt::CtrlKey('A'));
    rt::harness::Type(dialog, value);
  }
  static bool Gone(const rt::Window* w) {
    return rt::WaitFor([w] {
      const std::vector<rt::Window*> open = rt::OpenWindows();
      return std::find(open.begin(), open.end(), w) == open.end();
    });
  }

  std::string Settings(const std::string& control) {
    for (const Tip& t : TipFile("tips.tps").Read())
      if (t.control == control) return t.settings;
    return "?";
  }

  // What each open window shows, for a failure's message.
  static std::string OpenCaptions() {
    std::string out;
    for (rt::Window* w : rt::OpenWindows()) {
      out +=
          "[" + w->caption() + " " + std::to_string(w->thread()) + (w->hidden() ? " hidden" : "");
      for (const auto& c : w->controls())
        if (c->field >= kFirstTipField) out += " <" + c->text + (c->hidden ? " h" : "") + ">";
      out += "]";
    }
    return out;
  }
  int32_t b_thread() const { return extra_.back().second; }

  rt::Window* a_ = nullptr;
  rt::Window* b_ = nullptr;
  HelpTipWindow* b_tip_ = nullptr;
};

TEST_F(TwoWindowsTest, FormattingAndTheSettingsDialogInBothKeepEachWindowsRows) {
  ASSERT_NO_FATAL_FAILURE(ShowBoth());
  rt::harness::Press(*a_, rt::AltKey('C'));
  rt::harness::Press(*b_, rt::AltKey('C'));
  rt::harness::Settle();
  // Each window selects its button; the other's clicks and ticks leave that selection alone.
  rt::harness::Click(*a_, ButtonOf(*a_, "Alpha"));
  rt::harness::Click(*b_, ButtonOf(*b_, "Beta"));
  rt::Post(rt::kEventTimer, 0, tip_thread_);
  rt::harness::Settle();
  // Both dialogs open at once, each over its own window's selected control and rows.
  Choose(*a_, "Properties");
  rt::Window* dialog_a = DialogOf(tip_thread_);
  ASSERT_NE(dialog_a, nullptr);
  Choose(*b_, "Properties");
  rt::Window* dialog_b = DialogOf(b_thread());
  ASSERT_NE(dialog_b, nullptr);
  EXPECT_EQ(rt::harness::ShownText(*dialog_a, kFirstPageEntry), "first");
  EXPECT_EQ(rt::harness::ShownText(*dialog_b, kFirstPageEntry), "second");
  TypeTooltip(*dialog_b, "Beta's button");
  TypeTooltip(*dialog_a, "Alpha's button");
  ASSERT_TRUE(rt::harness::ClickButton(*dialog_b, "&Ok"));
  ASSERT_TRUE(Gone(dialog_b));
  ASSERT_TRUE(rt::harness::ClickButton(*dialog_a, "&Ok"));
  ASSERT_TRUE(Gone(dialog_a));
  rt::harness::Settle();
  Choose(*a_, "Save and Exit");
  rt::harness::Settle();
  Choose(*b_, "Save and Exit");
  rt::harness::Settle();

  // Each window rebuilds its tip with its own rows and writes them to its own record.
  const auto tooltip = [](rt::Window& w, const char* text) {
    const int32_t field = rt::harness::FieldWithText(w, text);
    const rt::Control* button = field != 0 ? w.Find(field + 1) : nullptr;
    return button != nullptr ? button->tooltip : std::string();
  };
  EXPECT_TRUE(rt::WaitFor([&] {
    return tooltip(*a_, "Alpha") == "Alpha's button" && tooltip(*b_, "Beta") == "Beta's button";
  })) << tooltip(*a_, "Alpha")
      << " / " << tooltip(*b_, "Beta") << " / " << OpenCaptions();
  EXPECT_EQ(Settings("A"), "[B1]CALL;EXE\xABTOOLTIP;Alpha's button\xAB");
  EXPECT_EQ(Settings("B"), "[B1]CALL;EXE\xABTOOLTIP;Beta's button\xAB");
}

TEST_F(TwoWindowsTest, LinksAndHistoryInBothLeadEachWindowFromItsOwnTip) {
  ASSERT_NO_FATAL_FAILURE(ShowBoth());
  ClickLink(*a_, "Order Entry");
  ClickLink(*b_, "Customer");
  EXPECT_NE(rt::harness::FieldWithText(*a_, "Order tip"), 0);
  EXPECT_NE(rt::harness::FieldWithText(*b_, "Customer tip"), 0);
  // Each link bound its target in its own tip's record.
  EXPECT_EQ(Settings("A"), "[B1]TOOLTIP;first\xAB[LNK1]LINKTIPPROC;\xABLINKTIPCTL;OrderEntry\xAB");
  EXPECT_EQ(Settings("B"), "[B1]TOOLTIP;second\xAB[LNK1]LINKTIPPROC;\xABLINKTIPCTL;Customer\xAB");
  // The process-wide request still names the last one made.
  EXPECT_EQ(GLO.VTCONTROLNAME.str(), "B");
  // Back leads each window to its own first tip.
  rt::harness::Click(*b_, kBack);
  rt::harness::Click(*a_, kBack);
  rt::harness::Settle();
  EXPECT_NE(rt::harness::FieldWithText(*a_, "Alpha"), 0);
  EXPECT_NE(rt::harness::FieldWithText(*b_, "Beta"), 0);
  EXPECT_EQ(tip_->REQUEST.NAMES.CONTROLNAME.str(), "A");
  EXPECT_EQ(b_tip_->REQUEST.NAMES.CONTROLNAME.str(), "B");
}

TEST_F(TwoWindowsTest, SavesInBothWriteEachWindowsOwnTip) {
  ASSERT_NO_FATAL_FAILURE(ShowBoth());
  rt::harness::Press(*a_, rt::AltKey('E'));
  rt::harness::Press(*b_, rt::AltKey('E'));
  for (auto [w, text] : {std::pair{a_, "Alpha edited"}, std::pair{b_, "Beta edited"}}) {
    rt::harness::Click(*w, kHelpTip);
    rt::harness::Press(*w, rt::CtrlKey('A'));
    rt::harness::Type(*w, text);
  }
  rt::harness::Click(*b_, kButton1);
  rt::harness::Click(*a_, kButton1);
  rt::harness::Settle();
  const std::vector<Tip> file = TipFile("tips.tps").Read();
  ASSERT_EQ(file.size(), 4u);
  EXPECT_EQ(file[0].control, "A");
  EXPECT_EQ(file[0].text, "Alpha edited");
  EXPECT_EQ(file[1].control, "B");
  EXPECT_EQ(file[1].text, "Beta edited");
}

// Each window got its request as it started: the second call does not take the first's place.
TEST_F(TwoWindowsTest, TwoCallsBackToBackShowTwoDifferentTips) {
  GLO.VTSTAYOPEN = 1;
  WriteTips();
  const int32_t threads = rt::ThreadCount();
  vtCALLHELPTIP("tips.tps", "P", "A", "ENTRY");
  vtCALLHELPTIP("tips.tps", "P", "B", "ENTRY");
  const auto shown_in = [](const char* text) {
    int n = 0;
    for (rt::Window* w : rt::OpenWindows())
      if (!w->hidden() && rt::harness::FieldWithText(*w, text) != 0) ++n;
    return n;
  };
  EXPECT_TRUE(rt::WaitFor([&] { return shown_in("Alpha") == 1 && shown_in("Beta") == 1; }))
      << "Alpha in " << shown_in("Alpha") << ", Beta in " << shown_in("Beta");
  for (rt::Window* w : rt::OpenWindows())
    if (w->caption() != "Host") rt::harness::CloseWindow(*w);
  EXPECT_TRUE(rt::WaitFor([threads] { return rt::ThreadCount() == threads; }));
}

}  // namespace
}  // namespace vistip::tipwindow::testing
