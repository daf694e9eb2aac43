// vtSHOWHELP and VTWATCH on a real host window: which fields get armed, the popup menu on a
// right-click and its answers, the key code, events that are no help request, the scan of
// event 500H, and the STOP diagnostics.
#include "api/help_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/setters.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/api/api_fixture.h"
#include "tests/api/test_host.h"

namespace vistip::testing {
namespace {

namespace harness = rt::harness;

class HelpRequestTest : public ApiTest {};

// ---- Arming ----

std::string NegativeFieldList() {
  std::string list;
  for (int f = -1; f >= -21; --f) list += (list.empty() ? "" : "|") + std::to_string(f);
  return list;
}

std::vector<int32_t> Range(int32_t from, int32_t to) {
  std::vector<int32_t> out;
  for (int32_t f = from; f <= to; ++f) out.push_back(f);
  return out;
}

std::vector<int32_t> NegativeFields() {
  std::vector<int32_t> out;
  for (int32_t f = -1; f >= -21; --f) out.push_back(f);
  return out;
}

struct ArmCase {
  const char* name;
  std::optional<std::string> exclusions;
  std::optional<int32_t> flags;
  bool negative_controls;  // the window also has hidden controls -1 to -21
  std::vector<int32_t> armed;
  std::vector<int32_t> unarmed;
};

const std::vector<int32_t> kNegatives1To20 = Range(-20, -1);

const ArmCase kArmCases[] = {
    {"BarsExcludeExactNumbers", "3|5", std::nullopt, false, {1, 2, 4, 6, 7, 30, 35, 36}, {3, 5}},
    {"TrailingBlanksKeepTheLastNumberArmed", "3|5   ", std::nullopt, false, {5, 35}, {3}},
    {"OmittedListArmsEveryField", std::nullopt, std::nullopt, false, Range(1, 36), {}},
    {"BlankListArmsEveryField", "", std::nullopt, false, Range(1, 36), {}},
    {"ANumberExcludesNoneOfItsDigits", "35", std::nullopt, false, {3, 5}, {35}},
    // "|3|0...0|5|" is cut to 255 characters, which drops "5|": field 5 stays armed.
    {"ExclusionTextCutTo255", "3|" + std::string(251, '0') + "|5", std::nullopt, false, {5}, {3}},
    {"Flags2ArmsMinus1ToMinus20PastTheList", NegativeFieldList(), 2, true, kNegatives1To20, {-21}},
    {"Flags3CountsAs2", NegativeFieldList(), 3, true, kNegatives1To20, {-21}},
    {"Flags1ArmsNoNegativeField", NegativeFieldList(), 1, true, {1, 36}, NegativeFields()},
    {"OmittedFlagsArmNoNegativeField",
     NegativeFieldList(),
     std::nullopt,
     true,
     {1, 36},
     NegativeFields()},
};

class ArmTest : public HelpRequestTest, public ::testing::WithParamInterface<ArmCase> {};

TEST_P(ArmTest, ArmsTheRightFields) {
  const ArmCase& c = GetParam();
  HostOptions options{.exclusions = c.exclusions, .flags = c.flags};
  if (c.negative_controls) options.extra_fields = NegativeFields();
  TestHost host(options);
  ASSERT_TRUE(host.WaitArmed());
  for (int32_t f : c.armed) EXPECT_EQ(host.HelpAlert(f), rt::kMouseRight) << "field " << f;
  for (int32_t f : c.unarmed) EXPECT_EQ(host.HelpAlert(f), 0) << "field " << f;
  // The window itself never carries the help alert, whatever the field range.
  EXPECT_EQ(host.window().alert(kHelpAlertSlot), 0);
}

INSTANTIATE_TEST_SUITE_P(Lists, ArmTest, ::testing::ValuesIn(kArmCases), CaseName());

TEST_F(HelpRequestTest, ExcludedNegativeFieldsAroundTheWindowStayUnarmedOnARightClick) {
  // Fields -2 to 3 around field 0: excluding -1 and 2 must not arm them through the window.
  TestHost host({.fields = 3, .extra_fields = {-2, -1}, .exclusions = "-1|2"});
  ASSERT_TRUE(host.WaitArmed());
  harness::RightClick(host.window(), 2);
  EXPECT_EQ(WaitForPopup(std::chrono::milliseconds(100)), nullptr) << "field 2 was excluded";
  EXPECT_TRUE(host.CallsWith(rt::kEventAlertKey).empty());
  EXPECT_EQ(host.HelpAlert(-1), 0);
  EXPECT_EQ(host.HelpAlert(-2), rt::kMouseRight);
}

TEST_F(HelpRequestTest, BlankPopupStringBecomesWhatsThis) {
  TestHost host({});
  ASSERT_TRUE(host.WaitArmed());
  EXPECT_EQ(GLO.POPUPSTRING, "What's This");
}

TEST_F(HelpRequestTest, PopupStringSetByTheHostSurvivesArming) {
  vtSetPopUp("Explain this|Other");
  TestHost host({});
  ASSERT_TRUE(host.WaitArmed());
  EXPECT_EQ(GLO.POPUPSTRING, "Explain this|Other");
  harness::RightClick(host.window(), 7);
  rt::Window* popup = WaitForPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(harness::FieldWithText(*popup, "Explain this"), 0);
  EXPECT_EQ(harness::FieldWithText(*popup, "What's This"), 0);
  EXPECT_TRUE(ChoosePopupItem(*popup, "Other"));
}

// ---- The popup on a right-click ----

enum class Answer { kFirstItem, kSecondItem, kDismiss };

struct RightClickCase {
  const char* name;
  Answer answer;
  int32_t result;
  int32_t pos_control;
};

const RightClickCase kRightClickCases[] = {
    {"FirstItemReturnsTheFieldAndKeepsIt", Answer::kFirstItem, 7, 7},
    {"SecondItemReturnsMinus2", Answer::kSecondItem, -2, 0},
    {"DismissedPopupReturns0", Answer::kDismiss, 0, 0},
};

class RightClickTest : public HelpRequestTest,
                       public ::testing::WithParamInterface<RightClickCase> {};

TEST_P(RightClickTest, AnswersAndClearsTheKeyCode) {
  const RightClickCase& c = GetParam();
  vtSetPopUp("What's This|Properties");
  TestHost host({});
  ASSERT_TRUE(host.WaitArmed());
  harness::RightClick(host.window(), 7);
  rt::Window* popup = WaitForPopup();
  ASSERT_NE(popup, nullptr);
  // The menu opens at the mouse: where the right button was pressed in the host window.
  EXPECT_EQ(popup->x(), host.window().x() + host.window().mouse_x);
  EXPECT_EQ(popup->y(), host.window().y() + host.window().mouse_y);
  switch (c.answer) {
    case Answer::kFirstItem:
      ASSERT_TRUE(ChoosePopupItem(*popup, "What's This"));
      break;
    case Answer::kSecondItem:
      ASSERT_TRUE(ChoosePopupItem(*popup, "Properties"));
      break;
    case Answer::kDismiss:
      harness::Press(*popup, rt::kEscKey);
      break;
  }
  ASSERT_TRUE(harness::Settle());
  const std::vector<WatchCall> alerts = host.CallsWith(rt::kEventAlertKey);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].field, 7);
  EXPECT_EQ(alerts[0].keycode_before, rt::kMouseRight);
  EXPECT_EQ(alerts[0].result, c.result);
  EXPECT_EQ(alerts[0].pos_control_after, c.pos_control);
  EXPECT_EQ(alerts[0].keycode_after, 0);
  EXPECT_EQ(POS.CONTROL, c.pos_control);
  EXPECT_EQ(rt::KeyCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, RightClickTest, ::testing::ValuesIn(kRightClickCases),
                         CaseName());

TEST_F(HelpRequestTest, PassedPopupTextReplacesTheStoredOne) {
  vtSetPopUp("Stored|Text");
  TestHost host({.popup_text = "Passed|Menu"});
  ASSERT_TRUE(host.WaitArmed());
  harness::RightClick(host.window(), 7);
  rt::Window* popup = WaitForPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(harness::FieldWithText(*popup, "Stored"), 0);
  ASSERT_TRUE(ChoosePopupItem(*popup, "Menu"));
  ASSERT_TRUE(harness::Settle());
  ASSERT_EQ(host.CallsWith(rt::kEventAlertKey).size(), 1u);
  EXPECT_EQ(host.CallsWith(rt::kEventAlertKey)[0].result, -2);
}

TEST_F(HelpRequestTest, BlankPopupTextDiffersFromOmitted) {
  // A blank text is passed as it is: a menu without items, which gives 0 at once.
  TestHost host({.popup_text = ""});
  ASSERT_TRUE(host.WaitArmed());
  harness::RightClick(host.window(), 7);
  ASSERT_TRUE(harness::Settle());
  EXPECT_EQ(WaitForPopup(std::chrono::milliseconds(100)), nullptr);
  const std::vector<WatchCall> alerts = host.CallsWith(rt::kEventAlertKey);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].result, 0);
  EXPECT_EQ(alerts[0].keycode_after, 0);
  EXPECT_EQ(POS.CONTROL, 0);
}

