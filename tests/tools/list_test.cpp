// vistip list: one line per tip, in record order.
#include <gtest/gtest.h>

#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

using ListTest = ToolTest;

TEST_F(ListTest, GivesProcedureControlTypeDateAndFirstLine) {
  const std::string file = Path("tips.tps");
  std::vector<TipText> tips = {Tip("OrderEntry", "Customer", "ENTRY", "Customer   \r\nmore text"),
                               Tip("", "Product", "ENTRY", "Caf\xE9 \tfor all"),
                               Tip("", "", "BUTTON", "")};
  tips[2].date = 12345678;  // no calendar date
  WriteTips(file, tips);
  const Ran ran = RunVistip({"list", file});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out,
            "OrderEntry\tCustomer\tENTRY\t2026-12-10\tCustomer\n"
            "\tProduct\tENTRY\t2026-12-10\tCaf\xC3\xA9 \\x09for all\n"
            "\t\tBUTTON\t#12345678\t\n");
}

TEST_F(ListTest, AnEmptyFileListsNothing) {
  const std::string file = Path("empty.tps");
  WriteTips(file, {});
  const Ran ran = RunVistip({"list", file});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "");
}

}  // namespace
}  // namespace vistip::testing
