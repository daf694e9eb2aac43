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
#include "runtime/strings.h"
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
void PrintTo(const EscapeCase& c, std::ostream* os) {
  *os << c.name;
}

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
void PrintTo(const IconCase& c, std::ostream* os) {
  *os << "icon " << c.icon;
}

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
void PrintTo(const KeysCase& c, std::ostream* os) {
  *os << c.name;
}

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
void PrintTo(const StrayCase& c, std::ostream* os) {
  *os << c.name;
}

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

// ---- FONTDIALOG ----

struct FontValues {
  std::string typeface;
  int32_t size = 0, color = 0, style = 0;
  bool operator==(const FontValues&) const = default;
};

std::ostream& operator<<(std::ostream& os, const FontValues& v) {
  return os << v.typeface << "," << v.size << "," << v.color << "," << v.style;
}

class FontDialogTest : public DialogTest {
 protected:
  static constexpr const char* kTitle = "Select the Font for this String";

  // Opens the dialog on the values; the person then acts on `dialog_`.
  void Open(const FontValues& start) {
    values_ = start;
    thread_no_ = Run<bool>(confirmed_, [this] {
      return FontDialog(kTitle, values_.typeface, values_.size, values_.color, values_.style);
    });
    dialog_ = harness::WaitForCaption(kTitle);
    ASSERT_NE(dialog_, nullptr);
    Settle();
  }
  bool Finished() { return Ended(thread_no_); }

  // The list with a row showing `row_text`, and that row.
  std::pair<int32_t, int32_t> ListRow(std::string_view row_text) const {
    for (const Control* c : Controls(*dialog_, kCreateList))
      for (size_t r = 1; c->from != nullptr && r <= c->from->Rows(); ++r)
        if (c->from->Cell(r, 1) == row_text) return {c->field, static_cast<int32_t>(r)};
    return {0, 0};
  }
  int32_t EntryShowing(std::string_view text) const {
    for (const Control* c : Controls(*dialog_, kCreateEntry))
      if (dialog_->DisplayText(*c) == text) return c->field;
    return 0;
  }
  int32_t Swatch(std::string_view name) const {
    for (const Control* c : Controls(*dialog_, kCreateRegion))
      if (c->tooltip == name) return c->field;
    return 0;
  }
  int32_t Check(std::string_view text) const {
    const Control* c = WithText(*dialog_, kCreateCheck, text);
    return c ? c->field : 0;
  }
  bool Checked(std::string_view text) const {
    const Control* c = WithText(*dialog_, kCreateCheck, text);
    return c && c->use.number && *c->use.number != 0;
  }
  void Choose(std::string_view row_text) {
    const auto [list, row] = ListRow(row_text);
    ASSERT_NE(list, 0) << row_text;
    harness::ChooseRow(*dialog_, list, row);
  }
  void Retype(int32_t entry, std::string_view text) {
    ASSERT_NE(entry, 0);
    harness::Focus(*dialog_, entry);
    harness::Press(*dialog_, CtrlKey('A'));
    harness::Type(*dialog_, text);
  }
  void Pick(std::string_view swatch) {
    ASSERT_NE(Swatch(swatch), 0) << swatch;
    harness::Click(*dialog_, Swatch(swatch));
  }
  void Toggle(std::string_view check) {
    ASSERT_NE(Check(check), 0) << check;
    harness::Click(*dialog_, Check(check));
  }
  const Control& Sample() const {
    const Control* c = WithText(*dialog_, kCreateString, "AaBbYyZz");
    EXPECT_NE(c, nullptr);
    return *c;
  }

  FontValues values_;
  std::optional<bool> confirmed_;
  int32_t thread_no_ = 0;
  Window* dialog_ = nullptr;
};

TEST_F(FontDialogTest, ChosenValuesComeBackOnOk) {
  ASSERT_NO_FATAL_FAILURE(Open({"MS Sans Serif", 8, 0, 400}));
  Choose("Arial");
  Choose("10");
  Pick("Red");
  Toggle("&Bold");
  EXPECT_EQ(Sample().font, (Font{"Arial", 10, 0x0000FF, 700}));
  ASSERT_TRUE(harness::ClickButton(*dialog_, "&OK"));
  ASSERT_TRUE(Finished());
  EXPECT_EQ(confirmed_, true);
  EXPECT_EQ(values_, (FontValues{"Arial", 10, 255, 700}));
}

