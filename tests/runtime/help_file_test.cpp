// Tests of the help-file reader: headings, paragraphs, links, line ends, odd bytes, look-ups.
#include "runtime/dialogs/help_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace rt {
namespace {

using namespace std::string_literals;

struct ExpectedTopic {
  std::string title;
  std::string text;
  std::vector<std::string> links;
};

struct ParseCase {
  const char* name;
  std::string input;
  std::vector<ExpectedTopic> topics;
};

const std::vector<ParseCase> kParseCases = {
    {"EmptyFile", "", {}},
    {"TextWithoutHeadingIsIgnored", "just some words\nand more\n", {}},
    {"OneTopic", "== Contents ==\nHello world.\n", {{"Contents", "Hello world.", {}}}},
    {"HeadingTitleIsTrimmed", "==   Spaced Out   ==\nx\n", {{"Spaced Out", "x", {}}}},
    {"PreambleBeforeFirstHeading", "Written by hand.\n\n== A ==\ntext\n", {{"A", "text", {}}}},
    {"LinesJoinIntoAParagraph",
     "== A ==\nfirst line\n   second line   \nthird\n",
     {{"A", "first line second line third", {}}}},
    {"BlankLineBreaksParagraphs",
     "== A ==\none\n\n\n\ntwo\nthree\n\nfour\n",
     {{"A", "one\r\n\r\ntwo three\r\n\r\nfour", {}}}},
    {"LeadingAndTrailingBlankLinesDropped",
     "== A ==\n\n\nbody\n\n\n== B ==\n",
     {{"A", "body", {}}, {"B", "", {}}}},
    {"TwoTopicsInOrder",
     "== First ==\n1\n== Second ==\n2\n",
     {{"First", "1", {}}, {"Second", "2", {}}}},
    {"LinksAreCollectedAndLeaveTheText",
     "== A ==\nSee below.\n-> Control Formatting\n->   Help Tip Text Editing  \nafter\n",
     {{"A", "See below.\r\n\r\nafter", {"Control Formatting", "Help Tip Text Editing"}}}},
    {"EmptyLinkIsIgnored", "== A ==\n->\n->   \nx\n", {{"A", "x", {}}}},
    {"CrLfLineEnds",
     "== A ==\r\nline one\r\nline two\r\n\r\nnext\r\n-> B\r\n== B ==\r\nb\r\n",
     {{"A", "line one line two\r\n\r\nnext", {"B"}}, {"B", "b", {}}}},
    {"NoFinalNewline", "== A ==\nlast", {{"A", "last", {}}}},
    {"NotHeadings",
     "== A ==\n====\n== ==\n =not= \n==B\nB==\n",
     {{"A", "==== == == =not= ==B B==", {}}}},
    {"IndentedHeadingIsText", "== A ==\n  == B ==\n", {{"A", "== B ==", {}}}},
    {"DuplicateTitlesAreKept", "== A ==\n1\n== A ==\n2\n", {{"A", "1", {}}, {"A", "2", {}}}},
    {"ControlBytesReadAsBlanks", "== A\0B ==\nx\ty\x01z\x7f\n"s, {{"A B", "x y z", {}}}},
    {"HighBytesAreKept",
     "== Caf\xE9 ==\n\x93quoted\x94 \x80 5\n",
     {{"Caf\xE9", "\x93quoted\x94 \x80 5", {}}}},
    {"LoneCarriageReturns",
     "== A ==\rold line ends\r\rnext\r",
     {{"A", "old line ends\r\n\r\nnext", {}}}},
};

class ParseHelpFileTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseHelpFileTest, GivesTheTopics) {
  const ParseCase& c = GetParam();
  const HelpFile file = ParseHelpFile(c.input);
  ASSERT_EQ(file.topics.size(), c.topics.size());
  for (size_t i = 0; i < c.topics.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(file.topics[i].title, c.topics[i].title);
    EXPECT_EQ(file.topics[i].text, c.topics[i].text);
    EXPECT_EQ(file.topics[i].links, c.topics[i].links);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseHelpFileTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ParseHelpFile, GarbageBytesNeverBreakIt) {
  std::string bytes;
  uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const char pieces[] = {'=', '=', '-', '>', '\n', '\r', ' ', '\0', 'a', '\xff'};
    bytes += pieces[(seed >> 16) % sizeof pieces];
  }
  const HelpFile file = ParseHelpFile(bytes);
  for (const HelpTopic& t : file.topics) {
    EXPECT_FALSE(t.title.empty());
    EXPECT_EQ(t.text.find('\0'), std::string::npos);
    for (const std::string& link : t.links) EXPECT_FALSE(link.empty());
  }
}

