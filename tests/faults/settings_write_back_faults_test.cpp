// The settings write-back of a shown tip, end to end: a link without a target gives itself one
// and the tip window writes the tip's new settings memo back. When that write fails (full disk,
// refused journal, cut-off write) the window still follows the link and the file keeps every
// record as it was; once the fault is gone the same click stores the settings.
#include <string>
#include <vector>

#include "tests/faults/failing_vfs.h"
#include "tests/tipwindow/tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

using faults::FailingVfs;
using faults::Fault;

bool SameTips(const std::vector<Tip>& a, const std::vector<Tip>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].procedure != b[i].procedure || a[i].control != b[i].control ||
        a[i].type != b[i].type || a[i].text != b[i].text || a[i].settings != b[i].settings ||
        a[i].width != b[i].width)
      return false;
  return true;
}

class SettingsWriteBackFaultTest : public TipWindowTest,
                                   public ::testing::WithParamInterface<Fault> {
 protected:
  const std::vector<Tip> kTips = {{"P", "C", "ENTRY", "See <LNK:Order Entry>", "", 300},
                                  {"", "OrderEntry", "", "Order tip"},
                                  {"Q", "D", "BUTTON", "Other", "[B1]TOOLTIP;Go\xAB"}};
  TipFile file_{"tips.tps"};

  // The tip file made and the first tip shown; the link is clicked while the fault lasts.
  void ShowAndClickLinkDuringTheFault(int32_t* failures = nullptr) {
    file_.Create(kTips);
    Request("P", "C", "ENTRY");
    ASSERT_NE(Show(), nullptr);
    FailingVfs fault(GetParam());
    ClickLink();
    if (failures != nullptr) *failures = fault.failures();
  }

  void ClickLink() {
    const int32_t field = FieldOf("Order Entry");
    ASSERT_NE(field, 0);
    rt::harness::Click(*window_, field + 1);  // the region over the link text
    rt::harness::Settle();
  }
};

TEST_P(SettingsWriteBackFaultTest, AFailedWriteBackLosesNothingAndTheLinkStillWorks) {
  int32_t failures = 0;
  ShowAndClickLinkDuringTheFault(&failures);
  EXPECT_GT(failures, 0);
  EXPECT_NE(FieldOf("Order tip"), 0);
  EXPECT_TRUE(SameTips(file_.Read(), kTips));
}

TEST_P(SettingsWriteBackFaultTest, TheNextWriteBackStoresTheSettings) {
  ShowAndClickLinkDuringTheFault();
  rt::harness::Click(*window_, kBack);
  rt::harness::Settle();
  ClickLink();
  std::vector<Tip> expected = kTips;
  expected[0].settings = "[LNK1]LINKTIPPROC;\xABLINKTIPCTL;OrderEntry\xAB";
  EXPECT_TRUE(SameTips(file_.Read(), expected));
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsWriteBackFaultTest,
                         ::testing::Values(Fault::kDiskFull, Fault::kPermissionDenied,
                                           Fault::kInterruptedWrite),
                         [](const auto& p) {
                           switch (p.param) {
                             case Fault::kDiskFull:
                               return std::string("DiskFull");
                             case Fault::kPermissionDenied:
                               return std::string("PermissionDenied");
                             case Fault::kInterruptedWrite:
                               return std::string("Interrupted");
                           }
                           return std::string();
                         });

}  // namespace
}  // namespace vistip::tipwindow::testing
