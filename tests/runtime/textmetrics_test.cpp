// Tests of text measurement, line wrapping, font mapping and the Windows-1252 conversions.
#include "runtime/textmetrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "runtime/strings.h"
#include "runtime/text/mnemonic.h"

namespace rt {
namespace {

Font MakeFont(std::string face, int32_t size, int32_t style = 400) {
  Font f;
  f.typeface = std::move(face);
  f.size = size;
  f.style = style;
  return f;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l;
  return s;
}

// A paragraph of varied words, long enough to wrap many times.
std::string LongParagraph() {
  const char* words[] = {"Help",   "tips",     "explain", "each",  "control", "of",      "the",
                         "window", "briefly,", "with",    "links", "to",      "further", "topics."};
  std::string s;
  for (int i = 0; s.size() < 1200; ++i) {
    if (!s.empty()) s += ' ';
    s += words[i % 14];
  }
  return s;
}

// Dialog units of the default window font: x = average character width / 4.
double DuX() {
  return MeasureFont(Font{}).avg_char_width_px / 4;
}

// ---- Windows-1252 ----

TEST(Cp1252, AllBytesRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

struct CodePointCase {
  unsigned char byte;
  const char* utf8;
};

class Cp1252Byte : public ::testing::TestWithParam<CodePointCase> {};

TEST_P(Cp1252Byte, MapsToItsCodePoint) {
  const std::string byte(1, static_cast<char>(GetParam().byte));
  EXPECT_EQ(Cp1252ToUtf8(byte), GetParam().utf8);
  EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), byte);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1252Byte,
                         ::testing::ValuesIn(std::vector<CodePointCase>{
                             {0x41, "A"},
                             {0x80, "\u20AC"},    // euro sign
                             {0x81, "\xC2\x81"},  // undefined: the C1 control
                             {0x85, "\u2026"},    // ellipsis
                             {0x8D, "\xC2\x8D"},
                             {0x92, "\u2019"},  // right single quote
                             {0x95, "\u2022"},  // bullet
                             {0x9F, "\u0178"},  // Y with diaeresis
                             {0xA0, "\u00A0"},
                             {0xA7, "\u00A7"},  // section sign
                             {0xE9, "\u00E9"},
                             {0xFF, "\u00FF"},
                         }));

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");       // outside Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");         // U+0080 has no byte (80H is the euro)
  EXPECT_EQ(Utf8ToCp1252("x\xFFy"), "x?y");         // not UTF-8
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");        // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");   // surrogate
  EXPECT_EQ(Utf8ToCp1252("end\xE2\x82"), "end??");  // truncated at the end
  EXPECT_EQ(Utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// ---- Measuring ----

TEST(TextWidth, GrowsWithFontSize) {
  double previous = 0;
  for (int32_t size : {6, 8, 10, 14, 24}) {
    const double w = TextWidthPx(MakeFont("MS Sans Serif", size), "Click here to go on");
    EXPECT_GT(w, previous) << "size " << size;
    previous = w;
  }
}

TEST(TextWidth, GrowsWithTextAndIsZeroForNothing) {
  const Font f;
  EXPECT_EQ(TextWidthPx(f, ""), 0);
  EXPECT_GT(TextWidthPx(f, "ab"), TextWidthPx(f, "a"));
  EXPECT_GT(TextWidthPx(f, "Procedure Name:"), 50);
}

TEST(TextWidth, BoldIsWiderAndSizeZeroIsEightPoints) {
  EXPECT_GT(TextWidthPx(MakeFont("Arial", 10, 700), "Weight"),
            TextWidthPx(MakeFont("Arial", 10, 400), "Weight"));
  EXPECT_EQ(TextWidthPx(MakeFont("", 0), "Default size"),
            TextWidthPx(MakeFont("", 8), "Default size"));
  EXPECT_EQ(TextWidthPx(MakeFont("", 8, 0), "w"), TextWidthPx(MakeFont("", 8, 400), "w"));
}

TEST(TextWidth, UnderlineAndStrikeoutDoNotChangeWidth) {
  const std::string t = "http://example.com/";
  const double plain = TextWidthPx(MakeFont("", 8), t);
  EXPECT_EQ(TextWidthPx(MakeFont("", 8, 400 | kFontUnderline), t), plain);
  EXPECT_EQ(TextWidthPx(MakeFont("", 8, 400 | kFontStrikeout), t), plain);
}

TEST(TextWidth, TabsStopEveryEightBlanks) {
  const Font f;
  const double blank = TextWidthPx(f, " ");
  EXPECT_EQ(TextWidthPx(f, "\t"), 8 * blank);
  EXPECT_EQ(TextWidthPx(f, "a\tb"), 8 * blank + TextWidthPx(f, "b"));
  EXPECT_EQ(TextWidthPx(f, "\t\t"), 16 * blank);
  // Text reaching a stop goes on to the next one.
  const std::string eight(8, ' ');
  EXPECT_EQ(TextWidthPx(f, eight + "\t"), 16 * blank);
}

TEST(FontMapping, DefaultFacesShareTheSansFamily) {
  const std::string t = "The quick brown fox";
  const double sans = TextWidthPx(MakeFont("MS Sans Serif", 8), t);
  EXPECT_EQ(TextWidthPx(MakeFont("", 8), t), sans);
  EXPECT_EQ(TextWidthPx(MakeFont("  ms sans serif  ", 8), t), sans);
  EXPECT_EQ(TextWidthPx(MakeFont("No Such Face 123", 8), t), sans);
  // Arial is the metric-compatible Liberation Sans; a monospaced face measures otherwise.
  EXPECT_EQ(TextWidthPx(MakeFont("Arial", 8), t), TextWidthPx(MakeFont("Liberation Sans", 8), t));
  EXPECT_NE(TextWidthPx(MakeFont("Courier New", 8), "iiiiiiii"),
            TextWidthPx(MakeFont("Arial", 8), "iiiiiiii"));
}

TEST(FontMapping, WingdingsBulletIsTheSmallSquare) {
  const Font wingdings = MakeFont("Wingdings", 0);
  const std::string bullet(1, '\xA7');
  EXPECT_GT(TextWidthPx(wingdings, bullet), 0);
  // U+25AA is drawn in place of the section sign, so the widths differ.
  EXPECT_NE(TextWidthPx(wingdings, bullet), TextWidthPx(MakeFont("", 0), bullet));
}

TEST(FontMetrics, SensibleForTheWindowFont) {
  const FontMetrics m = MeasureFont(Font{});
  EXPECT_GT(m.avg_char_width_px, 3);
  EXPECT_LT(m.avg_char_width_px, 10);
  EXPECT_GT(m.height_px, 8);
  EXPECT_LT(m.height_px, 20);
  EXPECT_GT(m.ascent_px, m.height_px / 2);
  EXPECT_LT(m.ascent_px, m.height_px);
}

TEST(FontMetrics, AbsurdSizesAreClamped) {
  const FontMetrics huge = MeasureFont(MakeFont("", 1000000));
  EXPECT_TRUE(std::isfinite(huge.height_px));
  EXPECT_EQ(huge.height_px, MeasureFont(MakeFont("", 288)).height_px);
  EXPECT_EQ(MeasureFont(MakeFont("", -5)).height_px, MeasureFont(MakeFont("", 8)).height_px);
  EXPECT_GT(MeasureFont(MakeFont("", 1, 0x7FFFFFFF)).height_px, 0);
}

TEST(Dpi, FontsScaleWithTheResolution) {
  const double at96 = MeasureFont(Font{}).height_px;
  SetDisplayDpi(192);
  EXPECT_EQ(DisplayDpi(), 192);
  const double at192 = MeasureFont(Font{}).height_px;
  SetDisplayDpi(96);
  EXPECT_NEAR(at192, 2 * at96, 2.0);
  EXPECT_EQ(MeasureFont(Font{}).height_px, at96);
  SetDisplayDpi(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(DisplayDpi(), 96);
}

// ---- Wrapping ----

TEST(WrapLines, WidthDecidesTheLineCountAndLinesJoinToTheParagraph) {
  const std::string p = LongParagraph();
  const auto narrow = WrapLines(Font{}, p, 160 * DuX());
  const auto wide = WrapLines(Font{}, p, 290 * DuX());
  EXPECT_GT(narrow.size(), wide.size());
  EXPECT_GT(wide.size(), 1u);
  EXPECT_EQ(Join(narrow), p);
  EXPECT_EQ(Join(wide), p);
  for (const std::string& line : narrow) {
    EXPECT_LE(TextWidthPx(Font{}, Clip(line)), 160 * DuX() + 0.5) << line;
  }
}

// Line by line, at two widths in turn (so each read may find the other width's lines cached):
// the same lines as the whole list, and nothing past the last.
TEST(WrapLines, OneLineAtATimeGivesTheSameLines) {
  const std::string p = LongParagraph() + "\r\n\r\n" + LongParagraph();
  const auto narrow = WrapLines(Font{}, p, 160 * DuX());
  const auto wide = WrapLines(Font{}, p, 290 * DuX());
  ASSERT_EQ(WrappedLineCount(Font{}, p, 160 * DuX()), narrow.size());
  ASSERT_EQ(WrappedLineCount(Font{}, p, 290 * DuX()), wide.size());
  for (size_t i = 0; i < narrow.size(); ++i) {
    EXPECT_EQ(WrappedLine(Font{}, p, 160 * DuX(), i), narrow[i]) << i;
    if (i < wide.size()) {
      EXPECT_EQ(WrappedLine(Font{}, p, 290 * DuX(), i), wide[i]) << i;
    }
  }
  EXPECT_EQ(WrappedLine(Font{}, p, 160 * DuX(), narrow.size()), "");
}

// Lines are filled greedily: each fits, and the next word would not have fitted after it.
TEST(WrapLines, EachLineFitsAndTheNextWordWouldNot) {
  const std::string p = LongParagraph();
  for (double width : {60.0, 97.0, 160 * DuX(), 233.0, 290 * DuX()}) {
    const auto lines = WrapLines(Font{}, p, width);
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(TextWidthPx(Font{}, Clip(lines[i])), width) << lines[i];
      if (i + 1 == lines.size()) break;
      const std::string& next = lines[i + 1];
      const std::string with_next = lines[i] + next.substr(0, next.find(' '));
      EXPECT_GT(TextWidthPx(Font{}, with_next), width) << with_next;
    }
  }
}

TEST(WrapLines, BreaksAtWordsKeepingTheBlankOnTheLine) {
  const auto lines =
      WrapLines(Font{}, "alpha beta gamma delta", TextWidthPx(Font{}, "alpha beta "));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "alpha beta ");
}