TEST_F(HelpRequestTest, OtherEventsReturn0AndChangeNothing) {
  TestHost host({});
  ASSERT_TRUE(host.WaitArmed());
  POS.CONTROL = 12;  // a pending request no other event may touch
  const size_t first = host.calls().size();
  harness::Click(host.window(), 8);  // a button: accepted
  harness::Focus(host.window(), 9);  // an entry
  harness::Type(host.window(), "typed");
  harness::Focus(host.window(), 11);
  harness::Press(host.window(), rt::kF2Key);       // alerted, but no right button
  ASSERT_TRUE(rt::Post(0x401, 3, host.thread()));  // a user event
  ASSERT_TRUE(harness::Settle());
  ASSERT_GT(host.calls().size(), first + 5);
  EXPECT_EQ(host.CallsWith(rt::kEventAlertKey).size(), 1u) << "the F2 press";
  EXPECT_EQ(host.CallsWith(0x401).size(), 1u);
  // Every call so far, the window's opening events included.
  for (size_t i = 0; i < host.calls().size(); ++i) {
    const WatchCall& call = host.calls()[i];
    SCOPED_TRACE(::testing::Message() << "event " << call.event << " field " << call.field);
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(call.keycode_after, call.keycode_before);
    EXPECT_EQ(call.pos_control_after, call.pos_control_before);
    if (i >= first) {
      EXPECT_EQ(call.pos_control_after, 12);
    }
  }
  EXPECT_EQ(rt::KeyCode(), rt::kF2Key);
  EXPECT_EQ(POS.CONTROL, 12);
}

// ---- Event 500H: the first field from -250 up whose handle reads 0 ----

struct ScanCase {
  const char* name;
  std::vector<int32_t> controls;
  int32_t result;
  int32_t pos_control;
};

const ScanCase kScanCases[] = {
    {"NoControlAtMinus250", {}, 250, -250},
    {"FirstFreeNumberAfterControls", {-250, -249}, 248, -248},
    {"AGapBetweenControls", {-250, -248}, 249, -249},
};

class ScanTest : public HelpRequestTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanTest, TakesTheFirstFieldWithoutAHandle) {
  const ScanCase& c = GetParam();
  TestHost host({.extra_fields = c.controls});
  ASSERT_TRUE(host.WaitArmed());
  ASSERT_TRUE(rt::Post(kEventHandleScan, 0, host.thread()));
  ASSERT_TRUE(harness::Settle());
  const std::vector<WatchCall> scans = host.CallsWith(kEventHandleScan);
  ASSERT_EQ(scans.size(), 1u);
  EXPECT_EQ(scans[0].result, c.result);
  EXPECT_EQ(POS.CONTROL, c.pos_control);
}

INSTANTIATE_TEST_SUITE_P(Fields, ScanTest, ::testing::ValuesIn(kScanCases), CaseName());

std::vector<int32_t> EveryNegativeField() {
  return Range(-250, -1);
}

TEST_F(HelpRequestTest, ScanWithoutAFreeFieldReturns0) {
  TestHost host({.fields = 5, .extra_fields = EveryNegativeField()});
  ASSERT_TRUE(host.WaitArmed());
  POS.CONTROL = 4;
  ASSERT_TRUE(rt::Post(kEventHandleScan, 0, host.thread()));
  ASSERT_TRUE(harness::Settle());
  EXPECT_EQ(harness::WaitForCaption("Stop", std::chrono::milliseconds(100)), nullptr);
  ASSERT_EQ(host.CallsWith(kEventHandleScan).size(), 1u);
  EXPECT_EQ(host.CallsWith(kEventHandleScan)[0].result, 0);
  EXPECT_EQ(POS.CONTROL, 4);
}

TEST_F(HelpRequestTest, ScanWithoutAFreeFieldStopsWithVthdbg) {
  rt::SetCommandLineForTesting({"host", "/vthdbg"});
  TestHost host({.fields = 5, .extra_fields = EveryNegativeField()});
  ASSERT_TRUE(host.WaitArmed());
  ASSERT_TRUE(rt::Post(kEventHandleScan, 0, host.thread()));
  rt::Window* stop = harness::WaitForCaption("Stop");
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(ShownStrings(*stop), "lastfield = 5");
  ASSERT_TRUE(harness::ClickButton(*stop, "&Ignore"));
  ASSERT_TRUE(harness::Settle());
  ASSERT_EQ(host.CallsWith(kEventHandleScan).size(), 1u);
  EXPECT_EQ(host.CallsWith(kEventHandleScan)[0].result, 0);
}

// ---- "/vtdebug" ----

TEST_F(HelpRequestTest, VtdebugShowsEveryStepInAStop) {
  rt::SetCommandLineForTesting({"host", "/vtdebug"});
  TestHost host({.fields = 3, .exclusions = "2", .flags = 2});
  const std::string blanks(252, ' ');
  const std::vector<std::string> expected = {
      "Firstfield = 1 Lastfield = 3 nt = |2|", "looking for |1| in |2|" + blanks,
      "looking for |2| in |2|" + blanks,       "not alerting.... 2",
      "looking for |3| in |2|" + blanks,
  };
  std::vector<std::string> shown;
  for (size_t i = 0; i < expected.size(); ++i) {
    rt::Window* stop = harness::WaitForCaption("Stop");
    ASSERT_NE(stop, nullptr) << "STOP " << i;
    shown.push_back(ShownStrings(*stop));
    ASSERT_TRUE(harness::ClickButton(*stop, "&Ignore"));
  }
  ASSERT_TRUE(host.WaitArmed());
  EXPECT_EQ(harness::WaitForCaption("Stop", std::chrono::milliseconds(100)), nullptr)
      << "the negative fields are armed without diagnostics";
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(shown[i], OneBlank(expected[i]));
  EXPECT_EQ(host.HelpAlert(1), rt::kMouseRight);
  EXPECT_EQ(host.HelpAlert(2), 0);
  EXPECT_EQ(host.HelpAlert(3), rt::kMouseRight);
}

}  // namespace
}  // namespace vistip::testing
