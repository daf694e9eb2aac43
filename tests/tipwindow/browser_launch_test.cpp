// Hostile web addresses against real browser command lines: the browser is the recording
// program, started as a click starts it, and its argument vector is compared word for word.
// The address is always exactly one argument and no argument from it begins with "-".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/browser.h"
#include "runtime/process.h"
#include "tests/support/processes.h"
#include "tipwindow/browser_command.h"

namespace vistip {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

const std::string kLong = "http://a.org/" + std::string(287, 'x');  // 300 characters

struct AddressCase {
  const char* name;
  std::string text;  // the web-address text of the tip
  std::string sent;  // the address the browser gets; empty: refused
  bool cut = false;  // too long for the command line: `sent` is cut to fit
};

const AddressCase kAddresses[] = {
    {"QuoteBlankSwitch", "http://a.org\" \"--new-window", "http://a.org%22%20%22--new-window"},
    {"BlanksAndSwitches", "http://a.org --kiosk --load-extension=/tmp/x",
     "http://a.org%20--kiosk%20--load-extension=/tmp/x"},
    {"Placeholder", "www.a.org/%1", "http://www.a.org/%1"},
    {"Semicolon", "http://a.org/;rm -rf ~", "http://a.org/;rm%20-rf%20~"},
    {"CommandSubstitution", "http://a.org/$(touch pwned)", "http://a.org/$(touch%20pwned)"},
    {"Backticks", "http://a.org/`touch pwned`", "http://a.org/`touch%20pwned`"},
    {"SingleQuotesAndControls", "http://a.org/'x'\t\x01\x7F", "http://a.org/%27x%27%09%01%7F"},
    {"BackslashQuote", "http://a.org\\\" -x", "http://a.org\\%22%20-x"},
    {"LeadingHyphenDrive", "-:--help", ""},
    {"LeadingHyphen", "--kiosk", ""},
    {"File", "file:///etc/passwd", "file:///etc/passwd"},
    {"Javascript", "javascript:alert(1)", "http://javascript:alert(1)"},
    {"DriveLetter", "C:\\My Docs\\a.htm", "C:\\My%20Docs\\a.htm"},
    {"ThreeHundredCharacters", kLong, kLong, true},
};

struct BrowserCase {
  const char* name;
  std::string value;  // $BROWSER, "{rec}" standing for the recording program; empty: none
  Words args;         // what the browser gets, "{a}" standing for the address
};

const BrowserCase kBrowsers[] = {
    {"QuotedPathWithSwitches", "\"{rec}\" -nohome --private-window", {"{a}"}},
    {"QuotedPlaceholder", "\"{rec}\" --new-tab \"%1\" end", {"{a}", "end"}},
    {"UnquotedPlaceholder", "\"{rec}\" %1", {"{a}"}},
    {"None", "", {}},
};

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

class BrowserLaunchTest : public ::testing::TestWithParam<std::tuple<AddressCase, BrowserCase>> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vistip_launch_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "my browser");
    rec_ = dir_ / "my browser" / "rec";
    fs::copy_file(RECORD_ARGS_PATH, rec_);
    old_dir_ = fs::current_path();
    fs::current_path(dir_);  // the recording program writes "marker" here
  }
  void TearDown() override {
    fs::current_path(old_dir_);
    fs::remove_all(dir_);
  }

  // The arguments the recording program was started with.
  Words RecordedArguments() {
    std::string text;
    testsupport::WaitUntil([&] {
      std::ifstream f(dir_ / "marker");
      text.assign(std::istreambuf_iterator<char>(f), {});
      return text.ends_with("--\n");
    });
    Words words;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
      words.push_back(text.substr(at, end - at));
    if (!words.empty()) words.pop_back();  // the end mark
    return words;
  }

  fs::path dir_, old_dir_, rec_;
};

TEST_P(BrowserLaunchTest, TheAddressIsExactlyOneArgument) {
  const auto& [address, browser] = GetParam();
  const std::string value = Replace(browser.value, "{rec}", rec_.string());
  testsupport::ScopedEnv env("BROWSER", value.empty() ? nullptr : value.c_str());
  testsupport::ScopedEnv path("PATH", dir_.c_str());  // no xdg-open to fall back on
  std::string found;
  const int32_t ret = QueryDefaultBrowser(found);
  const BrowserLaunch launch = PlanBrowserLaunch(ret, found, address.text);
  if (value.empty()) {
    EXPECT_TRUE(launch.words.empty());
    EXPECT_EQ(launch.message, kNoBrowserMessage);
    return;
  }
  if (address.sent.empty()) {
    EXPECT_TRUE(launch.words.empty());
    EXPECT_NE(launch.message.find("may not begin with \"-\""), std::string::npos);
    return;
  }
  ASSERT_TRUE(rt::RunArgv(launch.words));
  const Words got = RecordedArguments();
  EXPECT_EQ(launch.words.front(), rec_.string());
  ASSERT_EQ(got.size(), browser.args.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_FALSE(got[i].starts_with('-')) << got[i];
    if (browser.args[i] != "{a}") {
      EXPECT_EQ(got[i], browser.args[i]);
    } else if (!address.cut) {
      EXPECT_EQ(got[i], address.sent);
    } else {
      // Cut, as the whole command line keeps 199 characters.
      EXPECT_TRUE(address.sent.starts_with(got[i])) << got[i];
      EXPECT_LT(got[i].size(), address.sent.size());
      EXPECT_EQ(ShownCommandLine(launch.words).size(), kMaxBrowserCommand + 2)
          << "the program's path is shown in quotes";
    }
  }
  EXPECT_TRUE(testsupport::LastingZombies().empty());
}

INSTANTIATE_TEST_SUITE_P(Hostile, BrowserLaunchTest,
                         ::testing::Combine(::testing::ValuesIn(kAddresses),
                                            ::testing::ValuesIn(kBrowsers)),
                         [](const auto& p) {
                           return std::string(std::get<0>(p.param).name) + "_" +
                                  std::get<1>(p.param).name;
                         });

// The stop prompt of /VTHTEST shows the words as they are started.
TEST(ShownCommandLine, QuotesWordsThatHoldBlanksOrQuotes) {
  EXPECT_EQ(ShownCommandLine({"/opt/my browser/b", "http://a.org", "", "say \"hi\""}),
            "\"/opt/my browser/b\" http://a.org \"\" \"say \\\"hi\\\"\"");
}

}  // namespace
}  // namespace vistip