TEST(WrapLines, WordWiderThanTheLineBreaksBetweenCharacters) {
  const std::string word(60, 'm');
  const auto lines = WrapLines(Font{}, word, TextWidthPx(Font{}, "mmmmmmmmmm"));
  EXPECT_GE(lines.size(), 6u);
  EXPECT_EQ(Join(lines), word);
}

struct ParagraphCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class WrapParagraphs : public ::testing::TestWithParam<ParagraphCase> {};

TEST_P(WrapParagraphs, SplitAtLineBreaks) {
  EXPECT_EQ(WrapLines(Font{}, GetParam().text, 1000), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, WrapParagraphs,
                         ::testing::ValuesIn(std::vector<ParagraphCase>{
                             {"Empty", "", {""}},
                             {"One", "one", {"one"}},
                             {"CrLf", "one\r\ntwo", {"one", "two"}},
                             {"Lf", "one\ntwo", {"one", "two"}},
                             {"Cr", "one\rtwo", {"one", "two"}},
                             {"EmptyParagraph", "one\r\n\r\ntwo", {"one", "", "two"}},
                             {"TrailingBreak", "one\r\n", {"one", ""}},
                             {"Mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                             {"HighBytes",
                              "caf\xE9 \x80 \x85\r\n\x93quoted\x94",
                              {"caf\xE9 \x80 \x85", "\x93quoted\x94"}},
                             {"Nul", std::string("a\0b", 3), {std::string("a\0b", 3)}},
                         }),
                         [](const ::testing::TestParamInfo<ParagraphCase>& p) {
                           return std::string(p.param.name);
                         });

TEST(WrapLines, LongTextWithParagraphsKeepsEveryCharacter) {
  const std::string p = LongParagraph();
  const std::string text = p + "\r\n\r\n" + p + "\r\n" + p;
  const auto lines = WrapLines(Font{}, text, 160 * DuX());
  size_t blank = 0;
  std::string joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) ++blank;
    joined += lines[i];
  }
  EXPECT_EQ(blank, 1u);
  EXPECT_EQ(joined, p + p + p);
}

