// The font string splitter.
#include "tipwindow/font_string.h"

#include <gtest/gtest.h>

#include <string>

namespace vistip {
namespace {

struct FontCase {
  const char* label;
  std::string font;
  std::string typeface;
  int32_t size, color, style;
};

class FontStringTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontStringTest, SplitsIntoItsFourParts) {
  const FontParts f = UnstringFont(GetParam().font);
  EXPECT_EQ(f.TYPEFACE.str(), GetParam().typeface);
  EXPECT_EQ(f.SIZE, GetParam().size);
  EXPECT_EQ(f.COLOR, GetParam().color);
  EXPECT_EQ(f.STYLE, GetParam().style);
}

const FontCase kFontCases[] = {
    {"Full", "Arial,10,255,700", "Arial", 10, 255, 700},
    {"NoFontChosen", ",,,", "", 0, 0, 0},
    {"BlanksInTypeface", "Times New Roman,12,0,400", "Times New Roman", 12, 0, 400},
    {"FourthCommaSkipped", "Arial,10,0,4,00", "Arial", 10, 0, 400},
    {"NotANumberIsZero", "Arial,big,red,bold", "Arial", 0, 0, 0},
    {"TwoPartsStyleIsTheLast", "Arial,10", "Arial", 0, 0, 10},
    {"ThreePartsStyleIsTheLast", "Arial,10,255", "Arial", 10, 0, 255},
    {"NoComma", "Arial", "Arial", 0, 0, 0},
    {"TypefaceCutAt40", std::string(45, 't') + ",8,0,400", std::string(40, 't'), 8, 0, 400},
    {"NumberPartCutAt20", "A," + std::string(19, '0') + "12,0,400", "A", 1, 0, 400},
    {"Empty", "", "", 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Fonts, FontStringTest, ::testing::ValuesIn(kFontCases),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip
