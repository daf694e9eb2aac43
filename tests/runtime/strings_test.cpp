// Tests of STRING(N) and the runtime's string services and text/number conversions.
#include "runtime/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "runtime/cstring.h"

namespace rt {
namespace {

// ---- STRING(N) ----

#pragma pack(push, 1)
struct PackedRecord {
  String<3> code;
  int32_t number;
  String<5> name;
};
#pragma pack(pop)
static_assert(sizeof(PackedRecord) == 12);
static_assert(std::is_trivially_copyable_v<String<10000>>);
static_assert(sizeof(String<10000>) == 10000);

TEST(CString, DefaultIsAllBlanks) {
  String<4> s;
  EXPECT_EQ(s.view(), "    ");
  EXPECT_TRUE(s.blank());
  EXPECT_EQ(s.clip(), "");
  EXPECT_EQ(s.str(), "");
}

TEST(CString, AssignmentCutsOrPads) {
  String<4> s = "ab";
  EXPECT_EQ(s.view(), "ab  ");
  s = "abcdef";
  EXPECT_EQ(s.view(), "abcd");
  s = std::string("xy z");
  EXPECT_EQ(s.view(), "xy z");
  s = std::string_view("q");
  EXPECT_EQ(s.view(), "q   ");
  s = static_cast<const char*>(nullptr);
  EXPECT_TRUE(s.blank());
  String<2> shorter = String<6>("123456");
  EXPECT_EQ(shorter.view(), "12");
  String<6> longer = String<2>("12");
  EXPECT_EQ(longer.view(), "12    ");
  longer = shorter;
  EXPECT_EQ(longer.view(), "12    ");
}

TEST(CString, KeepsEmbeddedAndHighBytes) {
  String<4> s(std::string_view("a\0\xE9", 3));
  EXPECT_EQ(s.view(), std::string_view("a\0\xE9 ", 4));
  EXPECT_EQ(s.clip().size(), 3u);
}

TEST(CString, OneBasedCharacterAccess) {
  String<3> s = "abc";
  EXPECT_EQ(s.at(1), 'a');
  EXPECT_EQ(s.at(3), 'c');
  EXPECT_EQ(s.at(0), ' ');
  EXPECT_EQ(s.at(4), ' ');
  s.set(2, 'X');
  s.set(0, 'Y');
  s.set(4, 'Z');
  EXPECT_EQ(s.view(), "aXc");
  EXPECT_EQ(String<3>::size(), 3u);
}

TEST(CString, EqualityIgnoresTrailingBlanks) {
  String<5> a = "ab";
  String<3> b = "ab ";
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(b == a);
  EXPECT_TRUE(a == "ab");
  EXPECT_TRUE(a == "ab      ");
  EXPECT_TRUE("ab" == a);
  EXPECT_TRUE(a == std::string("ab"));
  EXPECT_FALSE(a == " ab");
  EXPECT_FALSE(a == "AB");  // case-sensitive
  EXPECT_TRUE(String<2>() == "");
  EXPECT_TRUE(a != "abc");
}

struct OrderCase {
  const char* a;
  const char* b;
  int expected;  // sign of a <=> b
};

class CStringOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(CStringOrder, OrdersAsBlankPadded) {
  const OrderCase& c = GetParam();
  const String<6> a = c.a;
  const String<4> b = c.b;
  const auto sign = [](std::strong_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; };
  EXPECT_EQ(sign(a <=> b), c.expected);
  EXPECT_EQ(sign(a <=> std::string_view(c.b)), c.expected);
  EXPECT_EQ(sign(b <=> a), -c.expected);
}

const OrderCase kOrderCases[] = {
    {"ab", "ab", 0},     {"ab", "abc", -1}, {"b", "abc", 1},    {"", "", 0},
    {"a", "", 1},        {"A", "a", -1},    {"a\x01", "a", -1},  // a byte below blank sorts before
                                                                 // the padding
    {"\xE9", "z", 1},  // Windows-1252 bytes compare unsigned, above ASCII
    {"abcd", "abcd", 0},
};
INSTANTIATE_TEST_SUITE_P(Table, CStringOrder, ::testing::ValuesIn(kOrderCases));

TEST(CString, ConcatenationThroughStr) {
  String<5> a = "ab";
  String<4> b = "cd";
  EXPECT_EQ(a.str() + b.str() + "!", "abcd!");
  String<3> joined = a.str() + b.str();
  EXPECT_EQ(joined.view(), "abc");
}

TEST(CString, UsableAsConstant) {
  constexpr String<4> k = "ab";
  static_assert(k.clip() == "ab");
  static_assert(k.at(3) == ' ');
  static_assert(k == "ab");
}

// ---- case ----

struct CaseCase {
  std::string lower;
  std::string upper;
};

class CaseMapping : public ::testing::TestWithParam<CaseCase> {};

TEST_P(CaseMapping, UpperAndLowerArePaired) {
  EXPECT_EQ(Upper(GetParam().lower), GetParam().upper);
  EXPECT_EQ(Lower(GetParam().upper), GetParam().lower);
}

const CaseCase kCaseCases[] = {
    {"abc xyz", "ABC XYZ"},
    {"", ""},
    {"1 + 2 = 3;", "1 + 2 = 3;"},
    {"\xE0\xE9\xF6\xFE", "\xC0\xC9\xD6\xDE"},  // à é ö þ
    {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},  // š œ ž ÿ
    {"\xF7", "\xF7"},                          // ÷ is no letter
};
INSTANTIATE_TEST_SUITE_P(Table, CaseMapping, ::testing::ValuesIn(kCaseCases));

TEST(CaseMapping, NonPairedCharactersStay) {
  EXPECT_EQ(Upper("\xDF\xB5"), "\xDF\xB5");  // ß µ have no single-byte capital
  EXPECT_EQ(Lower("\xD7\xDF"), "\xD7\xDF");  // × ß
  EXPECT_EQ(UpperChar('q'), 'Q');
  EXPECT_EQ(LowerChar('Q'), 'q');
}

// ---- CLIP, SUB, LEFT, ALL, LEN ----

TEST(StringServices, Clip) {
  EXPECT_EQ(Clip("ab  "), "ab");
  EXPECT_EQ(Clip("  ab"), "  ab");
  EXPECT_EQ(Clip("    "), "");
  EXPECT_EQ(Clip(""), "");
  EXPECT_EQ(Clip("a\tb\t"), "a\tb\t");  // only blanks are clipped
}

struct SubCase {
  const char* s;
  int64_t start;
  int64_t len;
  const char* expected;
};

class SubTest : public ::testing::TestWithParam<SubCase> {};

TEST_P(SubTest, Sub) {
  const SubCase& c = GetParam();
  EXPECT_EQ(Sub(c.s, c.start, c.len), c.expected);
}

const SubCase kSubCases[] = {
    {"ABCDE", 1, 1, "A"},
    {"ABCDE", 2, 3, "BCD"},
    {"ABCDE", 4, 10, "DE"},
    {"ABCDE", 5, 1, "E"},
    {"ABCDE", 6, 1, ""},
    {"ABCDE", 0, 2, "A"},
    {"ABCDE", -1, 2, ""},
    {"ABCDE", -1, 4, "AB"},
    {"ABCDE", 2, 0, ""},
    {"ABCDE", 2, -3, ""},
    {"", 1, 1, ""},
    {"ABCDE", std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), ""},
    {"ABCDE", 3, std::numeric_limits<int64_t>::max(), "CDE"},
    {"ABCDE", std::numeric_limits<int64_t>::max(), 5, ""},
};
INSTANTIATE_TEST_SUITE_P(Table, SubTest, ::testing::ValuesIn(kSubCases));

TEST(StringServices, Left) {
  EXPECT_EQ(Left("  ab "), "ab   ");
  EXPECT_EQ(Left("ab"), "ab");
  EXPECT_EQ(Left("   "), "   ");
  EXPECT_EQ(Left(""), "");
  EXPECT_EQ(Left("  ab", 3), "ab ");
  EXPECT_EQ(Left("  ab", 1), "a");
}

TEST(StringServices, All) {
  EXPECT_EQ(All("ab", 5), "ababa");
  EXPECT_EQ(All("-", 3), "---");
  EXPECT_EQ(All("abc", 0), "");
  EXPECT_EQ(All("", 2), "  ");
}

TEST(StringServices, Len) {
  EXPECT_EQ(Len("ab  "), 4);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len(String<7>("x").view()), 7);
}