TEST(WrapLines, NoWidthMeansNoWrapping) {
  const std::string p = LongParagraph();
  for (double w : {0.0, -10.0, std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(WrapLines(Font{}, p + "\nx", w), (std::vector<std::string>{p, "x"})) << w;
  }
}

TEST(WrapLines, AnyBytesGiveSlicesOfTheInput) {
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
  const auto lines = WrapLines(Font{}, junk, 100);
  size_t pos = 0;
  for (const std::string& line : lines) {
    pos = junk.find(line, pos);
    ASSERT_NE(pos, std::string::npos);
    pos += line.size();
  }
}

TEST(WrapLines, SameAnswerFromOtherThreads) {
  const std::string p = LongParagraph();
  const auto expected = WrapLines(Font{}, p, 200);
  std::vector<std::vector<std::string>> got(4);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < got.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i) got[t] = WrapLines(Font{}, p, 200 + (i % 2));
      got[t] = WrapLines(Font{}, p, 200);
    });
  }
  for (std::thread& th : threads) th.join();
  for (const auto& g : got) EXPECT_EQ(g, expected);
}

// ---- Mnemonics ----

struct MnemonicCase {
  const char* text;
  const char* shown;
  size_t underline;
};

class Mnemonics : public ::testing::TestWithParam<MnemonicCase> {};

TEST_P(Mnemonics, Strip) {
  const text::Mnemonic m = text::StripMnemonic(GetParam().text);
  EXPECT_EQ(m.shown, GetParam().shown);
  EXPECT_EQ(m.underline, GetParam().underline);
}

INSTANTIATE_TEST_SUITE_P(Table, Mnemonics,
                         ::testing::ValuesIn(std::vector<MnemonicCase>{
                             {"&Ok", "Ok", 0},
                             {"Control &Type:", "Control Type:", 8},
                             {"Tom && Jerry", "Tom & Jerry", text::kNoMnemonic},
                             {"&a&b", "ab", 0},
                             {"trailing&", "trailing", text::kNoMnemonic},
                             {"", "", text::kNoMnemonic},
                         }));

}  // namespace
}  // namespace rt