TEST_F(FontDialogTest, TypedSizeAndColourValueAndEnterConfirm) {
  ASSERT_NO_FATAL_FAILURE(Open({"Arial", 8, 0, 400}));
  Retype(EntryShowing("8"), "13");
  Retype(EntryShowing("0"), "12345");
  Retype(EntryShowing("Arial"), "DejaVu Serif");
  Toggle("&Italic");
  Toggle("&Underline");
  Toggle("Stri&keout");
  harness::Press(*dialog_, kEnterKey);
  ASSERT_TRUE(Finished());
  EXPECT_EQ(confirmed_, true);
  EXPECT_EQ(values_, (FontValues{"DejaVu Serif", 13, 12345,
                                 400 | kFontItalic | kFontUnderline | kFontStrikeout}));
}

enum class Leave { kCancelButton, kEsc, kClose, kEnterOnCancel };

class FontDialogCancelTest : public FontDialogTest, public ::testing::WithParamInterface<Leave> {};

TEST_P(FontDialogCancelTest, CancelChangesNothing) {
  const FontValues start{"Courier New", 12, 0x808080, 700 | kFontItalic};
  ASSERT_NO_FATAL_FAILURE(Open(start));
  Choose("Arial");
  Pick("Blue");
  Toggle("&Bold");
  Retype(EntryShowing("12"), "20");
  switch (GetParam()) {
    case Leave::kCancelButton:
      ASSERT_TRUE(harness::ClickButton(*dialog_, "&Cancel"));
      break;
    case Leave::kEsc:
      harness::Press(*dialog_, kEscKey);
      break;
    case Leave::kClose:
      harness::CloseWindow(*dialog_);
      break;
    case Leave::kEnterOnCancel:
      harness::Focus(*dialog_, WithText(*dialog_, kCreateButton, "&Cancel")->field);
      harness::Press(*dialog_, kEnterKey);
      break;
  }
  ASSERT_TRUE(Finished());
  EXPECT_EQ(confirmed_, false);
  EXPECT_EQ(values_, start);
}

INSTANTIATE_TEST_SUITE_P(Ways, FontDialogCancelTest,
                         ::testing::Values(Leave::kCancelButton, Leave::kEsc, Leave::kClose,
                                           Leave::kEnterOnCancel));

TEST_F(FontDialogTest, StartsFromTheGivenValues) {
  ASSERT_NO_FATAL_FAILURE(Open({"Arial", 10, 0x0000FF, 700 | kFontItalic}));
  EXPECT_NE(EntryShowing("Arial"), 0);
  EXPECT_NE(EntryShowing("10"), 0);
  EXPECT_NE(EntryShowing("255"), 0);
  EXPECT_TRUE(Checked("&Bold"));
  EXPECT_TRUE(Checked("&Italic"));
  EXPECT_FALSE(Checked("&Underline"));
  EXPECT_FALSE(Checked("Stri&keout"));
  const auto [face_list, arial_row] = ListRow("Arial");
  EXPECT_EQ(dialog_->GetPropInt(face_list, kPropSelStart), arial_row);
  const auto [size_list, ten_row] = ListRow("10");
  EXPECT_EQ(dialog_->GetPropInt(size_list, kPropSelStart), ten_row);
  EXPECT_EQ(Sample().font, (Font{"Arial", 10, 0x0000FF, 700 | kFontItalic}));
  harness::Press(*dialog_, kEscKey);
  ASSERT_TRUE(Finished());
}

TEST_F(FontDialogTest, NoFontChosenYetShowsBlankSize) {
  ASSERT_NO_FATAL_FAILURE(Open({"", 0, 0, 0}));
  EXPECT_EQ(ListRow("10").first != 0, true);
  ASSERT_TRUE(harness::ClickButton(*dialog_, "&OK"));
  ASSERT_TRUE(Finished());
  EXPECT_EQ(values_, (FontValues{"", 0, 0, 0}));
}

TEST_F(FontDialogTest, PreviewStaysInsideTheSampleGroup) {
  for (int32_t size : {8, 72}) {
    ASSERT_NO_FATAL_FAILURE(Open({"DejaVu Serif", size, 0, 700}));
    const Control* group = WithText(*dialog_, kCreateOption, "Sample");
    ASSERT_NE(group, nullptr);
    const Control& sample = Sample();
    EXPECT_EQ(sample.font.size, size);
    EXPECT_GE(sample.x, group->x);
    EXPECT_GE(sample.y, group->y);
    EXPECT_LE(sample.x + dialog_->AutoWidth(sample), group->x + group->w);
    EXPECT_LE(sample.y + dialog_->AutoHeight(sample), group->y + group->h);
    harness::Press(*dialog_, kEscKey);
    ASSERT_TRUE(Finished());
  }
}

