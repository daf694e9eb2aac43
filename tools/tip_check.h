// Checking a whole tip file the way the tip window compiles each tip (same compiler, wrapping
// at the tip's own width): tags left unclosed, tip links whose target tip does not exist,
// settings rows whose control is gone, and button calls of a kind other than EXE, MSG or HLP.
// Call from a runtime thread with the headless backend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {

struct CheckProblem {
  std::string tip;   // "procedure / control / type"
  int32_t line = 0;  // the tip-text line as the tip window counts it; 0 when about no line
  std::string message;
};

struct CheckResult {
  bool ok = false;    // the file could be read
  std::string error;  // why not
  size_t tips = 0;
  std::vector<CheckProblem> problems;  // by tip in record order
};

// Checks the tips of `tip_file` that the caller has already read from it (in record order).
CheckResult CheckTips(const std::string& tip_file, const std::vector<TipText>& tips);
// Reads every tip of `tip_file`, then checks them.
CheckResult CheckTipFile(const std::string& tip_file);

}  // namespace vistip
