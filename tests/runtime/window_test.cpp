// Window model and event loop: properties, fields, measurement, alerts, default actions, posts.
#include "runtime/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"

namespace rt {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { UseHeadlessBackend(); }
  RuntimeThread thread_;
};

WindowDesc SmallWindow() {
  WindowDesc d;
  d.caption = "Test";
  d.w = 200;
  d.h = 120;
  d.controls = {
      {.field = 1, .type = kCreateString, .x = 5, .y = 5, .text = "Hello"},
      {.field = 2, .type = kCreateEntry, .x = 5, .y = 20, .w = 80, .h = 10},
      {.field = 3, .type = kCreateButton, .x = 5, .y = 40, .w = 40, .h = 14, .text = "&Ok"},
      {.field = 4, .type = kCreateText, .x = 5, .y = 60, .w = 160, .h = 50},
  };
  return d;
}

TEST_F(WindowTest, UnknownPropertiesAreKeptAndMissingFieldsIgnored) {
  Window w(SmallWindow());
  w.Open();
  w.SetProp(1, 0x7BEE, "kept", 3);
  EXPECT_EQ(w.GetProp(1, 0x7BEE, 3), "kept");
  EXPECT_EQ(w.GetProp(1, 0x7BEE, 4), "");
  w.SetProp(0, 0x7BEF, "window");
  EXPECT_EQ(w.GetProp(0, 0x7BEF), "window");
  w.SetProp(99, kPropText, "nobody");  // no control: nothing happens
  EXPECT_EQ(w.GetProp(99, kPropText), "");
  EXPECT_EQ(w.GetPropInt(99, kPropHandle), 0);
  EXPECT_NE(w.GetPropInt(1, kPropHandle), 0);
  EXPECT_EQ(w.FirstField(), 1);
  EXPECT_EQ(w.LastField(), 4);
}

TEST_F(WindowTest, CreatedControlsStartHiddenAndDestroyRemovesARange) {
  Window w(SmallWindow());
  w.Open();
  w.Create(300, kCreateString);
  w.Create(301, kCreateRegion);
  EXPECT_EQ(w.GetPropInt(300, kPropHide), 1);
  w.Unhide(300, 301);
  EXPECT_EQ(w.GetPropInt(301, kPropHide), 0);
  w.Destroy(300, 301);
  EXPECT_EQ(w.Find(300), nullptr);
  EXPECT_EQ(w.Find(301), nullptr);
  EXPECT_EQ(w.LastField(), 4);
}

TEST_F(WindowTest, StringWidthGrowsWithFontSize) {
  Window w(SmallWindow());
  w.Open();
  w.Create(300, kCreateString);
  w.SetProp(300, kPropText, "A string of some length");
  const int32_t small = w.GetPropInt(300, kPropWidth);
  w.SetPropInt(300, kPropFontSize, 16);
  const int32_t large = w.GetPropInt(300, kPropWidth);
  EXPECT_GT(small, 20);
  EXPECT_GT(large, small * 3 / 2);
}

TEST_F(WindowTest, TextControlWrapsAtItsWidthAndLinesJoinBack) {
  Window w(SmallWindow());
  w.Open();
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "word" + std::to_string(i) + " ";
  paragraph += "end";
  w.SetProp(4, kPropText, paragraph);
  std::vector<int32_t> counts;
  for (int32_t width : {160, 290}) {
    w.SetPropInt(4, kPropWidth, width);
    const int32_t n = w.GetPropInt(4, kPropLineCount);
    std::string joined;
    for (int32_t i = 1; i <= n; ++i) joined += w.GetProp(4, kPropLine, i);
    EXPECT_EQ(joined, paragraph) << "width " << width;
    counts.push_back(n);
  }
  EXPECT_GT(counts[0], counts[1]);
  EXPECT_GT(counts[1], 1);
}

// Runs a window on its own thread and records every event it sees.
struct Recorder {
  std::vector<std::pair<int32_t, int32_t>> events;  // event, field
  std::vector<int32_t> keycodes;
  Window* window = nullptr;
  bool cycle_close = false;
};

int32_t StartRecorder(Recorder& r, WindowDesc desc) {
  return Start([&r, desc] {
    Window w(desc);
    w.Open();
    r.window = &w;
    while (w.Accept()) {
      r.events.emplace_back(Event(), Field());
      r.keycodes.push_back(KeyCode());
      if (Event() == kEventCloseWindow && r.cycle_close) {
        r.cycle_close = false;
        Cycle();
        continue;
      }
    }
    r.window = nullptr;
  });
}

TEST_F(WindowTest, RightClickOnAlertedFieldGivesPreAlertThenAlertWithKeyCode2) {
  Recorder r;
  const int32_t t = StartRecorder(r, SmallWindow());
  ASSERT_TRUE(WaitFor([&] { return r.window != nullptr; }));
  harness::Settle();
  r.window->SetPropInt(2, kPropAlert, kMouseRight, 255);
  r.events.clear();
  r.keycodes.clear();
  harness::RightClick(*r.window, 2);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0], std::make_pair(kEventPreAlertKey, 2));
  EXPECT_EQ(r.events[1], std::make_pair(kEventAlertKey, 2));
  EXPECT_EQ(r.keycodes[1], kMouseRight);
  // Without the alert a right-click on the entry raises nothing.
  r.window->SetPropInt(2, kPropAlert, 0, 255);
  r.events.clear();
  harness::RightClick(*r.window, 2);
  EXPECT_TRUE(r.events.empty());
  harness::CloseWindow(*r.window);
  EXPECT_TRUE(Join(t));
}

