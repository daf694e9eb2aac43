// vistip export and import: the text form round-trips every byte; import adds to new and
// existing files, reports the duplicates it adds, and refuses a bad text whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <tuple>

#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

using ExportImportTest = ToolTest;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool SameBytes(const TipBuffer& a, const TipBuffer& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(ExportImportTest, ExportImportExportIsByteIdentical) {
  const std::string a = Path("a.tps"), b = Path("b.tps");
  WriteTips(a, EveryKindOfContent());
  Ran ran = RunVistip({"export", a, "-o", Path("a.txt")});
  ASSERT_EQ(ran.status, 0) << ran.err;
  ran = RunVistip({"import", b, Path("a.txt")});
  ASSERT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, b + ": added 4 tips, 0 of them duplicates\n");
  ran = RunVistip({"export", b});  // to standard output
  ASSERT_EQ(ran.status, 0) << ran.err;
  const std::string first = Slurp(Path("a.txt"));
  EXPECT_EQ(ran.out, first);
  EXPECT_NE(first.find("date #-7"), std::string::npos);
  // The records themselves, memos and all, are the same bytes (b's in the text's order).
  std::vector<TipBuffer> before = ReadRecords(a);
  const std::vector<TipBuffer> after = ReadRecords(b);
  ASSERT_EQ(before.size(), 4u);
  ASSERT_EQ(after.size(), before.size());
  std::stable_sort(before.begin(), before.end(), [](const TipBuffer& x, const TipBuffer& y) {
    return std::make_tuple(x.PROCEDURENAME.view(), x.CONTROLNAME.view(), x.CONTROLTYPE.view()) <
           std::make_tuple(y.PROCEDURENAME.view(), y.CONTROLNAME.view(), y.CONTROLTYPE.view());
  });
  for (size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(SameBytes(before[i], after[i])) << i;
}

TEST_F(ExportImportTest, ImportIntoAnExistingFileReportsTheDuplicatesItAdds) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "old"), Tip("Form", "Other", "ENTRY", "x")});
  const std::string text =
      "vistip-tips 1\ntip\nprocedure Form\ncontrol Name\ntype ENTRY\ntext\n> new\nend\n"
      "tip\nprocedure Form\ncontrol Name\ntype BUTTON\ntext\n> another type\nend\n";
  const Ran ran = RunVistip({"import", file, "-"}, {.input = text});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.err, "vistip: " + file + ": added a second tip for Form / Name / ENTRY\n");
  EXPECT_EQ(ran.out, file + ": added 2 tips, 1 of them duplicates\n");
  EXPECT_EQ(ReadRecords(file).size(), 4u);
}

TEST_F(ExportImportTest, ABadTextAddsNothing) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "kept")});
  const std::string text =
      "vistip-tips 1\ntip\ncontrol Fine\ntext\n> ok\nend\ntip\ncontrol Bad\ntext\n> a\\q\nend\n";
  std::ofstream(Path("bad.txt"), std::ios::binary) << text;
  const Ran ran = RunVistip({"import", file, Path("bad.txt")});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find(Path("bad.txt") + ":10: bad escape; nothing written"), std::string::npos)
      << ran.err;
  EXPECT_EQ(ReadRecords(file).size(), 1u);
  // Nor is a missing tip file created for a bad text.
  EXPECT_EQ(RunVistip({"import", Path("new.tps"), Path("bad.txt")}).status, 2);
  EXPECT_FALSE(std::filesystem::exists(Path("new.tps")));
}

TEST_F(ExportImportTest, AnUnreadableTextIsAnError) {
  const Ran ran = RunVistip({"import", Path("tips.tps"), Path("missing.txt")});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("missing.txt: cannot be read"), std::string::npos) << ran.err;
  EXPECT_FALSE(std::filesystem::exists(Path("tips.tps")));
}

TEST_F(ExportImportTest, AnUnwritableOutputIsAnError) {
  WriteTips(Path("tips.tps"), {Tip("Form", "Name", "ENTRY", "x")});
  const Ran ran = RunVistip({"export", Path("tips.tps"), "-o", Path("no/such/dir.txt")});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("cannot be written"), std::string::npos) << ran.err;
}

}  // namespace
}  // namespace vistip::testing
