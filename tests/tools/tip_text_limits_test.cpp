// The text form's names are refused, with their line, when they would not fit their fields:
// an import never shortens a procedure, control or type name unnoticed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {
namespace {

struct LimitCase {
  const char* label;
  std::string line;  // the tip's only field line
  int error_line;    // 0: read
  std::string message;
};

class TipTextLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TipTextLimitTest, NamesMustFitTheirFields) {
  const std::string input = "vistip-tips 1\ntip\n" + GetParam().line + "\nend\n";
  std::vector<TipText> tips;
  const TipTextError e = ReadTipText(input, tips);
  EXPECT_EQ(e.line, GetParam().error_line);
  EXPECT_EQ(e.message, GetParam().message);
  EXPECT_EQ(tips.size(), GetParam().error_line == 0 ? 1u : 0u);
}

const LimitCase kLimitCases[] = {
    {"ProcedureOf50", "procedure " + std::string(50, 'p'), 0, ""},
    {"ProcedureOf51", "procedure " + std::string(51, 'p'), 3,
     "the procedure is longer than 50 characters"},
    {"ControlOf51", "control " + std::string(51, 'c'), 3,
     "the control is longer than 50 characters"},
    {"TypeOf20", "type " + std::string(20, 'T'), 0, ""},
    {"TypeOf21", "type " + std::string(21, 'T'), 3, "the type is longer than 20 characters"},
    // Each character outside Windows-1252 becomes one byte ("?"), each 1252 letter one byte.
    {"TypeOf21Converted", "type " + std::string(21, '\xFF'), 3,
     "the type is longer than 20 characters"},
    {"TypeOf20Letters",
     "type " +
         [] {
           std::string s;
           for (int i = 0; i < 20; ++i) s += "\xC3\xA9";  // é, one byte each when stored
           return s;
         }(),
     0, ""},
    // Trailing blanks are not part of a stored name.
    {"TrailingBlanksDoNotCount", "type " + std::string(20, 'T') + "\\x20\\x20", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Names, TipTextLimitTest, ::testing::ValuesIn(kLimitCases),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip
