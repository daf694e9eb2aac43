// Ok and Cancel on the edit tab, end to end: what reaches the tip file (read back through a
// declaration of its own), what the host is told, and the tip shown afterwards.
#include <cstdio>
#include <optional>

#include "edit_tab_fixture.h"
#include "runtime/process.h"

namespace vistip::tipwindow::testing {
namespace {

struct SaveCase {
  const char* label;
  std::vector<Tip> stored;
  std::optional<std::string> text, procedure, control, type;
  std::vector<std::string> file;  // procedure|control|type|text, in record order
  bool tells_host = false;
};

void PrintTo(const SaveCase& c, std::ostream* os) {
  *os << c.label;
}

class SaveTest : public EditTabTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveTest, OkWritesTheTip) {
  const SaveCase& c = GetParam();
  ASSERT_NE(ShowTip(c.stored), nullptr);
  Edit();
  if (c.text) Replace(kHelpTip, *c.text);
  if (c.procedure) Replace(kProcedureName, *c.procedure);
  if (c.control) Replace(kControlName, *c.control);
  if (c.type) Replace(kControlType, *c.type);
  Ok();
  EXPECT_EQ(Keys(FileTips()), c.file);
  EXPECT_EQ(HostEvents(),
            c.tells_host ? std::vector<int32_t>{kEventTipAdded} : std::vector<int32_t>{});
  EXPECT_EQ(tip_->EDITMODE, 0);
  EXPECT_TRUE(Ctl(kTab2).hidden);
  EXPECT_FALSE(Ctl(kTab1).hidden);
  if (c.text && !c.text->empty()) {
    EXPECT_TRUE(Showing(*c.text));
  }
}

const Tip kStored{"P", "C", "ENTRY", "Old tip"};
const Tip kOther{"P", "D", "ENTRY", "Other tip"};
const Tip kTypeTip{"", "", "ENTRY", "Type tip"};

const SaveCase kSaveCases[] = {
    {.label = "ANewTipIsAdded",
     .stored = {kOther},
     .text = "New tip",
     .file = {"P|D|ENTRY|Other tip", "P|C|ENTRY|New tip"},
     .tells_host = true},
    {.label = "ANewTipWithABlankTextIsAdded",
     .text = "",
     .file = {"P|C|ENTRY|"},
     .tells_host = true},
    {.label = "ANewTipAsItWasShownIsAdded",
     .file = {"P|C|ENTRY|No Help for this Topic"},
     .tells_host = true},
    {.label = "AStoredTipIsChangedInPlace",
     .stored = {kStored, kOther},
     .text = "New text",
     .file = {"P|C|ENTRY|New text", "P|D|ENTRY|Other tip"}},
    {.label = "ANewControlNameAddsAndKeepsTheOld",
     .stored = {kStored},
     .text = "Renamed",
     .control = "C2",
     .file = {"P|C|ENTRY|Old tip", "P|C2|ENTRY|Renamed"}},
    {.label = "ANewProcedureNameAddsAndKeepsTheOld",
     .stored = {kStored},
     .procedure = "Q",
     .file = {"P|C|ENTRY|Old tip", "Q|C|ENTRY|Old tip"}},
    {.label = "ANewTypeAloneIsWrittenInPlace",
     .stored = {kStored, kOther},
     .type = "BUTTON",
     .file = {"P|C|BUTTON|Old tip", "P|D|ENTRY|Other tip"}},
    {.label = "AClearedTextDeletesTheTip",
     .stored = {kStored, kOther},
     .text = "",
     .file = {"P|D|ENTRY|Other tip"}},
    {.label = "ATypeTipSavedAddsTheControlsOwn",
     .stored = {kTypeTip},
     .text = "Own tip",
     .file = {"||ENTRY|Type tip", "P|C|ENTRY|Own tip"}},
    {.label = "ClearingATypeTipShownForAControlKeepsIt",
     .stored = {kTypeTip},
     .text = "",
     .file = {"||ENTRY|Type tip"}},
    {.label = "ASharedTipKeepsItsBlankProcedure",
     .stored = {{"", "C", "", "Shared tip"}},
     .text = "Edited",
     .file = {"|C||Edited"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveTest, ::testing::ValuesIn(kSaveCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(EditTabTest, OkStampsTheRecordWithToday) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kHelpTip, "Dated");
  Ok();
  EXPECT_EQ(VTH.LASTEDITDATE, rt::Today());
  EXPECT_EQ(tip_->SAV.RECORD.LASTEDITDATE, 0);  // the copies are those of the tip as read
}

TEST_F(EditTabTest, BlankNamesAreRefusedWithAMessageAndNothingIsWritten) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kHelpTip, "Lost?");
  Replace(kControlName, "");
  Replace(kControlType, "");
  Ok();
  rt::Window* box = rt::harness::WaitForCaption("Vistip Tip");
  ASSERT_NE(box, nullptr);
  std::string text, icon;
  for (const auto& c : box->controls()) {
    if (c->type == rt::kCreateString) text += (text.empty() ? "" : " ") + c->text;
    if (c->type == rt::kCreateImage) icon = c->icon;
  }
  EXPECT_EQ(text, "Either the Control name or the Control Type must be entered.");
  EXPECT_EQ(icon, "~asterisk");
  EXPECT_TRUE(rt::harness::ClickButton(*box, "&OK"));
  rt::harness::Settle();
  EXPECT_TRUE(Editing());
  EXPECT_EQ(window_->focus(), kControlName);
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Old tip"}));
  // With a name again the same edit saves.
  Replace(kControlName, "C");
  Ok();
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C||Lost?"}));
}

TEST_F(EditTabTest, AfterAddingUnderNewNamesTheNextSaveRewritesThatRecord) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kControlName, "C2");
  Ok();
  Edit();
  Replace(kHelpTip, "Again");
  Ok();
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Old tip", "P|C2|ENTRY|Again"}));
}

