// The button page: how a "CALL" setting loads into the call kind's fields, which fields each
// kind shows, and the "CALL" that "&Ok" writes back.
#include "settings_fixture.h"

namespace vistip::settings::testing {
namespace {

// Fields of the button page.
constexpr int32_t kTooltip = 202, kExeRadio = 204, kMsgRadio = 205, kHlpRadio = 206;
constexpr int32_t kExe = 207, kMessage = 209, kThread = 211, kHelpFile = 213, kHelpTopic = 215;

TEST_F(SettingsTest, AButtonWithoutCallOpensOnAnEmptyExecutable) {
  ASSERT_NE(Open("B", "BUTTON", {}), nullptr);
  EXPECT_EQ(dialog_->ENTRYFIELD[2], "EXE-Call an Executable");
  EXPECT_EQ(Shown(kTooltip), "Click here...");
  EXPECT_TRUE(Visible(kExe));
  EXPECT_EQ(Shown(kExe), "");
  for (int32_t field = 208; field <= 215; ++field) EXPECT_FALSE(Visible(field)) << field;
  for (int32_t field : {203, kExeRadio, kMsgRadio, kHlpRadio}) EXPECT_TRUE(Visible(field));
  EXPECT_EQ(Shown(203), "Call Type");
  EXPECT_EQ(window_->GetPropInt(kExe, rt::kPropY), 19);
  EXPECT_EQ(window_->GetPropInt(kMessage, rt::kPropY), 59);
  EXPECT_EQ(window_->GetPropInt(kHelpTopic, rt::kPropY), 71);
}

struct CallCase {
  const char* name;
  std::string call;
  std::vector<std::pair<int32_t, std::string>> shown;  // visible kind fields and their texts
};

class CallLoadTest : public SettingsTest, public ::testing::WithParamInterface<CallCase> {};

TEST_P(CallLoadTest, TheCallLoadsIntoTheFieldsOfItsKind) {
  ASSERT_NE(Open("B", "BUTTON", {{"B", "CALL", GetParam().call, ""}}), nullptr);
  std::vector<std::pair<int32_t, std::string>> shown;
  for (int32_t field : {kExe, kMessage, kThread, kHelpFile, kHelpTopic})
    if (Visible(field)) shown.emplace_back(field, Shown(field));
  EXPECT_EQ(shown, GetParam().shown);
}

// Longer than the 56 characters from the fourth to the 59th of the setting.
const std::string kCommand = "/opt/tools/prog --input=" + std::string(40, 'x');

INSTANTIATE_TEST_SUITE_P(
    Calls, CallLoadTest,
    ::testing::Values(
        CallCase{"Message", "MSG1025,2", {{kMessage, "1025"}, {kThread, "2"}}},
        CallCase{"LongThread", "MSG1,123456789012", {{kMessage, "1"}, {kThread, "1234567890"}}},
        // The eleventh digit is taken for the separator.
        CallCase{
            "TwelveDigits", "MSG123456789012,3 x", {{kMessage, "1234567890"}, {kThread, "2,3"}}},
        CallCase{"Help", "HLPvistip.hlp,42", {{kHelpFile, "vistip.hlp"}, {kHelpTopic, "42"}}},
        CallCase{"Exe", "EXE" + kCommand, {{kExe, kCommand.substr(0, 56)}}},
        CallCase{"Unknown", "XYZwhatever", {}}),
    [](const auto& test) { return test.param.name; });

TEST_F(SettingsTest, ATypedMessageCallIsWritten) {
  ASSERT_NE(Open("B", "BUTTON", {}), nullptr);
  rt::harness::Click(*window_, kMsgRadio);
  EXPECT_FALSE(Visible(kExe));
  EXPECT_TRUE(Visible(kMessage - 1) && Visible(kMessage) && Visible(kThread));
  EXPECT_FALSE(Visible(kHelpFile));
  TypeInto(kMessage, "1025");
  TypeInto(kThread, "2");
  TypeInto(kTooltip, "!");
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"B", "CALL", "MSG1025,2", "the text"},
                                            {"B", "TOOLTIP", "Click here...!", "the text"}}));
}

TEST_F(SettingsTest, AnExecutableIsWrittenUpToItsEnd) {
  ASSERT_NE(Open("B", "BUTTON", {}), nullptr);
  TypeInto(kExe, "prog -x file");
  const std::vector<Row> rows = Press("&Ok");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (Row{"B", "CALL", "EXEprog -x file", "the text"}));
}

TEST_F(SettingsTest, SwitchingTheKindKeepsWhatWasTyped) {
  ASSERT_NE(Open("B", "BUTTON", {{"B", "CALL", "MSG1025,2", ""}}), nullptr);
  TypeInto(kMessage, "7");
  rt::harness::Click(*window_, kHlpRadio);
  EXPECT_FALSE(Visible(kMessage) || Visible(kThread) || Visible(kExe));
  EXPECT_TRUE(Visible(kHelpFile) && Visible(kHelpTopic));
  TypeInto(kHelpFile, "a.hlp");
  rt::harness::Click(*window_, kMsgRadio);
  EXPECT_TRUE(Visible(kMessage) && Visible(kThread));
  EXPECT_FALSE(Visible(kHelpFile) || Visible(kHelpTopic));
  EXPECT_EQ(Shown(kMessage), "10257");
  EXPECT_EQ(Shown(kThread), "2");
  const std::vector<Row> rows = Press("&Ok");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].setting, "MSG10257,2");
}

TEST_F(SettingsTest, TheHelpKindWritesFileAndTopic) {
  ASSERT_NE(Open("B", "BUTTON", {{"B", "CALL", "EXEold", ""}}), nullptr);
  rt::harness::Click(*window_, kHlpRadio);
  TypeInto(kHelpFile, "vistip.hlp");
  TypeInto(kHelpTopic, "42");
  const std::vector<Row> rows = Press("&Ok");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].setting, "HLPvistip.hlp,42");
}

TEST_F(SettingsTest, AnUnknownKindKeepsItsCallAndStillWritesTheTooltip) {
  const std::vector<Row> before = {{"B", "CALL", "XYZwhatever", "t"}};
  ASSERT_NE(Open("B", "BUTTON", before), nullptr);
  EXPECT_EQ(Press("&Ok"), (std::vector<Row>{{"B", "CALL", "XYZwhatever", "t"},
                                            {"B", "TOOLTIP", "Click here...", "the text"}}));
}

}  // namespace
}  // namespace vistip::settings::testing
