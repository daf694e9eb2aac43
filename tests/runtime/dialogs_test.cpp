// The runtime's dialogs answered the way a person does: message boxes, popup menus, the stop
// dialog, the font dialog and the help viewer, each run on a runtime thread of its own.
#include "runtime/dialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/backend.h"
#include "runtime/dialogs/font_families.h"
#include "runtime/harness.h"
#include "runtime/text/mnemonic.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

using harness::Settle;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { UseHeadlessBackend(); }
  // Whatever a failed test left open is closed, so the next test starts with no windows.
  void TearDown() override {
    WaitFor([] {
      for (Window* w : OpenWindows()) harness::CloseWindow(*w);
      return OpenWindows().empty() && ThreadCount() == 1;
    });
  }

  // Runs a dialog on a runtime thread of its own; its result lands in `result`.
  template <class T>
  int32_t Run(std::optional<T>& result, std::function<T()> dialog) {
    return Start([&result, dialog] { result = dialog(); });
  }

  static Window* WindowOf(int32_t thread) {
    return harness::WaitForWindow([thread](const Window& w) { return w.thread() == thread; });
  }
  static Window* PopupWindow() {
    return harness::WaitForWindow([](const Window& w) { return w.popup(); });
  }
  static bool Ended(int32_t thread) { return Join(thread); }

  // The controls of a kind, in field order.
  static std::vector<const Control*> Controls(const Window& w, int32_t type) {
    std::vector<const Control*> found;
    for (const auto& c : w.controls())
      if (c->type == type && w.Visible(*c)) found.push_back(c.get());
    return found;
  }
  static const Control* WithText(const Window& w, int32_t type, std::string_view text) {
    for (const Control* c : Controls(w, type))
      if (c->text == text) return c;
    return nullptr;
  }

  RuntimeThread thread_;
};

// ---- MESSAGE ----

using MessageTest = DialogTest;

TEST_F(MessageTest, ClickOnNoReturnsFour) {
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [] {
    return Message("Vistip.Tps key file is invalid.  Do you want to rebuild the key?",
                   "Invalid Key", kIconExclamation, kButtonYes | kButtonNo, kButtonYes);
  });
  Window* box = harness::WaitForCaption("Invalid Key");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(harness::ClickButton(*box, "&No"));
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(answer, kButtonNo);
}

TEST_F(MessageTest, EnterPressesTheDefaultButton) {
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [] {
    return Message("Rebuild?", "Invalid Key", kIconExclamation, kButtonYes | kButtonNo, kButtonYes);
  });
  Window* box = harness::WaitForCaption("Invalid Key");
  ASSERT_NE(box, nullptr);
  Settle();
  const Control* yes = WithText(*box, kCreateButton, "&Yes");
  ASSERT_NE(yes, nullptr);
  EXPECT_EQ(box->focus(), yes->field);
  harness::Press(*box, kEnterKey);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(answer, kButtonYes);
}

TEST_F(MessageTest, DefaultOutsideTheButtonsFocusesTheFirst) {
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(
      answer, [] { return Message("x", "Odd", kIconNone, kButtonOk | kButtonCancel, kButtonNo); });
  Window* box = harness::WaitForCaption("Odd");
  ASSERT_NE(box, nullptr);
  harness::Press(*box, kEnterKey);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(answer, kButtonOk);
}

struct EscapeCase {
  const char* name;
  int32_t buttons;
  int32_t default_button;
  int32_t expected;
};

const EscapeCase kEscapeCases[] = {
    {"YesNoGivesNo", kButtonYes | kButtonNo, kButtonYes, kButtonNo},
    {"OkCancelGivesCancel", kButtonOk | kButtonCancel, kButtonOk, kButtonCancel},
    {"YesNoCancelGivesCancel", kButtonYes | kButtonNo | kButtonCancel, kButtonYes, kButtonCancel},
    {"OkGivesOk", kButtonOk, kButtonOk, kButtonOk},
    {"AbortRetryIgnoreGivesDefault", kButtonAbort | kButtonRetry | kButtonIgnore, kButtonRetry,
     kButtonRetry},
    {"NoDefaultGivesFirst", kButtonRetry | kButtonIgnore, 0, kButtonRetry},
};

