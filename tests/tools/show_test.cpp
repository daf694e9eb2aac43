// vistip show: the tip window on a private X server, open until a click on its background
// closes it, then the command ends; a clicked web address reaches the browser as one argument;
// without a display a clear error.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "tests/support/processes.h"
#include "tests/support/xvfb.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

using ShowTest = ToolTest;

// What an xdotool command printed, or "" when it failed.
std::string Xdotool(const std::string& args) {
  std::FILE* p = popen(("xdotool " + args + " 2>/dev/null").c_str(), "r");
  if (p == nullptr) return "";
  std::string out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
  return pclose(p) == 0 ? out : "";
}

// The shell variable `name` of `xdotool ... --shell` output.
int ShellValue(const std::string& shell, const std::string& name) {
  const size_t at = shell.find(name + "=");
  return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + name.size() + 1);
}

TEST_F(ShowTest, WithoutADisplayItSaysSoAndExitsTwo) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "x")});
  const Ran ran = RunVistip({"show", file, "Form", "Name", "ENTRY"}, {.without_display = true});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("vistip: no display"), std::string::npos) << ran.err;
}

// On a private X server with xdotool, DISPLAY restored afterwards.
class ShowOnScreenTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    if (const char* saved = std::getenv("DISPLAY")) saved_display_ = saved;
    xvfb_ = std::make_unique<testsupport::Xvfb>();
    if (!xvfb_->running()) GTEST_SKIP() << "Xvfb is not installed";
    if (!testsupport::Xvfb::Found("xdotool")) GTEST_SKIP() << "xdotool is not installed";
  }
  void TearDown() override {
    xvfb_.reset();
    if (saved_display_.empty())
      unsetenv("DISPLAY");
    else
      setenv("DISPLAY", saved_display_.c_str(), 1);
    ToolTest::TearDown();
  }

  // The shown tip window's geometry (xdotool --shell output), "" when none appeared. The tip
  // window takes the input focus. A first start on a loaded machine can spend seconds building
  // the font caches, so the wait is long.
  static std::string WaitForTip(pid_t pid) {
    std::string geometry;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    while (geometry.empty() && VistipRunning(pid) && std::chrono::steady_clock::now() < deadline) {
      geometry = Xdotool("getwindowfocus getwindowgeometry --shell");
      const int width = ShellValue(geometry, "WIDTH");
      if (width < 100 || width >= 1280) geometry.clear();  // not the tip yet: none, or the root
      if (geometry.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return geometry;
  }
  static void ClickAt(const std::string& geometry, int x, int y) {
    Xdotool("mousemove --window " + std::to_string(ShellValue(geometry, "WINDOW")) + " " +
            std::to_string(x) + " " + std::to_string(y) + " click 1");
  }

  std::string saved_display_;
  std::unique_ptr<testsupport::Xvfb> xvfb_;
};

TEST_F(ShowOnScreenTest, OpensTheTipWindowAndReturnsWhenItCloses) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "A tip on a real display")});
  const pid_t pid = StartVistip({"show", file, "Form", "Name", "ENTRY"});
  ASSERT_GT(pid, 0);
  const std::string geometry = WaitForTip(pid);
  ASSERT_FALSE(geometry.empty()) << "no tip window appeared";
  EXPECT_TRUE(VistipRunning(pid)) << "the command waits while the window is open";
  // A click on the background, right of the short text, closes the tip.
  ClickAt(geometry, ShellValue(geometry, "WIDTH") - 5, ShellValue(geometry, "HEIGHT") - 5);
  EXPECT_EQ(WaitVistip(pid, std::chrono::seconds(10)), 0);
}

// A web address that tries to pass switches to the browser reaches the recording script,
// started as the browser, as exactly one argument.
TEST_F(ShowOnScreenTest, AClickedWebAddressIsOneArgumentOfTheBrowser) {
  const std::string dir = Path("browser dir");
  std::filesystem::create_directories(dir);
  const std::string recorded = dir + "/recorded";
  const std::string script = dir + "/record browser";
  std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
                        << recorded << ".part'\nmv '" << recorded << ".part' '" << recorded
                        << "'\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  testsupport::ScopedEnv browser("BROWSER", ("\"" + script + "\" \"%1\"").c_str());
  // The same link on every line and a stored width of 200 units: the middle of the window's
  // height, near its left edge, is on a link whatever the font's size.
  std::string text;
  for (int i = 0; i < 18; ++i) text += "<http://a.org\" \"--new-window --kiosk>\r\n";
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", text, "", std::string("\xC8\x00", 2))});
  const pid_t pid = StartVistip({"show", file, "Form", "Name", "ENTRY"});
  ASSERT_GT(pid, 0);
  const std::string geometry = WaitForTip(pid);
  ASSERT_FALSE(geometry.empty()) << "no tip window appeared";
  const int w = ShellValue(geometry, "WIDTH"), h = ShellValue(geometry, "HEIGHT");
  ClickAt(geometry, w * 30 / 200, h / 2);  // 30 units in: past the margin of 11
  EXPECT_TRUE(testsupport::WaitUntil([&] { return std::filesystem::exists(recorded); },
                                     std::chrono::seconds(20)));
  std::ifstream in(recorded);
  const std::string args((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(args, "http://a.org%22%20%22--new-window%20--kiosk\n");
  EXPECT_TRUE(VistipRunning(pid)) << "the tip stays open";
  ClickAt(geometry, w - 3, h - 3);  // the background, right of the links
  EXPECT_EQ(WaitVistip(pid, std::chrono::seconds(10)), 0);
  EXPECT_TRUE(testsupport::LastingZombies().empty());
}

}  // namespace
}  // namespace vistip::testing
