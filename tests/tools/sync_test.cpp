// The text form kept in version control: export in a stable order with no line ending in a
// blank, import --replace rewriting tips in place, and sync making a tip file hold exactly the
// tips of a text (adds, updates, deletes, a dry run), all checked on the records themselves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tests/tools/damage.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

using SyncTest = ToolTest;

bool SameBytes(const TipBuffer& a, const TipBuffer& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(SyncTest, ExportIsTheSameWhateverOrderTheTipsWereAddedIn) {
  std::vector<TipText> tips = EveryKindOfContent();
  tips.push_back(Tip("Form", "Name", "ENTRY", "first of two"));
  tips.push_back(Tip("Form", "Name", "ENTRY", "second of two"));
  std::vector<TipText> reversed(tips.rbegin(), tips.rend());
  std::swap(reversed[0], reversed[1]);  // the two of one key still in their own order
  WriteTips(Path("a.tps"), tips);
  WriteTips(Path("b.tps"), reversed);
  const Ran a = RunVistip({"export", Path("a.tps")}), b = RunVistip({"export", Path("b.tps")});
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_LT(a.out.find("> first of two"), a.out.find("> second of two"));
  EXPECT_LT(a.out.find("procedure Form\n"), a.out.find("procedure OrderEntry\n"));
}

TEST_F(SyncTest, NoLineOfAnExportEndsInABlankAndGitFindsNothingToFlag) {
  WriteTips(Path("tips.tps"), EveryKindOfContent());
  const std::string out = Path("tips.vtx");
  ASSERT_EQ(RunVistip({"export", Path("tips.tps"), "-o", out}).status, 0);
  const std::string text = FileBytes(out);
  EXPECT_EQ(text.find(" \n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\t\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nprocedure\n"), std::string::npos);  // a blank procedure: the word alone
  EXPECT_NE(text.find("\n>\n"), std::string::npos);          // an empty text line
  const std::string cmd = "git diff --no-index --check /dev/null '" + out + "' 2>&1";
  std::string flagged;
  FILE* git = popen(cmd.c_str(), "r");
  ASSERT_NE(git, nullptr);
  char buf[512];
  while (fgets(buf, sizeof buf, git) != nullptr) flagged += buf;
  const int status = pclose(git);
  EXPECT_EQ(flagged, "");
  EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "git diff --check flagged the export";
}

// Texts written before blanks were left off the ends of lines read the same.
TEST_F(SyncTest, TextsOfEarlierVersionsStillRead) {
  const std::string old_text =
      "vistip-tips 1\ntip\nprocedure \ncontrol Name\ntype \ndate 2026-12-10\nflags 0 0 0\n"
      "width 0\ntext\n> one\n> \n> three\nsettings\nend\n";
  std::vector<TipText> tips;
  ASSERT_EQ(ReadTipText(old_text, tips).line, 0);
  ASSERT_EQ(tips.size(), 1u);
  EXPECT_EQ(tips[0].procedure, "");
  EXPECT_EQ(tips[0].type, "");
  EXPECT_EQ(tips[0].text, "one\r\n\r\nthree");
  EXPECT_EQ(WriteTipText(tips),
            "vistip-tips 1\ntip\nprocedure\ncontrol Name\ntype\ndate 2026-12-10\nflags 0 0 0\n"
            "width 0\ntext\n> one\n>\n> three\nsettings\nend\n");
}

TEST_F(SyncTest, ImportReplaceRewritesTheTipInItsPlaceAndAddsTheRest) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "old"), Tip("Form", "Other", "ENTRY", "x")});
  const std::vector<TipBuffer> before = ReadRecords(file);
  const std::string text =
      WriteTipText({Tip("Form", "Name", "ENTRY", "new"), Tip("Form", "Third", "BUTTON", "added")});
  const Ran ran = RunVistip({"import", "--replace", file, "-"}, {.input = text});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.err, "");
  EXPECT_EQ(ran.out, file + ": 1 added, 1 updated, 0 deleted, 1 unchanged\n");
  const std::vector<TipBuffer> after = ReadRecords(file);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].HELPTIP.clip(), "new");
  EXPECT_TRUE(SameBytes(after[1], before[1]));
  EXPECT_EQ(after[2].CONTROLNAME.clip(), "Third");
}

TEST_F(SyncTest, ExportSyncExportGivesTheSameBytes) {
  WriteTips(Path("a.tps"), EveryKindOfContent());
  ASSERT_EQ(RunVistip({"export", Path("a.tps"), "-o", Path("a.vtx")}).status, 0);
  for (const char* target : {"new.tps", "a.tps"}) {  // into a new file, and onto itself
    const Ran ran = RunVistip({"sync", Path(target), Path("a.vtx")});
    ASSERT_EQ(ran.status, 0) << ran.err;
    const Ran again = RunVistip({"export", Path(target)});
    EXPECT_EQ(again.out, FileBytes(Path("a.vtx"))) << target;
  }
  EXPECT_EQ(RunVistip({"sync", Path("a.tps"), Path("a.vtx")}).out,
            Path("a.tps") + ": 0 added, 0 updated, 0 deleted, 4 unchanged\n");
}

// One tip changed, one added, one removed: exactly those three records change; every other
// record keeps its bytes and its place.
TEST_F(SyncTest, SyncChangesExactlyTheRecordsThatDiffer) {
  const std::string file = Path("tips.tps");
  std::vector<TipText> tips = ManyTips(30);
  WriteTips(file, tips);
  const std::vector<TipBuffer> before = ReadRecords(file);
  tips[7].text = "Changed text";
  const TipText removed = tips[12];
  tips.erase(tips.begin() + 12);
  tips.push_back(Tip("Form9", "Added", "BUTTON", "A new tip"));
  WriteFileBytes(Path("tips.vtx"), WriteTipText(tips));

  const Ran dry = RunVistip({"sync", "--dry-run", file, Path("tips.vtx")});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out,
            "update Form0 / Control7 / ENTRY\ndelete Form0 / Control12 / ENTRY\n"
            "add Form9 / Added / BUTTON\n" +
                file + ": would make 1 added, 1 updated, 1 deleted, 28 unchanged\n");
  ASSERT_EQ(ReadRecords(file).size(), before.size());

  const Ran ran = RunVistip({"sync", file, Path("tips.vtx")});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, file + ": 1 added, 1 updated, 1 deleted, 28 unchanged\n");
  const std::vector<TipBuffer> after = ReadRecords(file);
  ASSERT_EQ(after.size(), 30u);
  for (size_t i = 0, j = 0; i < before.size(); ++i) {
    if (i == 12) continue;  // deleted
    if (i == 7) {
      EXPECT_EQ(after[j].HELPTIP.clip(), "Changed text");
      EXPECT_EQ(after[j].CONTROLNAME.clip(), "Control7");
    } else {
      EXPECT_TRUE(SameBytes(after[j], before[i])) << i;
    }
    ++j;
  }
  EXPECT_EQ(after[29].CONTROLNAME.clip(), "Added");
  EXPECT_NE(FromBuffer(after[29]), removed);
}

// A bad text is refused whole by sync as by import.
TEST_F(SyncTest, ABadTextChangesNothing) {
  const std::string file = Path("tips.tps");
  WriteTips(file, ManyTips(5));
  const std::string before = Checksum(file);
  const Ran ran = RunVistip({"sync", file, "-"}, {.input = "vistip-tips 1\ntip\nbogus\nend\n"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "vistip: -:3: unknown line \"bogus\"; nothing written\n");
  EXPECT_EQ(Checksum(file), before);
}

}  // namespace
}  // namespace vistip::testing