TEST_F(WindowTest, CycleKeepsTheDefaultCloseFromRunning) {
  Recorder r;
  r.cycle_close = true;
  const int32_t t = StartRecorder(r, SmallWindow());
  ASSERT_TRUE(WaitFor([&] { return r.window != nullptr; }));
  ASSERT_TRUE(Post(kEventCloseWindow, 0, t));
  harness::Settle();
  ASSERT_NE(r.window, nullptr) << "a cycled close must leave the window open";
  ASSERT_TRUE(Post(kEventCloseWindow, 0, t));
  EXPECT_TRUE(Join(t));
  EXPECT_EQ(r.window, nullptr);
}

TEST_F(WindowTest, OpenGivesOpenWindowThenGainFocusAndClicksAccept) {
  Recorder r;
  const int32_t t = StartRecorder(r, SmallWindow());
  ASSERT_TRUE(WaitFor([&] { return r.window != nullptr; }));
  harness::Settle();
  ASSERT_GE(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].first, kEventOpenWindow);
  EXPECT_EQ(r.events[1].first, kEventGainFocus);
  r.events.clear();
  harness::Click(*r.window, 3);
  ASSERT_FALSE(r.events.empty());
  EXPECT_EQ(r.events.back(), std::make_pair(kEventAccepted, 3));
  harness::FocusAway(*r.window);
  EXPECT_EQ(r.events.back().first, kEventLoseFocus);
  harness::CloseWindow(*r.window);
  EXPECT_TRUE(Join(t));
}

TEST_F(WindowTest, TypingIntoABoundEntryWritesTheVariable) {
  char name[10];
  std::fill(std::begin(name), std::end(name), ' ');
  WindowDesc d = SmallWindow();
  d.controls[1].use = Binding{name, sizeof name, nullptr};
  d.controls[1].picture = "@s10";
  Recorder r;
  const int32_t t = StartRecorder(r, d);
  ASSERT_TRUE(WaitFor([&] { return r.window != nullptr; }));
  harness::Click(*r.window, 2);
  harness::Type(*r.window, "Hello world, more than ten");
  EXPECT_EQ(std::string(name, sizeof name), "Hello worl");
  harness::Press(*r.window, kBackspaceKey);
  EXPECT_EQ(std::string(name, sizeof name), "Hello wor ");
  r.events.clear();
  harness::Press(*r.window, kTabKey);  // leaving a changed entry accepts it
  ASSERT_FALSE(r.events.empty());
  EXPECT_EQ(r.events.front(), std::make_pair(kEventAccepted, 2));
  harness::CloseWindow(*r.window);
  EXPECT_TRUE(Join(t));
}

TEST_F(WindowTest, TimerTicksAtItsInterval) {
  WindowDesc d = SmallWindow();
  d.timer = 2;  // 20 ms
  Recorder r;
  const int32_t t = StartRecorder(r, d);
  ASSERT_TRUE(WaitFor([&] {
    int ticks = 0;
    for (auto& e : r.events) ticks += e.first == kEventTimer;
    return ticks >= 3;
  }));
  ASSERT_TRUE(Post(kEventCloseWindow, 0, t));
  EXPECT_TRUE(Join(t));
}

TEST_F(WindowTest, AliasMapsF1ToAltH) {
  WindowDesc d = SmallWindow();
  d.alerts = {AltKey('H')};
  Alias(kF1Key, AltKey('H'));
  Recorder r;
  const int32_t t = StartRecorder(r, d);
  ASSERT_TRUE(WaitFor([&] { return r.window != nullptr; }));
  harness::Settle();
  r.events.clear();
  r.keycodes.clear();
  harness::Press(*r.window, kF1Key);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[1].first, kEventAlertKey);
  EXPECT_EQ(r.keycodes[1], AltKey('H'));
  Alias(0, 0);
  r.events.clear();
  harness::Press(*r.window, kF1Key);
  EXPECT_TRUE(r.events.empty());
  harness::CloseWindow(*r.window);
  EXPECT_TRUE(Join(t));
}

}  // namespace
}  // namespace rt

namespace rt {
namespace {

// A modal window opened while an event is handled leaves that event current when it closes.
TEST_F(WindowTest, ModalLoopRestoresTheOuterEvent) {
  int32_t after_event = -1, after_field = -1;
  bool inner_open = false;
  Window* outer_window = nullptr;
  const int32_t t = Start([&] {
    Window outer(SmallWindow());
    outer.Open();
    outer_window = &outer;
    while (outer.Accept()) {
      if (Event() == kEventAccepted && Field() == 3) {
        Window inner(SmallWindow());
        inner.Open();
        inner_open = true;
        while (inner.Accept()) {
        }
        inner.Close();
        inner_open = false;
        after_event = Event();
        after_field = Field();
      }
    }
  });
  ASSERT_TRUE(WaitFor([&] { return outer_window != nullptr; }));
  harness::Settle();
  harness::Click(*outer_window, 3);
  ASSERT_TRUE(WaitFor([&] { return inner_open; }));
  Window* inner = harness::CurrentWindowOf(t);
  ASSERT_NE(inner, outer_window);
  harness::CloseWindow(*inner);
  ASSERT_TRUE(WaitFor([&] { return !inner_open; }));
  EXPECT_EQ(after_event, kEventAccepted);
  EXPECT_EQ(after_field, 3);
  harness::CloseWindow(*outer_window);
  EXPECT_TRUE(Join(t));
}

}  // namespace
}  // namespace rt
