// The setters store exactly their argument in the process-wide state, cut to its width or
// reduced to its low-order byte; VTCLOSE changes nothing.
#include "api/setters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "state/state.h"
#include "tests/api/api_fixture.h"

namespace vistip::testing {
namespace {

class SettersTest : public ApiTest {};

// Every variable compared in full, trailing blanks included.
::testing::AssertionResult SameState(const GlobalState& a, const GlobalState& b) {
  const bool same =
      a.VTAPPNAME.view() == b.VTAPPNAME.view() && a.VTAPPNAMEOLD.view() == b.VTAPPNAMEOLD.view() &&
      a.VTPROCEDURENAME.view() == b.VTPROCEDURENAME.view() &&
      a.VTCONTROLNAME.view() == b.VTCONTROLNAME.view() &&
      a.VTCONTROLTYPE.view() == b.VTCONTROLTYPE.view() &&
      a.POPUPSTRING.view() == b.POPUPSTRING.view() &&
      a.VTWINDOWCAPTION.view() == b.VTWINDOWCAPTION.view() && a.CANEDIT == b.CANEDIT &&
      a.VTSTAYOPEN == b.VTSTAYOPEN && a.VTVARIABLEWIDTH == b.VTVARIABLEWIDTH &&
      a.VTTOOLBOX == b.VTTOOLBOX && a.VTCOLOR == b.VTCOLOR && a.PARENTTHREAD == b.PARENTTHREAD;
  return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "states differ";
}

TEST_F(SettersTest, LoadTimeStateIsBlankAndZeroExceptFontconst) {
  const GlobalState fresh;
  for (std::string_view text :
       {fresh.VTAPPNAME.view(), fresh.VTAPPNAMEOLD.view(), fresh.VTPROCEDURENAME.view(),
        fresh.VTCONTROLNAME.view(), fresh.VTCONTROLTYPE.view(), fresh.POPUPSTRING.view(),
        fresh.VTWINDOWCAPTION.view()})
    EXPECT_EQ(text, std::string(text.size(), ' '));
  EXPECT_EQ(fresh.CANEDIT + fresh.VTSTAYOPEN + fresh.VTVARIABLEWIDTH + fresh.VTTOOLBOX, 0);
  EXPECT_EQ(fresh.VTCOLOR, 0);
  EXPECT_EQ(fresh.PARENTTHREAD, 0);
  const PositionState pos;
  EXPECT_EQ(pos.CONTROL + pos.X + pos.Y, 0);
  EXPECT_EQ(LayoutState{}.WINDOWWIDTH, 0);
  EXPECT_EQ(FONTCONST, 1.25);
}

struct TextCase {
  const char* name;
  std::function<void(std::string_view)> set;
  std::function<std::string_view()> get;
  size_t width;
};

const TextCase kTextCases[] = {
    {"PopUp", vtSetPopUp, [] { return GLO.POPUPSTRING.view(); }, 100},
    {"Caption", vtSetCaption, [] { return GLO.VTWINDOWCAPTION.view(); }, 80},
};

class TextSetterTest : public SettersTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextSetterTest, KeepsTheFirstCharactersPaddedWithBlanks) {
  const TextCase& c = GetParam();
  std::string longer;
  for (size_t i = 0; i < c.width + 30; ++i) longer += static_cast<char>('a' + i % 26);
  c.set(longer);
  EXPECT_EQ(c.get(), longer.substr(0, c.width));
  c.set("Short|Menu");
  EXPECT_EQ(c.get(), "Short|Menu" + std::string(c.width - 10, ' '));
  c.set("");
  EXPECT_EQ(c.get(), std::string(c.width, ' '));
}

INSTANTIATE_TEST_SUITE_P(Texts, TextSetterTest, ::testing::ValuesIn(kTextCases), CaseName());

struct EditCase {
  int32_t flag;
  uint8_t stored;
};

class EditSetterTest : public SettersTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditSetterTest, StoresTheLowOrderByte) {
  vtSetEdit(GetParam().flag);
  EXPECT_EQ(GLO.CANEDIT, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Flags, EditSetterTest,
                         ::testing::Values(EditCase{0, 0}, EditCase{1, 1}, EditCase{2, 2},
                                           EditCase{257, 1}, EditCase{0x1FF, 0xFF},
                                           EditCase{-1, 0xFF}, EditCase{-254, 2}));

TEST_F(SettersTest, ByteAndColourSettersStoreTheirArgumentUnchecked) {
  vtSetVariableWidth(7);
  vtStayOpen(255);
  vtSetToolbox(1);
  vtSetColor(-12345);
  EXPECT_EQ(GLO.VTVARIABLEWIDTH, 7);
  EXPECT_EQ(GLO.VTSTAYOPEN, 255);
  EXPECT_EQ(GLO.VTTOOLBOX, 1);
  EXPECT_EQ(GLO.VTCOLOR, -12345);
  vtSetColor(0xECFFFE);
  EXPECT_EQ(GLO.VTCOLOR, 0xECFFFE);
  vtStayOpen(0);
  EXPECT_EQ(GLO.VTSTAYOPEN, 0);
}

TEST_F(SettersTest, EachSetterTouchesOnlyItsOwnVariable) {
  vtSetCaption("Caption");
  const GlobalState before = GLO;
  vtSetToolbox(1);
  GlobalState expected = before;
  expected.VTTOOLBOX = 1;
  EXPECT_TRUE(SameState(GLO, expected));
  EXPECT_FALSE(SameState(GLO, before));
}

TEST_F(SettersTest, CloseChangesNothingHoweverOftenCalled) {
  vtSetPopUp("Menu");
  POS = {.CONTROL = 4, .X = 5, .Y = 6};
  const GlobalState glo = GLO;
  const PositionState pos = POS;
  for (int i = 0; i < 3; ++i) VTCLOSE();
  EXPECT_TRUE(SameState(GLO, glo));
  EXPECT_EQ(POS.CONTROL, pos.CONTROL);
  EXPECT_EQ(POS.X, pos.X);
  EXPECT_EQ(POS.Y, pos.Y);
}

}  // namespace
}  // namespace vistip::testing
