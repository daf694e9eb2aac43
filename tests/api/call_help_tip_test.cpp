// vtCALLHELPTIP: the request variables with their widths, the conversion of the requesting
// control's position, and where the tip window runs ("IDE" on the caller's thread, any other
// type on a new thread whose parent is the caller).
#include "api/call_help_tip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/codes.h"
#include "runtime/cstring.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "state/state.h"
#include "tests/api/api_fixture.h"
#include "tests/api/test_host.h"

namespace vistip::testing {
namespace {

namespace harness = rt::harness;

// What a tip window procedure found when it started.
struct SeenRequest {
  bool ran = false;
  int32_t thread = 0;
  GlobalState glo;
  PositionState pos;
};

class CallHelpTipTest : public ApiTest {
 protected:
  void RecordRequests() {
    SetTipWindowProcedure([this](const TipRequest&) {
      seen_.thread = rt::Thread();
      seen_.glo = GLO;
      seen_.pos = POS;
      seen_.ran = true;
    });
  }
  bool WaitSeen() {
    return rt::WaitFor([this] { return seen_.ran; });
  }

  SeenRequest seen_;
};

// ---- Request variables ----

struct RequestCase {
  const char* name;
  std::string tip_file, procedure, control, type;
  std::string want_tip_file, want_procedure, want_control, want_type;
};

const RequestCase kRequestCases[] = {
    {"EmptyTipFileSelectsTheDefault", "", "Proc", "Ctl", "ENTRY", "Vistip.Tps", "Proc", "Ctl",
     "ENTRY"},
    {"BlankTipFileSelectsTheDefault", "     ", "Proc", "Ctl", "ENTRY", "Vistip.Tps", "Proc", "Ctl",
     "ENTRY"},
    {"TipFileKeptAsPassed", "  tips/My Tips.tps", "P", "C", "T", "  tips/My Tips.tps", "P", "C",
     "T"},
    {"TipFileCutTo255", std::string(300, 'f'), "P", "C", "T", std::string(255, 'f'), "P", "C", "T"},
    {"NamesAndTypeCutToTheirWidths", "t.tps", std::string(60, 'p'), std::string(51, 'c'),
     "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "t.tps", std::string(50, 'p'), std::string(50, 'c'),
     "ABCDEFGHIJKLMNOPQRST"},
    {"BlankNamesStayBlank", "t.tps", "", "", "", "t.tps", "", "", ""},
};

class RequestTest : public CallHelpTipTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(RequestTest, StoresTheRequestForTheTipWindow) {
  const RequestCase& c = GetParam();
  RecordRequests();
  vtCALLHELPTIP(c.tip_file, c.procedure, c.control, c.type);
  // Cut or blank-padded to the full width of each variable.
  EXPECT_EQ(GLO.VTAPPNAME.view(), rt::String<255>(c.want_tip_file).view());
  EXPECT_EQ(GLO.VTPROCEDURENAME.view(), rt::String<50>(c.want_procedure).view());
  EXPECT_EQ(GLO.VTCONTROLNAME.view(), rt::String<50>(c.want_control).view());
  EXPECT_EQ(GLO.VTCONTROLTYPE.view(), rt::String<20>(c.want_type).view());
  ASSERT_TRUE(WaitSeen());
  EXPECT_EQ(seen_.glo.VTAPPNAME.view(), GLO.VTAPPNAME.view());
  EXPECT_EQ(seen_.glo.VTCONTROLNAME.view(), GLO.VTCONTROLNAME.view());
}

INSTANTIATE_TEST_SUITE_P(Texts, RequestTest, ::testing::ValuesIn(kRequestCases), CaseName());

// ---- Position ----

struct PositionCase {
  const char* name;
  int32_t window_x, window_y, control_x, control_y;
  int32_t want_x, want_y;
};

const PositionCase kPositionCases[] = {
    {"SumTimesOneAndAQuarterTruncated", 3, 4, 10, 20, 16, 30},  // 13 * 1.25 = 16.25
    {"NegativeSumTruncatesTowardZero", -8, 2, 5, -5, -3, -3},   // -3.75
    {"ExactProducts", 4, 0, 4, 0, 10, 0},
    {"LargerNegativeSum", -20, -1, 11, -8, -11, -11},  // -9 * 1.25 = -11.25
    {"HugeSumsStayWithinALong", INT32_MAX, INT32_MIN + 1, 10, -10, INT32_MAX, INT32_MIN},
};

class PositionTest : public CallHelpTipTest, public ::testing::WithParamInterface<PositionCase> {
 protected:
  // A window on the test thread, so it is the calling thread's current window.
  static rt::WindowDesc Window(const PositionCase& c) {
    rt::WindowDesc d;
    d.x = c.window_x;
    d.y = c.window_y;
    d.controls = {{.field = 7,
                   .type = rt::kCreateButton,
                   .x = c.control_x,
                   .y = c.control_y,
                   .w = 30,
                   .h = 12,
                   .text = "Seven"}};
    return d;
  }
};

TEST_P(PositionTest, ConvertsThePendingControlOnce) {
  const PositionCase& c = GetParam();
  RecordRequests();
  rt::Window w(Window(c));
  w.Open();
  ASSERT_EQ(w.x(), c.window_x);
  POS.CONTROL = 7;
  vtCALLHELPTIP("", "P", "C", "ENTRY");
  EXPECT_EQ(POS.X, c.want_x);
  EXPECT_EQ(POS.Y, c.want_y);
  EXPECT_EQ(POS.CONTROL, 0);
  ASSERT_TRUE(WaitSeen());
  EXPECT_EQ(seen_.pos.X, c.want_x);
  EXPECT_EQ(seen_.pos.Y, c.want_y);

  // Without a new VTWATCH nothing is converted again, wherever the control is now.
  w.SetPosition(7, c.control_x + 40, c.control_y + 40);
  vtCALLHELPTIP("", "P", "C", "ENTRY");
  EXPECT_EQ(POS.X, c.want_x);
  EXPECT_EQ(POS.Y, c.want_y);
  rt::WaitIdle();
  w.Close();
}

INSTANTIATE_TEST_SUITE_P(Sums, PositionTest, ::testing::ValuesIn(kPositionCases), CaseName());

TEST_F(CallHelpTipTest, WithoutAPendingControlThePositionStays) {
  RecordRequests();
  rt::Window w(rt::WindowDesc{.x = 50, .y = 60});
  w.Open();
  POS.X = 77;
  POS.Y = -5;
  vtCALLHELPTIP("", "P", "C", "IDE");
  EXPECT_EQ(POS.X, 77);
  EXPECT_EQ(POS.Y, -5);
  w.Close();
}

TEST_F(CallHelpTipTest, BeforeAnyConversionThePositionIsZero) {
  RecordRequests();
  vtCALLHELPTIP("", "P", "C", "IDE");
  EXPECT_EQ(POS.X, 0);
  EXPECT_EQ(POS.Y, 0);
}

TEST_F(CallHelpTipTest, HostRequestAfterWhatsThisCarriesThePosition) {
  RecordRequests();
  TestHost host({.x = 12, .on_help = [](int32_t field) {
                   vtCALLHELPTIP("tips.tps", "HostProc", "Field" + std::to_string(field), "ENTRY");
                 }});
  ASSERT_TRUE(host.WaitArmed());
  harness::RightClick(host.window(), 7);
  rt::Window* popup = WaitForPopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(ChoosePopupItem(*popup, "What's This"));
  ASSERT_TRUE(WaitSeen());
  EXPECT_EQ(seen_.glo.VTCONTROLNAME, "Field7");
  EXPECT_EQ(seen_.glo.PARENTTHREAD, host.thread());
  EXPECT_NE(seen_.thread, host.thread());
  EXPECT_EQ(seen_.pos.X, static_cast<int32_t>((HostFieldX(7) + 12) * 1.25));
  EXPECT_EQ(seen_.pos.Y, static_cast<int32_t>((HostFieldY(7) + 20) * 1.25));
  EXPECT_EQ(seen_.pos.CONTROL, 0);
}

// ---- Where the tip window runs ----

struct ThreadCase {
  const char* name;
  std::string type;
  bool on_caller;
};

const ThreadCase kThreadCases[] = {
    {"Ide", "IDE", true},
    {"IdeWithTrailingBlanks", "IDE   ", true},
    {"Button", "BUTTON", false},
    {"LowerCaseIde", "ide", false},
    {"LeadingBlank", " IDE", false},
    {"Blank", "", false},
};

class ThreadTest : public CallHelpTipTest, public ::testing::WithParamInterface<ThreadCase> {};

// The tip window stand-in opens a runtime window and serves it until the test closes it.
TEST_P(ThreadTest, RunsTheTipWindowWhereTheTypeSays) {
  const ThreadCase& c = GetParam();
  struct {
    int32_t thread = 0;
    int32_t parent = -1;
    bool open = false;
  } tip;
  SetTipWindowProcedure([&tip](const TipRequest&) {
    tip.thread = rt::Thread();
    tip.parent = GLO.PARENTTHREAD;
    rt::Window w(rt::WindowDesc{.caption = "Tip"});
    w.Open();
    tip.open = true;
    while (w.Accept()) {
    }
    tip.open = false;
  });
  bool returned = false;
  const int32_t caller = rt::Start([&] {
    vtCALLHELPTIP("", "Proc", "Ctl", c.type);
    returned = true;
  });
  rt::Window* window = harness::WaitForCaption("Tip");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::Settle());
  if (c.on_caller) {
    EXPECT_EQ(tip.thread, caller);
    EXPECT_EQ(tip.parent, 0);
    EXPECT_FALSE(returned) << "returns only when the window has closed";
  } else {
    EXPECT_NE(tip.thread, caller);
    EXPECT_EQ(tip.parent, caller);
    EXPECT_TRUE(returned) << "returns at once";
    EXPECT_TRUE(tip.open);
  }
  harness::CloseWindow(*window);
  EXPECT_TRUE(rt::WaitFor([&] { return returned && !tip.open; }));
  EXPECT_TRUE(rt::Join(caller));
  EXPECT_TRUE(rt::Join(tip.thread));
}

INSTANTIATE_TEST_SUITE_P(Types, ThreadTest, ::testing::ValuesIn(kThreadCases), CaseName());

TEST_F(CallHelpTipTest, EveryRequestWithoutIdeStartsOneMoreThread) {
  int runs = 0;
  SetTipWindowProcedure([&runs](const TipRequest&) { ++runs; });
  const int32_t before = rt::ThreadCount();
  for (int i = 0; i < 3; ++i) vtCALLHELPTIP("", "P", "C", "ENTRY");
  EXPECT_EQ(rt::ThreadCount(), before + 3);
  EXPECT_TRUE(rt::WaitFor([&] { return runs == 3; }));
}

}  // namespace
}  // namespace vistip::testing
