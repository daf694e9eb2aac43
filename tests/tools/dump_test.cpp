// vistip dump: the compiled queues of the tip the tip window would show, one entry a line.
#include <gtest/gtest.h>

#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

using DumpTest = ToolTest;

TEST_F(DumpTest, GivesBothQueuesInTheirDocumentedFormat) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "Hello <B1>Go\r\n<LNK:Other>",
                       "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Press\xAB")});
  const Ran ran = RunVistip({"dump", file, "Form", "Name", "ENTRY"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out,
            "CONTROLQUEUE\n"
            "1\t1\tString\tS  1\tHello\n"
            "2\t1\tBUTTON\tB1\t\n"
            "3\t1\tString\tS  2\tGo\n"
            "4\t2\tLNK\tLNK1\tOther\n"
            "5\t2\tREGION\tRegion1\tOther\n"
            "SETTINGSQUEUE\n"
            "B1\tTOOLTIP\tPress\t\n"
            "S  1\tFONT\tArial,10,0,700\tHello\n");
}

TEST_F(DumpTest, EscapesControlBytesAndGivesUtf8) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "Caf\xE9\tbar\\baz")});
  const Ran ran = RunVistip({"dump", file, "Form", "Name", "ENTRY"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out,
            "CONTROLQUEUE\n1\t1\tString\tS  1\tCaf\xC3\xA9\\x09bar\\\\baz\nSETTINGSQUEUE\n");
}

// The lookup is the tip window's: the control's tip for every procedure stands in.
TEST_F(DumpTest, FindsTheTipAsTheTipWindowDoes) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("", "Name", "ENTRY", "Shared")});
  const Ran ran = RunVistip({"dump", file, "AnyForm", "Name", "ENTRY"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_NE(ran.out.find("\tS  1\tShared\n"), std::string::npos) << ran.out;
}

TEST_F(DumpTest, NoTipForTheRequestIsAnError) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "x")});
  const Ran ran = RunVistip({"dump", file, "Form", "Other", "BUTTON"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "vistip: " + file + ": no tip for Form / Other / BUTTON\n");
  EXPECT_EQ(ran.out, "");
  EXPECT_EQ(ReadRecords(file).size(), 1u);  // nothing written to the file
}

// An unclosed tag is reported as the window's message would say it; the tip is still dumped.
TEST_F(DumpTest, AnUnclosedTagIsReportedOnStandardError) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "ok\r\n<B12345>")});
  const Ran ran = RunVistip({"dump", file, "Form", "Name", "ENTRY"});
  EXPECT_EQ(ran.status, 0);
  EXPECT_EQ(ran.err, "vistip: Vistip - Control Formatting: Control not completed Line:2\n");
  EXPECT_NE(ran.out.find("\tS  1\tok\n"), std::string::npos) << ran.out;
}

}  // namespace
}  // namespace vistip::testing
