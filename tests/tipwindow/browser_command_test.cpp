// Browser command lines: switches removed (only at the start of a word outside quotes), the
// value split into program and arguments, the address put in as one argument after them or in
// place of a "%1", the words kept to 199 characters.
#include "tipwindow/browser_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistip {
namespace {

using Words = std::vector<std::string>;

struct BrowserCase {
  const char* label;
  std::string value, address;
  Words words;
};

class BrowserCommandTest : public ::testing::TestWithParam<BrowserCase> {};

TEST_P(BrowserCommandTest, BuildsTheWords) {
  EXPECT_EQ(BrowserArguments(RemoveSwitches(GetParam().value), WebAddress(GetParam().address)),
            GetParam().words);
}

const BrowserCase kBrowserCases[] = {
    {"QuotedPathWithSwitchAndTextWithoutScheme",
     "\"C:\\Prog\\b.exe\" -nohome",
     "text",
     {"C:\\Prog\\b.exe", "http://text"}},
    {"HttpInAnyCase",
     "\"C:\\Prog\\b.exe\" -nohome",
     "HtTp://Site.org/A",
     {"C:\\Prog\\b.exe", "HtTp://Site.org/A"}},
    {"FileAddress", "b.exe", "FILE:///tmp/x.html", {"b.exe", "FILE:///tmp/x.html"}},
    {"DriveLetter", "b.exe -a -b", "D:\\docs\\x.htm", {"b.exe", "D:\\docs\\x.htm"}},
    {"HyphenInsideThePathKept",
     "\"C:\\My-Prog\\b.exe\" -nohome",
     "a.org",
     {"C:\\My-Prog\\b.exe", "http://a.org"}},
    {"HyphenInsideAnUnquotedPathKept",
     "/opt/web-browser/run -new",
     "a.org",
     {"/opt/web-browser/run", "http://a.org"}},
    {"SwitchEndsAtAQuote", "b.exe -x\"y\" z", "a.org", {"b.exe", "y", "z", "http://a.org"}},
    {"SwitchWithoutBlankRunsToTheEnd", "b.exe -x\"y\"", "a.org", {"b.exe", "http://a.org"}},
    {"PlaceholderReplaced",
     "\"/usr/bin/xdg-open\" \"%1\"",
     "www.a.org/p",
     {"/usr/bin/xdg-open", "http://www.a.org/p"}},
    {"PlaceholderAfterASwitch",
     "firefox -osint -url \"%1\"",
     "http://a.org",
     {"firefox", "http://a.org"}},
    {"PlaceholderInsideAWord", "b url=%1 x", "http://a.org", {"b", "url=http://a.org", "x"}},
    {"PlaceholderInTheProgramStaysThere", "%1", "a.org", {"%1", "http://a.org"}},
    {"AddressIsNotSplitAgain",
     "\"/usr/bin/xdg-open\" \"%1\"",
     "http://a.org\" \"--new-window",
     {"/usr/bin/xdg-open", "http://a.org%22%20%22--new-window"}},
    {"NoProgram", "  -x ", "text", {}},
    {"CutAt199",
     "b.exe",
     std::string(300, 'w'),
     {"b.exe", ("http://" + std::string(300, 'w')).substr(0, 199 - 6)}},
    {"CutNeverInsideAnEscape",
     "b.exe",
     std::string(185, 'w') + " z",
     {"b.exe", "http://" + std::string(185, 'w')}},
};

INSTANTIATE_TEST_SUITE_P(Values, BrowserCommandTest, ::testing::ValuesIn(kBrowserCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(RemoveSwitches, KeepsTheLengthAndBlanksTheSwitch) {
  EXPECT_EQ(RemoveSwitches("\"C:\\Prog\\b.exe\" -nohome"), "\"C:\\Prog\\b.exe\"        ");
}

}  // namespace
}  // namespace vistip
