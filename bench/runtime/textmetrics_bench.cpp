// Speed of text measurement and wrapping: a string's width (target under 50 us for 100
// characters) and the wrapping of a 10000-character tip text at 160 dialog units (under 2 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/textmetrics.h"

namespace {

std::string Prose(size_t length, size_t paragraph) {
  const char* words[] = {"Help",   "tips",     "explain", "each",  "control", "of",      "the",
                         "window", "briefly,", "with",    "links", "to",      "further", "topics."};
  std::string s;
  size_t since_break = 0;
  for (int i = 0; s.size() < length; ++i) {
    if (paragraph != 0 && since_break >= paragraph) {
      s += "\r\n";
      since_break = 0;
    } else if (!s.empty()) {
      s += ' ';
    }
    const std::string w = words[(i * 7) % 14];
    s += w;
    since_break += w.size() + 1;
  }
  s.resize(length);
  return s;
}

// Each iteration changes one character, so no cached answer is reused.
void Vary(std::string& s, int64_t i) {
  s[s.size() / 2] = static_cast<char>('a' + i % 26);
}

void BM_Width100(benchmark::State& state) {
  const rt::Font font;
  std::string s = Prose(100, 0);
  int64_t i = 0;
  for (auto _ : state) {
    Vary(s, i++);
    benchmark::DoNotOptimize(rt::TextWidthPx(font, s));
  }
}
BENCHMARK(BM_Width100)->Unit(benchmark::kMicrosecond);

// state.range(0): characters per paragraph, 0 for one paragraph of 10000 characters.
void BM_Wrap10000At160Du(benchmark::State& state) {
  const rt::Font font;
  const double width = 160 * rt::MeasureFont(font).avg_char_width_px / 4;
  std::string s = Prose(10000, static_cast<size_t>(state.range(0)));
  int64_t i = 0;
  for (auto _ : state) {
    Vary(s, i++);
    benchmark::DoNotOptimize(rt::WrapLines(font, s, width));
  }
}
BENCHMARK(BM_Wrap10000At160Du)->Arg(0)->Arg(400)->Unit(benchmark::kMillisecond);

// The model reads a text control's lines one by one: same text, font and width each time.
void BM_Wrap10000Repeated(benchmark::State& state) {
  const rt::Font font;
  const double width = 160 * rt::MeasureFont(font).avg_char_width_px / 4;
  const std::string s = Prose(10000, 400);
  for (auto _ : state) benchmark::DoNotOptimize(rt::WrapLines(font, s, width));
}
BENCHMARK(BM_Wrap10000Repeated)->Unit(benchmark::kMicrosecond);

}  // namespace
