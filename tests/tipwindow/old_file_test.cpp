// A tip window asked for a tip of an old-layout tip file converts the file first and then shows
// the tip from the converted file.
#include "tip_window_fixture.h"
#include "tipstore/old_tip_file.h"

namespace vistip::tipwindow::testing {
namespace {

using OldFileTest = TipWindowTest;

TEST_F(OldFileTest, ATipOfAnOldFileIsShownAfterItsConversion) {
  const std::vector<Tip> old_tips = {{"Orders", "Name", "ENTRY", "Converted tip"},
                                     {"Orders", "Qty", "ENTRY", "Other tip"}};
  ASSERT_EQ(WriteOldTipFile("tips.tps", static_cast<int32_t>(old_tips.size()),
                            [&](int32_t n, OldTipBuffer& r) {
                              const Tip& t = old_tips[static_cast<size_t>(n - 1)];
                              r.PROCEDURENAME = t.procedure;
                              r.CONTROLNAME = t.control;
                              r.CONTROLTYPE = t.type;
                              r.HELPTIP = t.text;
                            }),
            0);
  Request("Orders", "Name", "ENTRY");

  // The upgrade's wait window comes and goes on the tip window's own thread first.
  tip_ = std::make_unique<HelpTipWindow>();
  HelpTipWindow* p = tip_.get();
  tip_thread_ = rt::Start([p] { p->Run(); });
  window_ = rt::harness::WaitForWindow([p](const rt::Window& w) { return &w == &p->Window; });
  ASSERT_NE(window_, nullptr);
  rt::Post(rt::kEventTimer, 0, tip_thread_);
  rt::harness::Settle();

  EXPECT_NE(FieldOf("Converted tip"), 0);
  EXPECT_EQ(tip_->LOCALREQUEST, kChangeRecord);
  // The file under the tip file's name is now the converted one, with both tips.
  const std::vector<Tip> converted = TipFile("tips.tps").Read();
  ASSERT_EQ(converted.size(), old_tips.size());
  for (size_t i = 0; i < converted.size(); ++i) {
    EXPECT_EQ(converted[i].control, old_tips[i].control);
    EXPECT_EQ(converted[i].text, old_tips[i].text);
  }
}

}  // namespace
}  // namespace vistip::tipwindow::testing