class MessageEscapeTest : public DialogTest,
                          public ::testing::WithParamInterface<std::tuple<EscapeCase, bool>> {};

TEST_P(MessageEscapeTest, EscOrCloseGiveCancelElseNoElseTheDefault) {
  const auto [c, by_close] = GetParam();
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [c = c] {
    return Message("Leave?", "Leave", kIconNone, c.buttons, c.default_button);
  });
  Window* box = harness::WaitForCaption("Leave");
  ASSERT_NE(box, nullptr);
  if (by_close) {
    harness::CloseWindow(*box);
  } else {
    harness::Press(*box, kEscKey);
  }
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(answer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MessageEscapeTest,
                         ::testing::Combine(::testing::ValuesIn(kEscapeCases), ::testing::Bool()),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) +
                                  (std::get<1>(test.param) ? "ByClose" : "ByEsc");
                         });

TEST_F(MessageTest, ButtonsComeInTheRuntimeOrderLeftToRight) {
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [] { return Message("All", "All", kIconNone, 0xFF); });
  Window* box = harness::WaitForCaption("All");
  ASSERT_NE(box, nullptr);
  std::vector<const Control*> buttons = Controls(*box, kCreateButton);
  std::sort(buttons.begin(), buttons.end(),
            [](const Control* a, const Control* b) { return a->x < b->x; });
  std::vector<std::string> texts;
  for (const Control* b : buttons) texts.push_back(b->text);
  EXPECT_EQ(texts, (std::vector<std::string>{"&OK", "&Yes", "&No", "&Abort", "&Retry", "&Ignore",
                                             "&Cancel", "&Help"}));
  for (const Control* b : buttons) {
    EXPECT_GE(b->x, 0);
    EXPECT_LE(b->x + b->w, box->width());
    EXPECT_LE(b->y + b->h, box->height());
  }
  ASSERT_TRUE(harness::ClickButton(*box, "&Help"));
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(answer, kButtonHelp);
}

TEST_F(MessageTest, MnemonicLettersPressTheirButtons) {
  for (int32_t key : {int32_t{'N'}, AltKey('N')}) {
    std::optional<int32_t> answer;
    const int32_t t = Run<int32_t>(
        answer, [] { return Message("?", "Keys", kIconNone, kButtonYes | kButtonNo, kButtonYes); });
    Window* box = harness::WaitForCaption("Keys");
    ASSERT_NE(box, nullptr);
    harness::Press(*box, key);
    ASSERT_TRUE(Ended(t));
    EXPECT_EQ(answer, kButtonNo) << key;
  }
}

TEST_F(MessageTest, PlainMessageHasOnlyAnOkButtonAndNoIcon) {
  for (int32_t buttons : {0, 0x100}) {  // none, and only a bit that is no button
    std::optional<int32_t> answer;
    const int32_t t =
        Run<int32_t>(answer, [buttons] { return Message("", "", kIconNone, buttons); });
    Window* box = WindowOf(t);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->caption(), "");
    ASSERT_EQ(Controls(*box, kCreateButton).size(), 1u);
    EXPECT_TRUE(Controls(*box, kCreateImage).empty());
    ASSERT_TRUE(harness::ClickButton(*box, "&OK"));
    ASSERT_TRUE(Ended(t));
    EXPECT_EQ(answer, kButtonOk);
  }
}

struct IconCase {
  int32_t icon;
  const char* image;  // nullptr: no image control
};

class MessageIconTest : public DialogTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(MessageIconTest, StandardIconsAreImagesForThePainter) {
  const IconCase c = GetParam();
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [c] { return Message("Icon", "Icon", c.icon); });
  Window* box = harness::WaitForCaption("Icon");
  ASSERT_NE(box, nullptr);
  const std::vector<const Control*> images = Controls(*box, kCreateImage);
  if (c.image == nullptr) {
    EXPECT_TRUE(images.empty());
  } else {
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->icon, c.image);
    // The text starts to the right of the icon.
    for (const Control* s : Controls(*box, kCreateString))
      EXPECT_GE(s->x, images[0]->x + images[0]->w);
  }
  harness::Press(*box, kEnterKey);
  ASSERT_TRUE(Ended(t));
}

