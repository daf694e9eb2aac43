// vistip show: the tip window on a private X server, open until a click on its background
// closes it, then the command ends; without a display a clear error.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

TEST_F(ShowTest, OpensTheTipWindowAndReturnsWhenItCloses) {
  const char* saved = std::getenv("DISPLAY");
  const std::string saved_display = saved ? saved : "";
  {
    testsupport::Xvfb xvfb;
    if (!xvfb.running()) GTEST_SKIP() << "Xvfb is not installed";
    if (!testsupport::Xvfb::Found("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    const std::string file = Path("tips.tps");
    WriteTips(file, {Tip("Form", "Name", "ENTRY", "A tip on a real display")});
    const pid_t pid = StartVistip({"show", file, "Form", "Name", "ENTRY"});
    ASSERT_GT(pid, 0);
    // The shown tip window takes the input focus. A first start on a loaded machine can spend
    // seconds building the font caches, so the wait is long.
    std::string geometry;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    while (geometry.empty() && VistipRunning(pid) && std::chrono::steady_clock::now() < deadline) {
      geometry = Xdotool("getwindowfocus getwindowgeometry --shell");
      const int width = ShellValue(geometry, "WIDTH");
      if (width < 100 || width >= 1280) geometry.clear();  // not the tip yet: none, or the root
      if (geometry.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_FALSE(geometry.empty()) << "no tip window appeared";
    EXPECT_TRUE(VistipRunning(pid)) << "the command waits while the window is open";
    const int w = ShellValue(geometry, "WIDTH"), h = ShellValue(geometry, "HEIGHT");
    const std::string window = std::to_string(ShellValue(geometry, "WINDOW"));
    // A click on the background, right of the short text, closes the tip.
    Xdotool("mousemove --window " + window + " " + std::to_string(w - 5) + " " +
            std::to_string(h - 5) + " click 1");
    EXPECT_EQ(WaitVistip(pid, std::chrono::seconds(10)), 0);
  }
  if (saved_display.empty())
    unsetenv("DISPLAY");
  else
    setenv("DISPLAY", saved_display.c_str(), 1);
}

}  // namespace
}  // namespace vistip::testing
