// The settings memo: reading it into rows in queue order, writing rows back, and the two
// together giving the same rows.
#include "tipwindow/settings_memo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistip {
namespace {

std::vector<std::string> Rows(const std::vector<SetRecord>& rows) {
  std::vector<std::string> out;
  for (const SetRecord& r : rows)
    out.push_back(r.CONTROLNAME.str() + "|" + r.PROP.str() + "|" + r.SETTING.str());
  return out;
}

SetRecord Row(const char* control, const char* prop, const char* setting) {
  SetRecord r;
  r.CONTROLNAME = control;
  r.PROP = prop;
  r.SETTING = setting;
  return r;
}

struct ReadCase {
  const char* label;
  std::string memo;
  std::vector<std::string> rows;  // "control|property|value" in queue order
};

class SettingsReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReadTest, GivesTheRowsInQueueOrder) {
  EXPECT_EQ(Rows(ReadSettingsMemo(GetParam().memo)), GetParam().rows);
}

const ReadCase kReadCases[] = {
    {"Example",
     "[S  1]FONT;Arial,10,255,700\xAB[B1]TOOLTIP;Start the report\xAB"
     "CALL;EXEreport.exe\xAB",
     {"B1|CALL|EXEreport.exe", "B1|TOOLTIP|Start the report", "S  1|FONT|Arial,10,255,700"}},
    {"TextBeforeFirstBracketLost",
     "FONT;x\xABjunk[S  1]FONT;Arial,10,0,400\xAB",
     {"S  1|FONT|Arial,10,0,400"}},
    {"NoBracketNoRows", "FONT;Arial\xAB", {}},
    {"LaterRowReplaces",
     "[S  1]FONT;Arial,10,0,400\xAB"
     "FONT;Arial,12,0,400\xAB",
     {"S  1|FONT|Arial,12,0,400"}},
    {"LaterGroupReplaces",
     "[B1]CALL;EXEa\xAB[S  1]FONT;f\xAB[B1]CALL;EXEb\xAB",
     {"B1|CALL|EXEb", "S  1|FONT|f"}},
    {"BlankValueDropped",
     "[B1]TOOLTIP;\xAB"
     "CALL;EXEx\xAB",
     {"B1|CALL|EXEx"}},
    {"BlanksOnlyValueDropped", "[B1]TOOLTIP;   \xAB", {}},
    {"ObsoleteLinkPropertiesDropped",
     "[S  1]LINKPROC;x\xAB"
     "FONT;Arial,9,0,400\xAB[L]LINKCTL;y\xAB",
     {"S  1|FONT|Arial,9,0,400"}},
    {"ObsoleteDroppedAtEnd", "[L]LINKCTL;y", {}},
    {"BracketEndsARow", "[B1]TOOLTIP;Hi]CALL;EXEa\xAB", {"B1|CALL|EXEa", "B1|TOOLTIP|Hi"}},
    {"LastRowWithoutEnd", "[B1]TOOLTIP;Hi", {"B1|TOOLTIP|Hi"}},
    {"InnerBlanksKept", "[B1]TOOLTIP;  two  words  \xAB", {"B1|TOOLTIP|  two  words"}},
    {"KeyOrderIsByteOrder", "[b]A;1\xAB[Z]B;2\xAB[A]C;3\xAB", {"A|C|3", "Z|B|2", "b|A|1"}},
    {"NamesCutAt20ValuesAt60",
     "[" + std::string(25, 'n') + "]" + std::string(22, 'p') + ";" + std::string(70, 'v') + "\xAB",
     {std::string(20, 'n') + "|" + std::string(20, 'p') + "|" + std::string(60, 'v')}},
    {"Empty", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Memos, SettingsReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(SettingsWrite, GroupsOnEveryChangeOfControlName) {
  EXPECT_EQ(WriteSettingsMemo({Row("X", "A", "1"), Row("X", "B", "2"), Row("Y", "C", "3")}),
            "[X]A;1\xAB"
            "B;2\xAB[Y]C;3\xAB");
  EXPECT_EQ(WriteSettingsMemo({Row("X", "A", "1"), Row("Y", "B", "2"), Row("X", "C", "3")}),
            "[X]A;1\xAB[Y]B;2\xAB[X]C;3\xAB");
}

TEST(SettingsWrite, RemovesTrailingBlanksAndKeepsInnerOnes) {
  SetRecord r = Row("B 1", "TOOLTIP", "Start the report");
  r.TEXT = "not written";
  EXPECT_EQ(WriteSettingsMemo({r}), "[B 1]TOOLTIP;Start the report\xAB");
}

TEST(SettingsWrite, EmptyQueueWritesAnEmptyMemo) {
  EXPECT_EQ(WriteSettingsMemo({}), "");
}

TEST(SettingsWrite, CutsAtTenThousandCharacters) {
  std::vector<SetRecord> rows;
  for (int i = 0; i < 300; ++i)
    rows.push_back(Row(("C" + std::to_string(i)).c_str(), "TOOLTIP", std::string(50, 'x').c_str()));
  const std::string memo = WriteSettingsMemo(rows);
  EXPECT_EQ(memo.size(), kMaxSettingsMemo);
  EXPECT_EQ(memo.substr(0, 14), "[C0]TOOLTIP;xx");
}

TEST(SettingsWrite, WriteThenReadGivesTheSameRows) {
  const std::vector<SetRecord> rows = {
      Row("B1", "CALL", "MSG1025,3"), Row("B1", "TOOLTIP", "Send  it"),
      Row("LNK1", "LINKTIPCTL", "OrderEntry"), Row("S  1", "FONT", "Arial,10,255,700")};
  EXPECT_EQ(Rows(ReadSettingsMemo(WriteSettingsMemo(rows))), Rows(rows));
}

}  // namespace
}  // namespace vistip
