// A tip window asked for a tip of an old-layout tip file converts the file first and then shows
// the tip from the converted file.
#include "tip_window_fixture.h"
#include "tipstore/old_tip_file.h"

namespace vistip::tipwindow::testing {
namespace {

class OldFileTest : public TipWindowTest {
 protected:
  // The upgrade's wait window comes and goes on the tip window's own thread before the tip
  // window itself opens.
  rt::Window* ShowAfterConversion(std::unique_ptr<HelpTipWindow>& tip, int32_t& thread) {
    tip = std::make_unique<HelpTipWindow>(LastRequest());
    HelpTipWindow* p = tip.get();
    thread = rt::Start([p] { p->Run(); });
    return WaitUntilShown(*p, thread);
  }
  rt::Window* WaitUntilShown(HelpTipWindow& tip, int32_t thread) {
    rt::Window* w =
        rt::harness::WaitForWindow([&tip](const rt::Window& win) { return &win == &tip.Window; });
    if (w == nullptr) return nullptr;
    rt::Post(rt::kEventTimer, 0, thread);
    rt::harness::Settle();
    return w;
  }
};

// Old record n: the first is the tip asked for, the others fill the file.
void FillOld(int32_t n, OldTipBuffer& r) {
  r.PROCEDURENAME = "Orders";
  r.CONTROLNAME = n == 1 ? std::string("Name") : "Field" + std::to_string(n);
  r.CONTROLTYPE = "ENTRY";
  r.HELPTIP = n == 1 ? std::string("Converted tip") : "Tip " + std::to_string(n);
}

TEST_F(OldFileTest, ATipOfAnOldFileIsShownAfterItsConversion) {
  constexpr int32_t kRecords = 3;
  ASSERT_EQ(WriteOldTipFile("tips.tps", kRecords, FillOld), 0);
  Request("Orders", "Name", "ENTRY");
  ASSERT_NE(window_ = ShowAfterConversion(tip_, tip_thread_), nullptr);

  EXPECT_NE(FieldOf("Converted tip"), 0);
  EXPECT_EQ(tip_->LOCALREQUEST, kChangeRecord);
  // The file under the tip file's name is now the converted one, with every tip.
  const std::vector<Tip> converted = TipFile("tips.tps").Read();
  ASSERT_EQ(converted.size(), static_cast<size_t>(kRecords));
  for (int32_t n = 1; n <= kRecords; ++n) {
    OldTipBuffer old;
    FillOld(n, old);
    EXPECT_EQ(converted[static_cast<size_t>(n - 1)].control, old.CONTROLNAME.str());
    EXPECT_EQ(converted[static_cast<size_t>(n - 1)].text, old.HELPTIP.str());
  }
}

// The second window finds the conversion under way in its own process: it waits for it rather
// than converting again or closing the file the first one is writing.
TEST_F(OldFileTest, TwoWindowsOpenedAtOnceShareOneConversion) {
  constexpr int32_t kRecords = 400;
  ASSERT_EQ(WriteOldTipFile("tips.tps", kRecords, FillOld), 0);
  GLO.VTSTAYOPEN = 1;  // neither closes when the other takes the focus
  Request("Orders", "Name", "ENTRY");
  std::unique_ptr<HelpTipWindow> second;
  int32_t second_thread = 0;
  tip_ = std::make_unique<HelpTipWindow>(LastRequest());
  second = std::make_unique<HelpTipWindow>(LastRequest());
  HelpTipWindow* a = tip_.get();
  HelpTipWindow* b = second.get();
  tip_thread_ = rt::Start([a] { a->Run(); });
  second_thread = rt::Start([b] { b->Run(); });
  extra_.emplace_back(std::move(second), second_thread);

  ASSERT_NE(window_ = WaitUntilShown(*a, tip_thread_), nullptr);
  ASSERT_NE(WaitUntilShown(*b, second_thread), nullptr);
  EXPECT_NE(rt::harness::FieldWithText(a->Window, "Converted tip"), 0);
  EXPECT_NE(rt::harness::FieldWithText(b->Window, "Converted tip"), 0);
  EXPECT_EQ(TipFile("tips.tps").Read().size(), static_cast<size_t>(kRecords));
}

}  // namespace
}  // namespace vistip::tipwindow::testing
