// Browser command lines: switches removed (only at the start of a word outside quotes), the
// address added after the cleaned value or in place of its "%1", cut to 199 characters.
#include "tipwindow/browser_command.h"

#include <gtest/gtest.h>

#include <string>

namespace vistip {
namespace {

struct BrowserCase {
  const char* label;
  std::string value, address, command;
};

class BrowserCommandTest : public ::testing::TestWithParam<BrowserCase> {};

TEST_P(BrowserCommandTest, BuildsTheCommandLine) {
  EXPECT_EQ(BrowserCommand(RemoveSwitches(GetParam().value), GetParam().address),
            GetParam().command);
}

const BrowserCase kBrowserCases[] = {
    {"QuotedPathWithSwitchAndTextWithoutScheme", "\"C:\\Prog\\b.exe\" -nohome", "text",
     "\"C:\\Prog\\b.exe\" http://text"},
    {"HttpInAnyCase", "\"C:\\Prog\\b.exe\" -nohome", "HtTp://Site.org/A",
     "\"C:\\Prog\\b.exe\" HtTp://Site.org/A"},
    {"FileAddress", "b.exe", "FILE:///tmp/x.html", "b.exe FILE:///tmp/x.html"},
    {"DriveLetter", "b.exe -a -b", "D:\\docs\\x.htm", "b.exe D:\\docs\\x.htm"},
    {"HyphenInsideThePathKept", "\"C:\\My-Prog\\b.exe\" -nohome", "a.org",
     "\"C:\\My-Prog\\b.exe\" http://a.org"},
    {"HyphenInsideAnUnquotedPathKept", "/opt/web-browser/run -new", "a.org",
     "/opt/web-browser/run http://a.org"},
    {"SwitchEndsAtAQuote", "b.exe -x\"y\" z", "a.org", "b.exe   \"y\" z http://a.org"},
    {"SwitchWithoutBlankRunsToTheEnd", "b.exe -x\"y\"", "a.org", "b.exe http://a.org"},
    {"PlaceholderReplaced", "\"/usr/bin/xdg-open\" \"%1\"", "www.a.org/p",
     "\"/usr/bin/xdg-open\" \"http://www.a.org/p\""},
    {"PlaceholderAfterASwitch", "firefox -osint -url \"%1\"", "http://a.org",
     "firefox             \"http://a.org\""},
    {"NoBrowser", "", "text", " http://text"},
    {"CutAt199", "b.exe", std::string(300, 'w'),
     ("b.exe http://" + std::string(300, 'w')).substr(0, 199)},
};

INSTANTIATE_TEST_SUITE_P(Values, BrowserCommandTest, ::testing::ValuesIn(kBrowserCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(RemoveSwitches, KeepsTheLengthAndBlanksTheSwitch) {
  EXPECT_EQ(RemoveSwitches("\"C:\\Prog\\b.exe\" -nohome"), "\"C:\\Prog\\b.exe\"        ");
}

}  // namespace
}  // namespace vistip