struct FindCase {
  const char* name;
  std::string title;
  int expected;
};

const std::vector<FindCase> kFindCases = {
    {"Exact", "Control Formatting", 1},
    {"OtherCase", "control FORMATTING", 1},
    {"SurroundingBlanks", "  Contents  ", 0},
    {"FirstOfDuplicates", "Twice", 2},
    {"Missing", "No Such Topic", -1},
    {"Empty", "", -1},
    {"Prefix", "Control", -1},
};

class FindHelpTopicTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindHelpTopicTest, FindsTheFirstMatch) {
  const HelpFile file = ParseHelpFile(
      "== Contents ==\nc\n== Control Formatting ==\nf\n== Twice ==\n1\n== Twice ==\n2\n");
  EXPECT_EQ(FindHelpTopic(file, GetParam().title), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindHelpTopicTest, ::testing::ValuesIn(kFindCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ContentsTopic, PrefersTheContentsTopicElseTheFirst) {
  EXPECT_EQ(ContentsTopic(ParseHelpFile("== A ==\n== contents ==\n")), 1);
  EXPECT_EQ(ContentsTopic(ParseHelpFile("== A ==\n== B ==\n")), 0);
  EXPECT_EQ(ContentsTopic(ParseHelpFile("")), -1);
}

class LoadHelpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("help_file_test." + std::to_string(getpid()) + "." +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  std::filesystem::path dir_;
};

TEST_F(LoadHelpFileTest, ReadsAFile) {
  HelpFile file;
  ASSERT_TRUE(LoadHelpFile(Write("Vistip.hlp", "== Contents ==\r\nWelcome.\r\n"), file));
  ASSERT_EQ(file.topics.size(), 1u);
  EXPECT_EQ(file.topics[0].text, "Welcome.");
}

TEST_F(LoadHelpFileTest, MissingFileOrDirectoryIsRefusedAndLeavesTheResult) {
  HelpFile file = ParseHelpFile("== Kept ==\n");
  EXPECT_FALSE(LoadHelpFile((dir_ / "absent.hlp").string(), file));
  EXPECT_FALSE(LoadHelpFile(dir_.string(), file));
  EXPECT_FALSE(LoadHelpFile("", file));
  ASSERT_EQ(file.topics.size(), 1u);
  EXPECT_EQ(file.topics[0].title, "Kept");
}

TEST_F(LoadHelpFileTest, OversizedFileIsRefused) {
  HelpFile file;
  EXPECT_FALSE(
      LoadHelpFile(Write("big.hlp", "== A ==\n" + std::string(kMaxHelpFileBytes, 'x')), file));
  EXPECT_TRUE(file.topics.empty());
}

TEST_F(LoadHelpFileTest, FileNameIsWindows1252) {
  HelpFile file;
  // "Café.hlp" in Windows-1252 names the file the file system holds as UTF-8.
  Write("Caf\xC3\xA9.hlp", "== A ==\n");
  EXPECT_TRUE(LoadHelpFile((dir_ / "Caf").string() + "\xE9.hlp", file));
}

}  // namespace
}  // namespace rt
