// Clicks on a shown tip, end to end: web addresses through the default browser's command line,
// program calls, event posts to the host, help topics after the window has closed.
#include <cstdlib>

#include "platform/run_policy.h"
#include "runtime/dialogs.h"
#include "tip_window_fixture.h"
#include "tipwindow/browser_command.h"

namespace vistip::tipwindow::testing {
namespace {

class ActionsTest : public TipWindowTest {
 protected:
  void SetUp() override {
    TipWindowTest::SetUp();
    std::filesystem::copy_file(RECORD_ARGS_PATH, dir_ / "rec");
  }
  rt::Window* ShowTip(const std::string& text, const std::string& settings = "") {
    TipFile("tips.tps").Create({{"P", "C", "ENTRY", text, settings}});
    Request("P", "C", "ENTRY");
    return Show();
  }
  // Waits for the program started by a click to have written its marker.
  std::string WaitForMarker() {
    rt::WaitFor([this] { return Marker().find("--\n") != std::string::npos; },
                std::chrono::seconds(5));
    return Marker();
  }
  // The message box showing `text`, once it is there.
  rt::Window* WaitForBox(const std::string& text) {
    rt::Window* box = nullptr;
    rt::WaitFor([&] {
      for (rt::Window* w : rt::OpenWindows())
        if (rt::harness::FieldWithText(*w, text) != 0) box = w;
      return box != nullptr;
    });
    return box;
  }
  rt::Window* WaitForCaption(const char* caption) {
    return rt::harness::WaitForCaption(caption, std::chrono::seconds(3));
  }
};

TEST_F(ActionsTest, AWebAddressIsOneArgumentOfTheBrowserWithoutAShell) {
  setenv("BROWSER", "./rec -nohome", 1);
  ASSERT_NE(ShowTip("<www.a.org/$(touch pwned);x|y>"), nullptr);
  rt::harness::Click(*window_, 301);
  EXPECT_EQ(WaitForMarker(), "http://www.a.org/$(touch%20pwned);x|y\n--\n");  // one argument
  EXPECT_FALSE(std::filesystem::exists(dir_ / "pwned"));
  EXPECT_TRUE(rt::harness::Shown(*window_, 300));  // the tip stays open
}

TEST_F(ActionsTest, ThePlaceholderTakesTheAddress) {
  setenv("BROWSER", "./rec --new-tab \"%1\" end", 1);
  ASSERT_NE(ShowTip("<http://a.org>"), nullptr);
  rt::harness::Click(*window_, 301);
  EXPECT_EQ(WaitForMarker(), "http://a.org\nend\n--\n");
}

TEST_F(ActionsTest, TheTestSwitchShowsTheProgramAndArgumentsInTheStopPrompt) {
  rt::SetCommandLineForTesting({"host", "/VTHTEST"});
  std::filesystem::copy_file(dir_ / "rec", dir_ / "my rec");
  setenv("BROWSER", "\"./my rec\" -nohome", 1);
  ASSERT_NE(ShowTip("<http://a.org>"), nullptr);
  rt::harness::Click(*window_, 301);
  rt::Window* stop = WaitForBox("Vistip test result : Browser = \"./my rec\" http://a.org");
  ASSERT_NE(stop, nullptr);
  ASSERT_TRUE(rt::harness::ClickButton(*stop, "&Ignore"));
  EXPECT_EQ(WaitForMarker(), "http://a.org\n--\n");
}

TEST_F(ActionsTest, AQuoteInTheAddressCannotAddASwitch) {
  setenv("BROWSER", "\"./rec\" \"%1\"", 1);
  ASSERT_NE(ShowTip("<http://a.org\" \"--new-window>"), nullptr);
  rt::harness::Click(*window_, 301);
  EXPECT_EQ(WaitForMarker(), "http://a.org%22%20%22--new-window\n--\n");
}

// Refused clicks show a message and start nothing: the button clicked after the message runs
// the recording program, which then holds only that button's mark.
struct RefusedCase {
  const char* name;
  std::string browser, address, message;
};

const RefusedCase kRefusedCases[] = {
    // The browser's value is longer than its buffer: no browser.
    {"NoBrowser", std::string(250, 'b'), "www", std::string(kNoBrowserMessage)},
    {"AddressBeginsWithAHyphen", "./rec", "-:--help",
     "The web address \"-:--help\" is not opened: an address may not begin with \"-\"."},
};

class RefusedClickTest : public ActionsTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedClickTest, ShowsAMessageAndStartsNothing) {
  setenv("BROWSER", GetParam().browser.c_str(), 1);
  // Were the address run as a command line, " http://www" would start the program http:/www.
  std::filesystem::create_directory(dir_ / "http:");
  std::filesystem::copy_file(dir_ / "rec", dir_ / "http:" / "www");
  ASSERT_NE(ShowTip("<" + GetParam().address + "><B1> done", "[B1]CALL;EXE./rec done\xAB"),
            nullptr);
  rt::harness::Click(*window_, 301);
  rt::Window* box = WaitForBox(GetParam().message);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  rt::harness::Click(*window_, 302);  // the button after the address and its region
  EXPECT_EQ(WaitForMarker(), "done\n--\n");
}

INSTANTIATE_TEST_SUITE_P(Clicks, RefusedClickTest, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ActionsTest, ProgramCallsTurnedOffShowAMessageInstead) {
  setenv(std::string(kRunProgramsVariable).c_str(), "off", 1);
  setenv("BROWSER", "./rec", 1);
  ASSERT_NE(ShowTip("<B1> Run <http://a.org>", "[B1]CALL;EXE./rec ran\xAB"), nullptr);
  rt::harness::Click(*window_, 300);
  rt::Window* box = WaitForBox(std::string(kProgramsOffMessage));
  unsetenv(std::string(kRunProgramsVariable).c_str());
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  EXPECT_TRUE(rt::harness::Shown(*window_, 300));  // the tip stays open
  rt::harness::Click(*window_, 303);               // the address's region: web addresses still open
  EXPECT_EQ(WaitForMarker(), "http://a.org\n--\n");
}

TEST_F(ActionsTest, ExeStartsTheProgramWithItsArgumentsAsWritten) {
  ASSERT_NE(ShowTip("<B1> Run", "[B1]CALL;EXE./rec a|b&c `touch pwned` \"two words\"\xAB"),
            nullptr);
  rt::harness::Click(*window_, 300);
  EXPECT_EQ(WaitForMarker(), "a|b&c\n`touch\npwned`\ntwo words\n--\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "pwned"));
  EXPECT_TRUE(rt::harness::Shown(*window_, 300));
}

TEST_F(ActionsTest, MsgClosesTheTipAndPostsTheEventToTheThread) {
  ASSERT_NE(ShowTip("<B1> Send", "[B1]CALL;MSG1025," + std::to_string(host_) + "\xAB"), nullptr);
  rt::harness::Click(*window_, 300);
  EXPECT_TRUE(TipClosed());
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{1025}));
}