INSTANTIATE_TEST_SUITE_P(Icons, MessageIconTest,
                         ::testing::Values(IconCase{kIconAsterisk, "~asterisk"},
                                           IconCase{kIconExclamation, "~exclamation"},
                                           IconCase{kIconHand, "~hand"},
                                           IconCase{kIconQuestion, "~question"},
                                           IconCase{kIconNone, nullptr}, IconCase{99, nullptr}));

TEST_F(MessageTest, BarsBreakLinesAndAmpersandsShowAsThemselves) {
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [] { return Message("Save & Exit|two||four", "Lines"); });
  Window* box = harness::WaitForCaption("Lines");
  ASSERT_NE(box, nullptr);
  const std::vector<const Control*> lines = Controls(*box, kCreateString);
  ASSERT_EQ(lines.size(), 4u);
  std::vector<std::string> shown;
  for (const Control* c : lines) shown.push_back(text::StripMnemonic(c->text).shown);
  EXPECT_EQ(shown, (std::vector<std::string>{"Save & Exit", "two", "", "four"}));
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_GT(lines[i]->y, lines[i - 1]->y);
  harness::Press(*box, kEscKey);
  ASSERT_TRUE(Ended(t));
}

TEST_F(MessageTest, LongTextIsWrappedToFitTheScreen) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "word ";
  std::optional<int32_t> answer;
  const int32_t t = Run<int32_t>(answer, [text] { return Message(text, "Long"); });
  Window* box = harness::WaitForCaption("Long");
  ASSERT_NE(box, nullptr);
  EXPECT_GT(Controls(*box, kCreateString).size(), 3u);
  EXPECT_LE(box->width() * box->PxPerDuX(), CurrentBackend().ScreenWidth());
  harness::Press(*box, kEnterKey);
  ASSERT_TRUE(Ended(t));
}

// ---- POPUP ----

using PopupTest = DialogTest;

// Clicks the item showing `text`; false when there is none.
bool ClickItem(Window& menu, std::string_view text) {
  for (const auto& c : menu.controls()) {
    if (c->type == kCreateString && !c->hidden && text::StripMnemonic(c->text).shown == text) {
      harness::Click(menu, c->field);
      return true;
    }
  }
  return false;
}

TEST_F(PopupTest, ItemsCountFromOneWithoutSeparators) {
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [] { return Popup("A|-|~B|C", 10, 10); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickItem(*menu, "C"));
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, 3);
}

TEST_F(PopupTest, DisabledItemsAndSeparatorsCannotBeChosen) {
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [] { return Popup("A|-|~B|C", 10, 10); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickItem(*menu, "B"));
  const std::vector<const Control*> rules = Controls(*menu, kCreateLine);
  ASSERT_EQ(rules.size(), 1u);
  harness::ClickAt(*menu, rules[0]->x + 2, rules[0]->y);
  EXPECT_FALSE(chosen.has_value());
  EXPECT_TRUE(menu->IsOpen());
  const Control* b = WithText(*menu, kCreateString, "B");
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->disabled);  // drawn greyed
  ASSERT_TRUE(ClickItem(*menu, "A"));
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, 1);
}

struct KeysCase {
  const char* name;
  std::string items;
  std::vector<int32_t> keys;
  int32_t expected;
};

const KeysCase kKeysCases[] = {
    {"DownEnterFirst", "A|-|~B|C", {kDownKey, kEnterKey}, 1},
    {"DownSkipsSeparatorAndDisabled", "A|-|~B|C", {kDownKey, kDownKey, kEnterKey}, 3},
    {"DownWrapsAround", "A|-|~B|C", {kDownKey, kDownKey, kDownKey, kEnterKey}, 1},
    {"UpStartsAtTheEnd", "A|-|~B|C", {kUpKey, kEnterKey}, 3},
    {"HomeAndEnd", "A|B|C", {kEndKey, kUpKey, kEnterKey}, 2},
    {"HomeGoesToFirstEnabled", "~A|B|C", {kHomeKey, kEnterKey}, 2},
    {"EnterWithoutHighlightWaits", "A|B", {kEnterKey, kEscKey}, 0},
    {"EscDismisses", "A|B", {kDownKey, kEscKey}, 0},
    {"Mnemonic", "&Save|E&xit", {'X'}, 2},
    {"MnemonicWithAlt", "&Save|E&xit", {AltKey('S')}, 1},
    {"DisabledMnemonicIgnored", "~&Delete|&Other", {'D', 'O'}, 2},
    {"OnlyDisabledItems", "~A|~B", {kDownKey, kEnterKey, kEscKey}, 0},
};

