// Finding the tip for a request in a real tip file: by procedure and control, by control with a
// blank procedure, by type only when the first record of the type names nothing, else a new tip.
#include "tip_window_fixture.h"

namespace vistip::tipwindow::testing {
namespace {

struct LookupCase {
  const char* label;
  std::vector<Tip> file;
  std::string procedure, control, type;
  std::string shown;
  int32_t request;  // LOCALREQUEST
};

class LookupTest : public TipWindowTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LookupTest, ShowsTheTipFoundForTheRequest) {
  TipFile("tips.tps").Create(GetParam().file);
  Request(GetParam().procedure, GetParam().control, GetParam().type);
  ASSERT_NE(Show(), nullptr);
  EXPECT_NE(FieldOf(GetParam().shown), 0) << GetParam().shown;
  EXPECT_EQ(tip_->LOCALREQUEST, GetParam().request);
  // The edit tab's fields show the requested names whatever record was found.
  EXPECT_EQ(VTH.CONTROLNAME.str(), GetParam().control);
  EXPECT_EQ(VTH.CONTROLTYPE.str(), GetParam().type);
}

const LookupCase kLookupCases[] = {
    {"ByProcedureAndControl",
     {{"", "Name", "ENTRY", "Shared"}, {"Orders", "Name", "ENTRY", "Own"}},
     "Orders",
     "Name",
     "ENTRY",
     "Own",
     kChangeRecord},
    {"ByControlWithBlankProcedure",
     {{"Other", "Name", "ENTRY", "Not this"}, {"", "Name", "ENTRY", "Shared"}},
     "Orders",
     "Name",
     "ENTRY",
     "Shared",
     kChangeRecord},
    {"ByTypeWhenItsFirstRecordNamesNothing",
     {{"", "", "BUTTON", "Button tip"}, {"", "", "ENTRY", "Entry tip"}},
     "Orders",
     "Name",
     "ENTRY",
     "Entry tip",
     kChangeRecord},
    {"NotByTypeWhenItsFirstRecordHasAName",
     {{"P", "X", "ENTRY", "Named"}, {"", "", "ENTRY", "Entry tip"}},
     "Orders",
     "Name",
     "ENTRY",
     "No Help for this Topic",
     kInsertRecord},
    {"NothingFound",
     {{"P", "X", "BUTTON", "Named"}},
     "Orders",
     "Name",
     "ENTRY",
     "No Help for this Topic",
     kInsertRecord},
    {"EmptyFile", {}, "Orders", "Name", "ENTRY", "No Help for this Topic", kInsertRecord},
};

INSTANTIATE_TEST_SUITE_P(Requests, LookupTest, ::testing::ValuesIn(kLookupCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(LookupTest, ATypeTipShowsItsTextAndSettingsUnderTheRequestedNames) {
  TipFile("tips.tps").Create({{"", "", "ENTRY", "Entry tip", "[S  1]TOOLTIP;t\xAB"}});
  Request("Orders", "Name", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  EXPECT_NE(FieldOf("Entry tip"), 0);
  EXPECT_EQ(VTH.PROCEDURENAME.str(), "Orders");
  EXPECT_EQ(tip_->SAV.RECORD.PROCEDURENAME.str(), "");  // the record read was the type tip
  EXPECT_EQ(tip_->SETTINGS1.str(), "[S  1]TOOLTIP;t\xAB");
}

TEST_F(LookupTest, AMissingTipFileIsCreatedEmpty) {
  Request("Orders", "Name", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  EXPECT_NE(FieldOf("No Help for this Topic"), 0);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "tips.tps"));
}

}  // namespace
}  // namespace vistip::tipwindow::testing