TEST_F(ActionsTest, MsgWithoutAThreadPostsToThreadNought) {
  ASSERT_NE(ShowTip("<B1> Send", "[B1]CALL;MSG1025,\xAB"), nullptr);
  rt::harness::Click(*window_, 300);
  EXPECT_TRUE(TipClosed());
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
  EXPECT_EQ(tip_->LOC.THREADNO, 0);
  EXPECT_EQ(tip_->LOC.MSG, 1025);
}

TEST_F(ActionsTest, HlpOpensTheTopicAfterTheWindowHasClosed) {
  std::ofstream("sales.hlp") << "== Contents ==\nAll of it.\n== Order ==\nHow to order.\n"
                                "== Order Entry ==\nNot this one.\n";
  ASSERT_NE(ShowTip("<B1> Help", "[B1]CALL;HLPsales.hlp,Order Entry\xAB"), nullptr);
  rt::harness::Click(*window_, 300);
  EXPECT_TRUE(TipClosed());
  EXPECT_EQ(tip_->LOC.HELPFILE.str(), "sales.hlp");
  EXPECT_EQ(tip_->LOC.HELPTOPIC.str(), "Order");
  rt::Window* viewer = WaitForCaption("Help - sales.hlp");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(rt::WaitFor([&] { return rt::harness::ShownText(*viewer, 3) == "Order"; }));
}

TEST_F(ActionsTest, AButtonWithoutACallDoesNothing) {
  ASSERT_NE(ShowTip("<B1> Nothing", "[B1]CALL;XYZwhatever\xAB"), nullptr);
  rt::harness::Click(*window_, 300);
  rt::harness::Click(*window_, 300);
  EXPECT_TRUE(rt::harness::Shown(*window_, 300));
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
}

}  // namespace
}  // namespace vistip::tipwindow::testing