// ---- INSTRING ----

struct InStringCase {
  const char* needle;
  const char* hay;
  int64_t step;
  int64_t start;
  int64_t expected;
};

class InStringTest : public ::testing::TestWithParam<InStringCase> {};

TEST_P(InStringTest, InString) {
  const InStringCase& c = GetParam();
  EXPECT_EQ(InString(c.needle, c.hay, c.step, c.start), c.expected);
}

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
const InStringCase kInStringCases[] = {
    {"DEF", "ABCDEFGHI", 1, 1, 4},
    {"A", "ABCABC", 1, 1, 1},
    {"A", "ABCABC", 1, 2, 4},
    {"A", "ABCABC", 1, 5, 0},
    {"X", "ABC", 1, 1, 0},
    {"", "ABC", 1, 1, 0},
    {"ABCD", "ABC", 1, 1, 0},
    {"C", "ABC", 1, 3, 3},
    {"C", "ABC", 1, 4, 0},
    {"A", "ABC", 1, 0, 1},
    {"A", "ABC", 1, kMin, 1},
    {"a", "ABC", 1, 1, 0},  // case-sensitive
    {"DEF", "ABCDEFGHI", 3, 1, 4},
    {"DEF", "ABCDEFGHI", 2, 1, 0},  // tries 1, 3, 5, 7 only
    {"EF", "ABCDEFGHI", 2, 1, 5},
    {"A", "ABCABC", -1, 6, 4},  // backwards
    {"A", "ABCABC", -1, 3, 1},
    {"BC", "ABCABC", -1, 6, 5},  // starts at the last place the needle fits
    {"BC", "ABCABC", -3, 9, 0},  // tries 9, 6, 3 → 6 and 3 do not hold "BC"
    {"BC", "ABCABC", -3, 8, 5},
    {"A", "ABC", -1, 0, 0},
    {"A", "ABC", 0, 1, 0},
    {"A", "ABC", kMax, 1, 1},
    {"B", "ABC", kMax, 1, 0},
    {"A", "ABC", kMin, 1, 1},
    {"A", "ABC", kMin, kMax, 0},
    {"C", "ABC", -2, kMax, 3},  // odd positions from an odd start reach 3
    {"C", "ABC", -2, kMax - 1, 0},
};
INSTANTIATE_TEST_SUITE_P(Table, InStringTest, ::testing::ValuesIn(kInStringCases));

