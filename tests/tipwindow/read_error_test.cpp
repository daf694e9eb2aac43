// A tip that cannot be read (another writer holds the file longer than a read waits) is
// reported and the window closes: it is never shown as a missing tip, which a save would add
// a second time.
#include <sqlite3.h>

#include "tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

TEST_F(TipWindowTest, ALinkedTipThatCannotBeReadIsReportedAndTheWindowCloses) {
  TipFile("tips.tps").Create(
      {{"P", "C", "ENTRY", "See <LNK:other>", "[LNK1]LINKTIPPROC;Q\xABLINKTIPCTL;D\xAB"},
       {"Q", "D", "ENTRY", "Target tip"}});
  Request("P", "C", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  const int32_t link = FieldOf("other");
  ASSERT_NE(link, 0);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open("tips.tps", &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  rt::harness::Click(*window_, link + 1);
  rt::Window* box = rt::harness::WaitForCaption("Record Retrieval Error");
  ASSERT_NE(box, nullptr);
  const std::string text = BoxText(*box);
  EXPECT_NE(text.find("(32)"), std::string::npos) << text;
  EXPECT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  EXPECT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_TRUE(TipClosed());
  EXPECT_EQ(rt::harness::WaitForCaption("Record Retrieval Error", std::chrono::milliseconds(0)),
            nullptr);  // one report, not one per key tried
  EXPECT_EQ(TipFile("tips.tps").Read().size(), 2u);
}

}  // namespace
}  // namespace vistip::tipwindow::testing
