// The tools benchmarks' tips: typical ones (a few lines with a button, a rule, a link and a web
// address; fonts, a tool tip, a call and a link target in the settings), each text different.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {

// `count` tips, 50 to a procedure; tip i links to tip i + 1 (the last to the first).
std::vector<TipText> TypicalTips(int count);

// A tip file of `count` typical tips in a directory of its own, removed with it; a file that
// cannot be written skips the benchmark.
class TypicalTipFile {
 public:
  TypicalTipFile(benchmark::State& state, int count);
  ~TypicalTipFile();
  TypicalTipFile(const TypicalTipFile&) = delete;
  TypicalTipFile& operator=(const TypicalTipFile&) = delete;
  std::string path() const { return (dir_ / "tips.tps").string(); }

 private:
  std::filesystem::path dir_;
};

}  // namespace vistip
