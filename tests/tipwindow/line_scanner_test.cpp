// The line scanner: what each kind of line and tag adds, the unclosed tags, and the numbering
// of runs, web links, tip links and regions over the lines of one tip.
#include "tipwindow/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistip {
namespace {

std::vector<std::string> Entries(const LineScan& scan) {
  std::vector<std::string> out;
  for (const MarkupEntry& e : scan.entries) out.push_back(e.type + "|" + e.name + "|" + e.text);
  return out;
}

struct LineCase {
  const char* label;
  std::string line;
  std::vector<std::string> entries;  // "type|name|text"
  std::vector<size_t> unclosed;
};

class LineScannerTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineScannerTest, GivesTheEntriesAndErrorsOfTheLine) {
  ScanNumbers numbers;
  const LineScan scan = ScanTipLine(GetParam().line, numbers);
  EXPECT_EQ(Entries(scan), GetParam().entries);
  EXPECT_EQ(scan.unclosed, GetParam().unclosed);
}

const std::string k80(80, 'a');

const LineCase kLineCases[] = {
    {"Plain", "Hello", {"String|S  1|Hello"}, {}},
    {"TrailingBlanksIgnored", "Hello   ", {"String|S  1|Hello"}, {}},
    {"DoubledLessThan", "a<<b", {"String|S  1|a<b"}, {}},
    {"DoubledLessThanAtEnd", "ab<<", {"String|S  1|ab<"}, {}},
    {"LessThanBeforeBlank", "Price < 10", {"String|S  1|Price ", "String|S  2| 10"}, {}},
    {"LessThanAtEnd", "a<", {"String|S  1|a"}, {}},
    {"NoTagDropsTheLessThan", "<Xyz>", {"String|S  1|Xyz>"}, {}},
    {"ButtonThenText", "<B1>Help", {"BUTTON|B1|", "String|S  1|Help"}, {}},
    {"LowerCaseButton", "<b1>", {"BUTTON|b1|"}, {}},
    {"UpperCaseButton", "<B1>", {"BUTTON|B1|"}, {}},
    {"FourCharacterButton", "<B123>", {"BUTTON|B123|"}, {}},
    {"ButtonNameTooLong", "<B12345>", {"String|S  1|5>"}, {1}},
    {"ButtonNotClosed", "x <B1", {"String|S  1|x "}, {3}},
    {"ButtonWithColon", "<B:x>", {"BUTTON|B:x|"}, {}},
    {"Bullet", "<T1> item", {"BULLET|T1|", "String|S  1| item"}, {}},
    {"RunsSplitByBar", "a|b", {"String|S  1|a", "String|S  2|b"}, {}},
    {"BarAtStart", "|x", {"String|S  1|", "String|S  2|x"}, {}},
    {"RuleAnywhere", "text <HR> more", {"Line||"}, {}},
    {"LowerCaseRuleIsALink", "<hr>", {"HTTP|HTTP1|hr", "REGION|Region1|hr"}, {}},
    {"BlankLine", "", {"String||"}, {}},
    {"BlanksOnly", "    ", {"String||"}, {}},
    {"TipLink", "<LNK:Go>", {"LNK|LNK1|Go", "REGION|Region1|Go"}, {}},
    {"LinkWithColonIsAWebLink", "<L:x>", {"HTTP|HTTP1|L:x", "REGION|Region1|L:x"}, {}},
    {"DriveLetter",
     "<C:\\dir\\f.txt>",
     {"HTTP|HTTP1|C:\\dir\\f.txt", "REGION|Region1|C:\\dir\\f.txt"},
     {}},
    {"WebLinkNotClosed", "<H1 more text", {}, {1}},
    {"WebLinkOf80",
     "<h" + k80.substr(1) + ">",
     {"HTTP|HTTP1|h" + k80.substr(1), "REGION|Region1|h" + k80.substr(1)},
     {}},
    {"WebLinkOf81", "<h" + k80 + ">", {"String|S  1|>"}, {1}},
    {"TipLinkOf80", "<LNK:" + k80 + ">", {"LNK|LNK1|" + k80, "REGION|Region1|" + k80}, {}},
    {"TipLinkOf81", "<LNK:" + k80 + "b>", {"String|S  1|>"}, {1}},
    {"TipLinkNotClosed", "<LNK:Go", {}, {1}},
    {"LinksAndRunsNumbered",
     "<http://a.com> and <www.b.org> see <LNK:More>",
     {"HTTP|HTTP1|http://a.com", "REGION|Region1|http://a.com", "String|S  1| and ",
      "HTTP|HTTP2|www.b.org", "REGION|Region2|www.b.org", "String|S  2| see ", "LNK|LNK1|More",
      "REGION|Region3|More"},
     {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, LineScannerTest, ::testing::ValuesIn(kLineCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(LineScannerNumbers, RunOnOverLinesAndSkipUnclosedTags) {
  ScanNumbers numbers;
  EXPECT_EQ(ScanTipLine("<H1 more text", numbers).unclosed.size(), 1u);
  EXPECT_EQ(Entries(ScanTipLine("<http://x>|a", numbers)),
            (std::vector<std::string>{"HTTP|HTTP1|http://x", "REGION|Region1|http://x",
                                      "String|S  1|", "String|S  2|a"}));
  EXPECT_EQ(Entries(ScanTipLine("<LNK:y> b", numbers)),
            (std::vector<std::string>{"LNK|LNK1|y", "REGION|Region2|y", "String|S  3| b"}));
  EXPECT_EQ(numbers.run, 4);
  EXPECT_EQ(numbers.http, 2);
  EXPECT_EQ(numbers.lnk, 2);
  EXPECT_EQ(numbers.region, 3);
}

TEST(LineScannerNumbers, RunNamesAreRightAligned) {
  EXPECT_EQ(RunName(1), "S  1");
  EXPECT_EQ(RunName(12), "S 12");
  EXPECT_EQ(RunName(123), "S123");
}

}  // namespace
}  // namespace vistip