// ---- numbers ----

struct ToNumberCase {
  const char* text;
  double expected;
};

class ToNumberTest : public ::testing::TestWithParam<ToNumberCase> {};

TEST_P(ToNumberTest, ToNumber) {
  EXPECT_DOUBLE_EQ(ToNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

const ToNumberCase kToNumberCases[] = {
    {"12", 12},  {"  12  ", 12}, {"-7", -7},     {"+7", 7},  {"3.25", 3.25},
    {".5", 0.5}, {"5.", 5},      {"-0.5", -0.5}, {"007", 7}, {"", 0},
    {"   ", 0},  {"abc", 0},     {"12abc", 0},   {"1 2", 0}, {"1.2.3", 0},
    {".", 0},    {"-", 0},       {"+-1", 0},     {"- 1", 0}, {"1e3", 0},
    {"0x10", 0}, {"\t1", 0},     {"1,000", 0},   {"-0", 0},  {"2147483648", 2147483648.0},
};
INSTANTIATE_TEST_SUITE_P(Table, ToNumberTest, ::testing::ValuesIn(kToNumberCases));

TEST(Numbers, ToNumberOfHugeAndTinyText) {
  EXPECT_EQ(ToNumber(std::string(400, '9')), std::numeric_limits<double>::max());
  EXPECT_EQ(ToNumber("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_FALSE(std::signbit(ToNumber("-0.0")));
}

TEST(Numbers, ToLong) {
  EXPECT_EQ(ToLong("42"), 42);
  EXPECT_EQ(ToLong("-3.9"), -3);
  EXPECT_EQ(ToLong("3.9"), 3);
  EXPECT_EQ(ToLong("x"), 0);
  EXPECT_EQ(ToLong("99999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ToLong("-99999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ToLong("-2147483648"), std::numeric_limits<int32_t>::min());
}

struct FormatCase {
  double value;
  size_t width;  // 0: no width
  const char* expected;
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, FormatNumber) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(c.width == 0 ? FormatNumber(c.value) : FormatNumber(c.value, c.width), c.expected);
}

const FormatCase kFormatCases[] = {
    {0, 0, "0"},
    {7, 0, "7"},
    {-12, 0, "-12"},
    {1.5, 0, "1.5"},
    {-0.25, 0, "-0.25"},
    {-0.0, 0, "0"},
    {2147483647, 0, "2147483647"},
    {-2147483648.0, 0, "-2147483648"},
    {1, 3, "  1"},
    {12, 3, " 12"},
    {123, 3, "123"},
    {1234, 3, "1234"},
    {-5, 4, "  -5"},
    {0, 2, " 0"},
    {1e20, 0, "100000000000000000000"},
};
INSTANTIATE_TEST_SUITE_P(Table, FormatTest, ::testing::ValuesIn(kFormatCases));

TEST(Numbers, FormatReadsBack) {
  for (double v : {0.1, 3.14159, -1234.5678, 1e-7, 123456789.125}) {
    EXPECT_EQ(ToNumber(FormatNumber(v)), v) << FormatNumber(v);
  }
}

TEST(Numbers, RunNamesAsTheCompilerBuildsThem) {
  EXPECT_EQ("S" + FormatNumber(1, 3), "S  1");
  EXPECT_EQ("S" + FormatNumber(12, 3), "S 12");
  EXPECT_EQ("S" + FormatNumber(123, 3), "S123");
}

}  // namespace
}  // namespace rt
