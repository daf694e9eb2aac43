// vistip check: each kind of problem found with its tip and line, nothing in a clean file, and
// lines counted as the tip window wraps them at the tip's own width.
#include <gtest/gtest.h>

#include "runtime/dialogs.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"
#include "tipstore/old_tip_file.h"
#include "tools/tip_check.h"

namespace vistip::testing {
namespace {

using CheckTest = ToolTest;

// Tips that link to each other, with buttons, fonts and tool tips that are all in order.
std::vector<TipText> CleanTips() {
  return {Tip("Form", "Name", "ENTRY",
              "<B1>Look it up|<B2>Post|<B3>Help\r\n<T1> See <LNK:Other> and <LNK:Shared Tip>\r\n"
              "<http://example.com/name>\r\n<HR>\r\nPrice << 10",
              "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find\xAB"
              "CALL;EXElookup.exe\xAB[B2]CALL;MSG1025,1\xAB[B3]CALL;HLPsales.hlp,Orders\xAB"
              "[LNK1]LINKTIPPROC;Form\xAB"
              "LINKTIPCTL;Other\xAB[HTTP1]TOOLTIP;Our site\xAB"),
          Tip("Form", "Other", "ENTRY", "The other tip."),
          Tip("", "SharedTip", "ENTRY", "For every procedure; the unbound link finds it.")};
}

TEST_F(CheckTest, ACleanFileHasNoProblems) {
  const std::string file = Path("clean.tps");
  WriteTips(file, CleanTips());
  const Ran ran = RunVistip({"check", file});
  EXPECT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_EQ(ran.out, "");
  EXPECT_EQ(ran.err, "vistip: " + file + ": 0 problems in 3 tips\n");
}

// The compiler returns the tags it found unclosed: the check learns of them without any
// message box being shown on the way.
TEST_F(CheckTest, AnUnclosedTagIsFoundWithoutAMessageBox) {
  const std::string file = Path("unclosed.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "Fine\r\n<H1 never closed")});
  int boxes = 0;
  rt::MessageHandler previous =
      rt::SetMessageHandler([&boxes](std::string_view, std::string_view) { ++boxes; });
  const CheckResult r = CheckTipFile(file);
  rt::SetMessageHandler(std::move(previous));
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].line, 2);
  EXPECT_EQ(r.problems[0].message, "unclosed tag in \"<H1 never closed\"");
  EXPECT_EQ(boxes, 0);
}

TEST_F(CheckTest, FindsEveryKindOfProblemWithItsTipAndLine) {
  const std::string file = Path("bad.tps");
  std::vector<TipText> tips = CleanTips();
  tips.push_back(Tip("Form", "Broken", "BUTTON",
                     "First line\r\nA web link <H1 more text\r\n<LNK:Nowhere Here> and "
                     "<LNK:Gone>\r\n<B1> run",
                     "[S  9]FONT;Arial,9,0,400\xAB[LNK2]LINKTIPPROC;Form\xAB"
                     "LINKTIPCTL;Missing\xAB[B1]CALL;RUNformat c:\xAB"
                     "[B7]CALL;exenotepad\xAB"));
  WriteTips(file, tips);
  const Ran ran = RunVistip({"check", file});
  EXPECT_EQ(ran.status, 1) << ran.err;
  const std::string tip = file + ": Form / Broken / BUTTON: ";
  EXPECT_EQ(ran.out, tip + "line 2: unclosed tag in \"A web link <H1 more text\"\n" + tip +
                         "settings row [B1]CALL: call \"RUNformat c:\" is of kind \"RUN\", not "
                         "EXE, MSG or HLP\n" +
                         tip + "settings row [B7]CALL: control \"B7\" no longer exists\n" + tip +
                         "settings row [B7]CALL: call \"exenotepad\" is of kind \"exe\", not EXE, "
                         "MSG or HLP\n" +
                         tip + "settings row [S  9]FONT: control \"S  9\" no longer exists\n" +
                         tip +
                         "line 3: link LNK1 \"Nowhere Here\" leads to procedure \"\", control "
                         "\"NowhereHere\": no such tip (no target set: its first click binds it to "
                         "the control named like its text)\n" +
                         tip +
                         "line 3: link LNK2 \"Gone\" leads to procedure \"Form\", control "
                         "\"Missing\": no such tip\n");
  EXPECT_EQ(ran.err, "vistip: " + file + ": 7 problems in 4 tips\n");
}

// An unclosed tag at the end of a long paragraph: on a later line of the default width, on the
// first line when the tip stores a width wide enough for the whole paragraph.
TEST_F(CheckTest, CountsLinesAtTheTipsOwnWidth) {
  const std::string text = "This paragraph is long enough to wrap in a narrow tip window <B12345>";
  WriteTips(Path("narrow.tps"), {Tip("Form", "Narrow", "ENTRY", text)});
  WriteTips(Path("wide.tps"), {Tip("Form", "Wide", "ENTRY", text, "", "\xEA\x01")});  // 490
  const Ran narrow = RunVistip({"check", Path("narrow.tps")});
  const Ran wider = RunVistip({"check", Path("wide.tps")});
  EXPECT_EQ(narrow.status, 1);
  EXPECT_EQ(wider.status, 1);
  EXPECT_EQ(narrow.out.find(": line 1: "), std::string::npos) << narrow.out;
  EXPECT_NE(narrow.out.find("unclosed tag"), std::string::npos) << narrow.out;
  EXPECT_NE(wider.out.find("Form / Wide / ENTRY: line 1: unclosed tag"), std::string::npos)
      << wider.out;
}

// A second ";" in a row starts its value again, so a call that reads as help runs a program:
// reported with what the tip window reads, after the tip's other problems.
TEST_F(CheckTest, ReportsAValueHoldingASemicolon) {
  const std::string file = Path("hidden.tps");
  std::vector<TipText> tips = CleanTips();
  tips.insert(tips.begin() + 1, Tip("Form", "Hidden", "ENTRY", "<B1> Manual <B2>",
                                    "[B1]CALL;HLPhelp.hlp,Intro;EXErm -rf ~\xAB"
                                    "[B2;EXEx]TOOLTIP;Fine\xAB[S  9]FONT;a;\xAB"));
  WriteTips(file, tips);
  const Ran ran = RunVistip({"check", file});
  EXPECT_EQ(ran.status, 1);
  const std::string tip = file + ": Form / Hidden / ENTRY: settings row ";
  const std::string restart = " holds \";\", which starts the value again: it reads as ";
  EXPECT_EQ(ran.out, tip + "[S  9]FONT: control \"S  9\" no longer exists\n" + tip +
                         "[B1]CALL: value \"HLPhelp.hlp,Intro;EXErm -rf ~\"" + restart +
                         "\"EXErm -rf ~,Intro\"\n" + tip + "[B2]: value \"EXEx\"" + restart +
                         "\"EXEx\"\n" + tip + "[S  9]FONT: value \"a;\"" + restart + "\"a\"\n");
  EXPECT_EQ(ran.err, "vistip: " + file + ": 4 problems in 4 tips\n");
}

TEST_F(CheckTest, CallsListsEveryProgramEventAndHelpCall) {
  const std::string file = Path("calls.tps");
  std::vector<TipText> tips = CleanTips();
  tips.push_back(Tip("Form", "More", "BUTTON", "<B1> <B2>",
                     "[B1]CALL;HLPa,b;EXE./evil \"x y\"\xAB[B2]CALL;RUNnot a call\xAB"
                     "[B9]CALL;MSG1,2\xAB"));
  WriteTips(file, tips);
  const Ran ran = RunVistip({"check", "--calls", file});
  EXPECT_EQ(ran.status, 1) << "the hidden restart and the other problems are still reported";
  const std::string first = file + ": Form / Name / ENTRY: call of ";
  const std::string more = file + ": Form / More / BUTTON: call of ";
  const std::string calls = first + "B1: EXElookup.exe\n" + first + "B2: MSG1025,1\n" + first +
                            "B3: HLPsales.hlp,Orders\n" + more + "B1: EXE./evil \"x y\"\n" + more +
                            "B9: MSG1,2\n";
  ASSERT_TRUE(ran.out.starts_with(calls)) << ran.out;
  EXPECT_NE(ran.out.find("call \"RUNnot a call\" is of kind \"RUN\""), std::string::npos);
  EXPECT_NE(ran.out.find("[B1]CALL: value \"HLPa,b;EXE./evil"), std::string::npos);
  EXPECT_EQ(RunVistip({"check", file}).out, ran.out.substr(calls.size()));
}

TEST_F(CheckTest, AnOldLayoutFileIsRefusedWithTheWayToConvertIt) {
  const std::string file = Path("old.tps");
  ASSERT_EQ(WriteOldTipFile(file, 1, [](int32_t, OldTipBuffer& r) { r.CONTROLNAME = "x"; }), 0);
  const Ran ran = RunVistip({"check", file});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("vistip upgrade"), std::string::npos) << ran.err;
}

}  // namespace
}  // namespace vistip::testing