TEST_F(FontDialogTest, BlankTitleGivesTheCaptionFont) {
  std::string face = "Arial";
  int32_t size = 8, color = 0, style = 400;
  std::optional<bool> confirmed;
  const int32_t t = Run<bool>(confirmed, [&] { return FontDialog("", face, size, color, style); });
  Window* w = harness::WaitForCaption("Font");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->thread(), t);
  harness::Press(*w, kEscKey);
  ASSERT_TRUE(Ended(t));
  EXPECT_EQ(confirmed, false);
}

struct StyleCase {
  const char* name;
  int32_t start;
  std::vector<const char*> toggles;
  int32_t expected;
};
void PrintTo(const StyleCase& c, std::ostream* os) {
  *os << c.name;
}

const StyleCase kStyleCases[] = {
    {"WeightKeptWhenUntouched", 600, {}, 600},
    {"BoldSetsSevenHundred", 600, {"&Bold"}, 700},
    {"HeavyWeightKept", 800, {}, 800},
    {"BoldOffGivesNormal", 800, {"&Bold"}, 400},
    {"ZeroKept", 0, {}, 0},
    {"FlagsAdded", kFontUnderline, {"Stri&keout"}, kFontUnderline | kFontStrikeout},
    {"FlagsRemoved", 400 | kFontItalic | kFontUnderline, {"&Italic", "&Underline"}, 400},
    {"BoldTwiceIsUntouched", 550, {"&Bold", "&Bold"}, 550},
};

class FontDialogStyleTest : public FontDialogTest,
                            public ::testing::WithParamInterface<StyleCase> {};

TEST_P(FontDialogStyleTest, StyleIsWeightOrFlags) {
  const StyleCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Open({"Arial", 10, 0, c.start}));
  for (const char* check : c.toggles) Toggle(check);
  ASSERT_TRUE(harness::ClickButton(*dialog_, "&OK"));
  ASSERT_TRUE(Finished());
  EXPECT_EQ(values_.style, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontDialogStyleTest, ::testing::ValuesIn(kStyleCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(FontFamilies, InstalledFamiliesSortedOnceWithTheClassicNames) {
  const std::vector<std::string> families = dialogs::FontFamilies();
  ASSERT_GT(families.size(), 2u);  // the two classic names and at least one installed family
  EXPECT_NE(std::find(families.begin(), families.end(), "MS Sans Serif"), families.end());
  EXPECT_NE(std::find(families.begin(), families.end(), "Arial"), families.end());
  EXPECT_TRUE(std::find(families.begin(), families.end(), "DejaVu Sans") != families.end() ||
              std::find(families.begin(), families.end(), "Liberation Sans") != families.end());
  for (size_t i = 1; i < families.size(); ++i) {
    EXPECT_NE(families[i - 1], families[i]);
    EXPECT_LE(Lower(families[i - 1]), Lower(families[i]));
  }
}

// With a handler set (command-line tools), MESSAGE and STOP open no window: the handler gets
// the text line by line and the caption, and the call answers as Esc would.
TEST_F(MessageTest, AHandlerTakesTheTextAndTheEscAnswerWithoutAWindow) {
  std::vector<std::string> seen;
  const MessageHandler previous =
      SetMessageHandler([&](std::string_view text, std::string_view caption) {
        seen.push_back(std::string(caption) + ": " + std::string(text));
      });
  EXPECT_EQ(Message("Rebuild?|Really", "Invalid Key", kIconExclamation, kButtonYes | kButtonNo,
                    kButtonYes),
            kButtonNo);
  EXPECT_EQ(Message("Done", "", kIconNone, kButtonOk | kButtonRetry, kButtonRetry), kButtonRetry);
  EXPECT_TRUE(Stop("a|b"));
  EXPECT_TRUE(OpenWindows().empty());
  EXPECT_EQ(seen,
            (std::vector<std::string>{"Invalid Key: Rebuild?\nReally", ": Done", "Stop: a|b"}));
  EXPECT_FALSE(previous);                    // none was set before
  EXPECT_TRUE(SetMessageHandler(previous));  // gives ours back and restores the boxes
}

}  // namespace
}  // namespace rt