class PopupKeysTest : public DialogTest, public ::testing::WithParamInterface<KeysCase> {};

TEST_P(PopupKeysTest, KeyboardChoosesOrDismisses) {
  const KeysCase& c = GetParam();
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [items = c.items] { return Popup(items, 0, 0); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  for (int32_t key : c.keys)
    if (menu->IsOpen()) harness::Press(*menu, key);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupKeysTest, ::testing::ValuesIn(kKeysCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(PopupTest, HighlightFollowsTheKeys) {
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [] { return Popup("First|Second", 0, 0); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  harness::Press(*menu, kDownKey);
  harness::Press(*menu, kDownKey);
  const Control* second = WithText(*menu, kCreateString, "Second");
  const Control* box =
      Controls(*menu, kCreateBox).empty() ? nullptr : Controls(*menu, kCreateBox)[0];
  ASSERT_NE(second, nullptr);
  ASSERT_NE(box, nullptr);
  EXPECT_LE(box->y, second->y);
  EXPECT_GE(box->y + box->h, second->y + menu->AutoHeight(*second));
  EXPECT_EQ(second->font.color, 0xFFFFFF);
  harness::Press(*menu, kEscKey);
  ASSERT_TRUE(Ended(t));
}

enum class Dismissal { kEsc, kClickLeftOfMenu, kClickBelowMenu, kFocusLost, kClose };

class PopupDismissTest : public DialogTest, public ::testing::WithParamInterface<Dismissal> {};

TEST_P(PopupDismissTest, DismissedMenuReturnsZero) {
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [] { return Popup("What's This", 50, 50); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  switch (GetParam()) {
    case Dismissal::kEsc:
      harness::Press(*menu, kEscKey);
      break;
    case Dismissal::kClickLeftOfMenu:
      harness::ClickAt(*menu, -5, 3);
      break;
    case Dismissal::kClickBelowMenu:
      harness::ClickAt(*menu, 3, menu->height() + 4);
      break;
    case Dismissal::kFocusLost:
      harness::FocusAway(*menu);
      break;
    case Dismissal::kClose:
      harness::CloseWindow(*menu);
      break;
  }
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, PopupDismissTest,
                         ::testing::Values(Dismissal::kEsc, Dismissal::kClickLeftOfMenu,
                                           Dismissal::kClickBelowMenu, Dismissal::kFocusLost,
                                           Dismissal::kClose));

// A host window that pops up a menu on a right-click, as a program's window does.
struct Host {
  std::string items = "What's This";
  int32_t x = kAtMouse, y = kAtMouse;
  std::optional<int32_t> chosen;
  std::vector<int32_t> events;
  std::function<void()> on_button;
};

int32_t StartHost(Host& host) {
  return Start([&host] {
    WindowDesc d;
    d.caption = "Host";
    d.w = 200;
    d.h = 100;
    d.controls = {
        {.field = 1, .type = kCreateButton, .x = 5, .y = 5, .w = 40, .h = 14, .text = "&Go"}};
    d.alerts = {kMouseRight};
    Window w(d);
    w.Open();
    while (w.Accept()) {
      host.events.push_back(Event());
      if (Event() == kEventAlertKey && KeyCode() == kMouseRight)
        host.chosen = Popup(host.items, host.x, host.y);
      if (Event() == kEventAccepted && Field() == 1 && host.on_button) host.on_button();
    }
  });
}

TEST_F(PopupTest, OpensAtTheMouseInTheCallersWindow) {
  Host host;
  const int32_t t = StartHost(host);
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickAt(*w, 40, 30, kMouseRight);
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->x(), w->x() + 40);
  EXPECT_EQ(menu->y(), w->y() + 30);
  ASSERT_TRUE(ClickItem(*menu, "What's This"));
  EXPECT_EQ(host.chosen, 1);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Ended(t));
}

TEST_F(PopupTest, OpensAtAGivenPositionAndStaysOnTheScreen) {
  Host host;
  host.x = 5;
  host.y = 7;
  const int32_t t = StartHost(host);
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickAt(*w, 60, 60, kMouseRight);
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->x(), w->x() + 5);
  EXPECT_EQ(menu->y(), w->y() + 7);
  harness::Press(*menu, kEscKey);
  EXPECT_EQ(host.chosen, 0);

  host.x = host.y = 100000;  // far off the screen: moved back onto it
  harness::ClickAt(*w, 60, 60, kMouseRight);
  menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  EXPECT_LE((menu->x() + menu->width()) * menu->PxPerDuX(), CurrentBackend().ScreenWidth() + 1);
  EXPECT_LE((menu->y() + menu->height()) * menu->PxPerDuY(), CurrentBackend().ScreenHeight() + 1);
  harness::Press(*menu, kEscKey);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Ended(t));
}

struct StrayCase {
  const char* name;
  std::string items;
  bool opens;  // false: returns 0 at once
};

const StrayCase kStrayCases[] = {
    {"Empty", "", false},       {"Bar", "|", false},          {"Separator", "-", false},
    {"TwoBars", "||", false},   {"Separators", "-|-", false}, {"Tilde", "~", true},
    {"Tildes", "~|~", true},    {"Ampersand", "&", true},     {"TrailingBar", "A|", true},
    {"LeadingBar", "|A", true}, {"Blanks", "  ", true},       {"SpacedSeparator", " - |A", true},
};

class PopupStrayTest : public DialogTest, public ::testing::WithParamInterface<StrayCase> {};

TEST_P(PopupStrayTest, OddTextsWork) {
  const StrayCase& c = GetParam();
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [items = c.items] { return Popup(items, 0, 0); });
  if (c.opens) {
    Window* menu = PopupWindow();
    ASSERT_NE(menu, nullptr);
    harness::Press(*menu, kEscKey);
  }
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupStrayTest, ::testing::ValuesIn(kStrayCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(PopupTest, EmptyItemsAreNotCounted) {
  std::optional<int32_t> chosen;
  const int32_t t = Run<int32_t>(chosen, [] { return Popup("|A||-|B|", 0, 0); });
  Window* menu = PopupWindow();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickItem(*menu, "B"));
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(chosen, 2);
}

// ---- STOP ----

using StopTest = DialogTest;

TEST_F(StopTest, IgnoreOrEscGoesOn) {
  for (bool by_esc : {false, true}) {
    std::optional<bool> went_on;
    const int32_t t =
        Run<bool>(went_on, [] { return Stop("Firstfield = 1 Lastfield = 4 nt = |"); });
    Window* box = harness::WaitForCaption("Stop");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(harness::FieldWithText(*box, "Firstfield = 1 Lastfield = 4 nt = |"), 0);
    EXPECT_EQ(Controls(*box, kCreateImage).at(0)->icon, "~hand");
    if (by_esc) {
      harness::Press(*box, kEscKey);
    } else {
      ASSERT_TRUE(harness::ClickButton(*box, "&Ignore"));
    }
    ASSERT_TRUE(Ended(t));
    EXPECT_EQ(went_on, true);
  }
}

TEST_F(StopTest, AbortEndsTheProgramWithLevelZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const int32_t t = Start([] { Stop("Vistip test result : Browser = x"); });
        if (Window* box = harness::WaitForCaption("Stop")) harness::ClickButton(*box, "&Abort");
        Join(t);
        std::_Exit(3);  // only reached when Stop returned
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(StopTest, OutsideARuntimeThreadShowsNothing) {
  bool result = true;
  std::thread([&result] { result = Stop("nobody sees this"); }).join();
  EXPECT_FALSE(result);
  EXPECT_TRUE(OpenWindows().empty());
}

}  // namespace
}  // namespace rt