TEST_F(EditTabTest, ANewTipSavedTwiceIsAddedOnceAndTheHostToldOnce) {
  ASSERT_NE(ShowTip({}), nullptr);
  Edit();
  Replace(kHelpTip, "First");
  Ok();
  Edit();
  Replace(kHelpTip, "Second");
  Ok();
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Second"}));
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{kEventTipAdded}));
}

TEST_F(EditTabTest, ATextTypedAfterDeletingIsAddedAgain) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kHelpTip, "");
  Ok();
  EXPECT_EQ(FileTips().size(), 0u);
  Edit();
  Replace(kHelpTip, "Back again");
  Ok();
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Back again"}));
  EXPECT_EQ(HostEvents(), (std::vector<int32_t>{kEventTipAdded}));
}

struct CancelCase {
  const char* label;
  std::string settings;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
  *os << c.label;
}

class CancelTest : public EditTabTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, NothingTypedReachesTheFile) {
  const Tip stored{"P", "C", "ENTRY", "Hello tip", GetParam().settings, 0};
  ASSERT_NE(ShowTip({stored, kOther}), nullptr);
  Edit();
  // The names stay, so the rebuild after Cancel writes the record when it has settings rows.
  Replace(kHelpTip, "Typed text");
  Replace(kControlType, "BUTTON");
  Cancel();
  EXPECT_EQ(tip_->EDITMODE, 0);
  EXPECT_TRUE(Showing("Hello tip"));
  EXPECT_EQ(VTH.HELPTIP.str(), "Hello tip");
  EXPECT_EQ(VTH.CONTROLTYPE.str(), "ENTRY");
  const std::vector<Tip> file = FileTips();
  EXPECT_EQ(Keys(file), (std::vector<std::string>{"P|C|ENTRY|Hello tip", "P|D|ENTRY|Other tip"}));
  ASSERT_EQ(file.size(), 2u);
  EXPECT_EQ(file[0].settings, GetParam().settings);
  EXPECT_EQ(file[1].settings, "");
  // The tip saved later is the one the file held, not what was typed before Cancel.
  Edit();
  Ok();
  EXPECT_EQ(Keys(FileTips()),
            (std::vector<std::string>{"P|C|ENTRY|Hello tip", "P|D|ENTRY|Other tip"}));
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(Settings, CancelTest,
                         ::testing::Values(CancelCase{"WithoutSettingsRows", ""},
                                           CancelCase{"WithSettingsRows",
                                                      "[S  1]FONT;Arial,12,255,700\xAB"}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(EditTabTest, AltEAgainWhileEditingDoesNotMoveWhatCancelGoesBackTo) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kHelpTip, "Typed text");
  Edit();
  EXPECT_TRUE(Editing());
  EXPECT_EQ(rt::harness::ShownText(*window_, kHelpTip), "Typed text");
  Cancel();
  EXPECT_TRUE(Showing("Old tip"));
  Edit();
  Ok();
  EXPECT_EQ(Keys(FileTips()), (std::vector<std::string>{"P|C|ENTRY|Old tip"}));
}

TEST_F(EditTabTest, CancelOnANewTipWritesNothing) {
  ASSERT_NE(ShowTip({}), nullptr);
  Edit();
  Replace(kHelpTip, "Never saved");
  Cancel();
  EXPECT_TRUE(Showing("No Help for this Topic"));
  EXPECT_EQ(FileTips().size(), 0u);
  EXPECT_EQ(HostEvents(), std::vector<int32_t>{});
}

TEST_F(EditTabTest, ASavedTipIsWhatTheNextWindowFinds) {
  ASSERT_NE(ShowTip({kStored}), nullptr);
  Edit();
  Replace(kHelpTip, "Saved for later");
  Replace(kControlName, "Later");
  Ok();
  CloseTip();
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_EQ(Keys(FileTips()),
            (std::vector<std::string>{"P|C|ENTRY|Old tip", "P|Later|ENTRY|Saved for later"}));
  Request("P", "Later", "ENTRY");
  ASSERT_NE(Show(), nullptr);
  EXPECT_TRUE(Showing("Saved for later"));
  EXPECT_EQ(tip_->LOCALREQUEST, kChangeRecord);
}

// Standard output of a command run by the shell (the test's own fixed command line).
std::string Output(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[256];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  ::pclose(p);
  return out;
}

TEST_F(EditTabTest, AnotherProcessFindsExactlyWhatWasSaved) {
  ASSERT_NE(ShowTip({kStored, kOther}), nullptr);
  Edit();
  Replace(kHelpTip, "Changed tip");
  Ok();
  Edit();
  Replace(kControlName, "E");
  Replace(kControlType, "LIST");
  Ok();
  Edit();
  Replace(kHelpTip, "Cancelled text");
  Cancel();
  CloseTip();
  int year = 0, month = 0, day = 0;
  rt::YmdFromDate(rt::Today(), year, month, day);
  char today[16];
  std::snprintf(today, sizeof today, "%04d-%02d-%02d", year, month, day);
  EXPECT_EQ(Output(std::string(VISTIP_COMMAND) + " list tips.tps"),
            std::string("P\tC\tENTRY\t") + today + "\tChanged tip\n" +
                "P\tD\tENTRY\t#0\tOther tip\n" + "P\tE\tLIST\t" + today + "\tChanged tip\n");
}

}  // namespace
}  // namespace vistip::tipwindow::testing
