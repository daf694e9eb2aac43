// Tests of help files: the reader (headings, paragraphs, links, line ends, odd bytes, look-ups)
// and the help viewer showing them, driven the way a person does.
#include "runtime/dialogs/help_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"

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
void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

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
void PrintTo(const FindCase& c, std::ostream* os) {
  *os << c.name;
}

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

// ---- the help viewer ----

constexpr const char* kSampleHelp =
    "Sample help.\r\n"
    "== Contents ==\r\n"
    "Welcome to the help.\r\n"
    "-> Control Formatting\r\n"
    "-> Help Tip Text Editing\r\n"
    "== Control Formatting ==\r\n"
    "Left click to select a control,\r\n"
    "right click for its properties.\r\n"
    "\r\n"
    "Save and Exit writes them.\r\n"
    "-> Contents\r\n"
    "== Help Tip Text Editing ==\r\n"
    "Press Alt+E.\r\n"
    "== Empty ==\r\n";

class HelpViewerTest : public LoadHelpFileTest {
 protected:
  void SetUp() override {
    LoadHelpFileTest::SetUp();
    UseHeadlessBackend();
    path_ = Write("Vistip.hlp", kSampleHelp);
  }
  void TearDown() override {
    WaitFor([] {
      for (Window* w : OpenWindows()) harness::CloseWindow(*w);
      return OpenWindows().empty() && ThreadCount() == 1;
    });
    LoadHelpFileTest::TearDown();
  }

  // A window of the calling program, on its own thread: its "&Help" button runs `on_help`.
  int32_t StartHost(std::function<void()> on_help) {
    return Start([this, on_help] {
      WindowDesc d;
      d.caption = "Host";
      d.controls = {
          {.field = 1, .type = kCreateButton, .x = 5, .y = 5, .w = 40, .h = 14, .text = "&Help"}};
      Window w(d);
      w.Open();
      while (w.Accept()) {
        host_events_.push_back(Event());
        if (Event() == kEventAccepted && Field() == 1) on_help();
      }
    });
  }
  bool HostGot(int32_t event) {
    return WaitFor([&] {
      return std::find(host_events_.begin(), host_events_.end(), event) != host_events_.end();
    });
  }

  static Window* Viewer() {
    return harness::WaitForWindow([](const Window& w) { return w.caption().starts_with("Help"); });
  }
  static const Control* OfType(const Window& w, int32_t type, size_t nth = 0) {
    for (const auto& c : w.controls())
      if (c->type == type && nth-- == 0) return c.get();
    return nullptr;
  }
  // The topic title, the text and the related topics on show.
  static std::string Title(const Window& w) {
    for (const auto& c : w.controls())
      if (c->type == kCreateString) return c->text;
    return {};
  }
  static std::string Text(const Window& w) { return w.DisplayText(*OfType(w, kCreateText)); }
  static std::vector<std::string> Related(const Window& w) {
    const Control* list = OfType(w, kCreateList, 1);
    std::vector<std::string> rows;
    for (size_t r = 1; list->from && r <= list->from->Rows(); ++r)
      rows.push_back(list->from->Cell(r, 1));
    return rows;
  }
  bool ShowsTitle(const Window& w, std::string_view title) {
    return WaitFor([&] { return Title(w) == title; });
  }

  RuntimeThread thread_;
  std::string path_;
  std::vector<int32_t> host_events_;
};

TEST_F(HelpViewerTest, OpensTheTopicTakesTheFocusAndGivesItBack) {
  const int32_t host = StartHost([this] {
    Help(path_, "Control Formatting");
    Help();
  });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::Settle();
  host_events_.clear();  // what opening the host brought
  ASSERT_TRUE(harness::ClickButton(*w, "&Help"));
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(viewer->thread(), host);
  EXPECT_EQ(viewer->caption(), "Help - Vistip.hlp");
  ASSERT_TRUE(ShowsTitle(*viewer, "Control Formatting"));
  EXPECT_EQ(Text(*viewer),
            "Left click to select a control, right click for its properties.\r\n\r\n"
            "Save and Exit writes them.");
  EXPECT_EQ(Related(*viewer), std::vector<std::string>{"Contents"});
  EXPECT_TRUE(HostGot(kEventLoseFocus));
  EXPECT_EQ(std::count(host_events_.begin(), host_events_.end(), kEventGainFocus), 0);

  harness::CloseWindow(*viewer);
  EXPECT_TRUE(HostGot(kEventGainFocus));
  EXPECT_TRUE(WaitFor([] { return ThreadCount() == 2; }));  // the viewer's thread ended
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

TEST_F(HelpViewerTest, LinksContentsAndBackMoveBetweenTopics) {
  const int32_t host = StartHost([this] { Help(path_, "Contents"); });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, "Contents"));
  EXPECT_EQ(Related(*viewer),
            (std::vector<std::string>{"Control Formatting", "Help Tip Text Editing"}));
  const Control* contents = OfType(*viewer, kCreateList, 0);
  const Control* related = OfType(*viewer, kCreateList, 1);
  ASSERT_EQ(contents->from->Rows(), 4u);

  harness::ChooseRow(*viewer, related->field, 2);  // a link
  ASSERT_TRUE(ShowsTitle(*viewer, "Help Tip Text Editing"));
  EXPECT_EQ(Text(*viewer), "Press Alt+E.");
  EXPECT_EQ(viewer->GetPropInt(contents->field, kPropSelStart), 3);

  harness::ChooseRow(*viewer, contents->field, 2);  // the contents list
  ASSERT_TRUE(ShowsTitle(*viewer, "Control Formatting"));

  ASSERT_TRUE(harness::ClickButton(*viewer, "&Back"));
  ASSERT_TRUE(ShowsTitle(*viewer, "Help Tip Text Editing"));
  ASSERT_TRUE(harness::ClickButton(*viewer, "&Back"));
  ASSERT_TRUE(ShowsTitle(*viewer, "Contents"));
  const Control* back = OfType(*viewer, kCreateButton, 0);
  EXPECT_TRUE(back->disabled);  // nothing left to go back to

  harness::ChooseRow(*viewer, contents->field, 4);  // a topic without text
  ASSERT_TRUE(ShowsTitle(*viewer, "Empty"));
  EXPECT_EQ(Text(*viewer), "");
  harness::Press(*viewer, kEscKey);
  EXPECT_TRUE(WaitFor([] { return ThreadCount() == 2; }));
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

struct RequestCase {
  const char* name;
  std::string file;  // "" : the sample file
  std::string topic;
  std::string title;
  std::string text_start;
};
void PrintTo(const RequestCase& c, std::ostream* os) {
  *os << c.name;
}

const RequestCase kRequestCases[] = {
    {"TopicFound", "", "help tip text editing", "Help Tip Text Editing", "Press Alt+E."},
    {"MissingTopicShowsContents", "", "No Such Topic", "Contents", "Welcome to the help."},
    {"BlankTopicShowsContents", "", "", "Contents", "Welcome to the help."},
    {"MissingFile", "/nonexistent/Vistip.hlp", "Contents", "Vistip.hlp",
     "The help file /nonexistent/Vistip.hlp could not be opened."},
};

class HelpRequestTest : public HelpViewerTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(HelpRequestTest, ShowsTheTopicOrSaysWhy) {
  const RequestCase& c = GetParam();
  const std::string file = c.file.empty() ? path_ : c.file;
  const int32_t host = StartHost([&] { Help(file, c.topic); });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, c.title));
  EXPECT_TRUE(Text(*viewer).starts_with(c.text_start)) << Text(*viewer);
  harness::CloseWindow(*viewer);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

INSTANTIATE_TEST_SUITE_P(Cases, HelpRequestTest, ::testing::ValuesIn(kRequestCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(HelpViewerTest, FileWithoutTopicsSaysSo) {
  const std::string empty = Write("Empty.hlp", "no headings at all\n");
  const int32_t host = StartHost([&] { Help(empty, "Contents"); });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, "Empty.hlp"));
  EXPECT_EQ(Text(*viewer), "The help file " + empty + " has no topics.");
  harness::CloseWindow(*viewer);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

TEST_F(HelpViewerTest, ALaterRequestReusesTheOpenViewer) {
  std::string topic = "Contents", file = path_;
  const int32_t host = StartHost([&] { Help(file, topic); });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, "Contents"));
  const int32_t threads = ThreadCount();

  harness::FocusBack(*w);
  topic = "Control Formatting";
  file = "";  // a blank file name: the file on show
  harness::ClickButton(*w, "&Help");
  ASSERT_TRUE(ShowsTitle(*viewer, "Control Formatting"));
  EXPECT_EQ(ThreadCount(), threads);
  const std::vector<Window*> open = OpenWindows();
  EXPECT_EQ(std::count_if(open.begin(), open.end(),
                          [](Window* o) { return o->caption().starts_with("Help"); }),
            1);
  harness::CloseWindow(*viewer);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

TEST_F(HelpViewerTest, HelpWithoutArgumentsBringsTheViewerBackOrDoesNothing) {
  int calls = 0;
  const int32_t host = StartHost([&] {
    if (++calls == 2) {
      Help(path_, "Contents");
    } else {
      Help();
    }
  });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");  // no viewer yet: nothing happens
  EXPECT_EQ(ThreadCount(), 2);
  EXPECT_EQ(OpenWindows().size(), 1u);

  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, "Contents"));
  harness::FocusBack(*w);  // the person goes back to the program's window
  host_events_.clear();
  harness::ClickButton(*w, "&Help");  // and asks for the viewer again
  EXPECT_TRUE(HostGot(kEventLoseFocus));
  EXPECT_TRUE(viewer->IsOpen());
  harness::CloseWindow(*viewer);
  EXPECT_TRUE(HostGot(kEventGainFocus));
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

TEST_F(HelpViewerTest, TheTextCannotBeEdited) {
  const int32_t host = StartHost([this] { Help(path_, "Help Tip Text Editing"); });
  Window* w = harness::WaitForCaption("Host");
  ASSERT_NE(w, nullptr);
  harness::ClickButton(*w, "&Help");
  Window* viewer = Viewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(ShowsTitle(*viewer, "Help Tip Text Editing"));
  const int32_t text = OfType(*viewer, kCreateText)->field;
  harness::Focus(*viewer, text);
  CurrentBackend().SetClipboardText("pasted");
  for (int32_t key :
       {int32_t{kEndKey}, int32_t{kBackspaceKey}, int32_t{kHomeKey}, int32_t{kDeleteKey},
        int32_t{kEnterKey}, CtrlKey('A'), CtrlKey('X'), CtrlKey('V')}) {
    harness::Press(*viewer, key);
    EXPECT_EQ(Text(*viewer), "Press Alt+E.") << key;
  }
  harness::Type(*viewer, "typed");
  EXPECT_EQ(Text(*viewer), "Press Alt+E.");
  harness::Focus(*viewer, OfType(*viewer, kCreateList, 0)->field);
  EXPECT_EQ(Text(*viewer), "Press Alt+E.");
  harness::CloseWindow(*viewer);
  harness::CloseWindow(*w);
  EXPECT_TRUE(Join(host));
}

}  // namespace
}  // namespace rt
