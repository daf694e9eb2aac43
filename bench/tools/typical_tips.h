// The tools benchmarks' tips: typical ones (a few lines with a button, a rule, a link and a web
// address; fonts, a tool tip, a call and a link target in the settings), each text different.
#pragma once

#include <vector>

#include "tools/tip_text.h"

namespace vistip {

// `count` tips, 50 to a procedure; tip i links to tip i + 1 (the last to the first).
std::vector<TipText> TypicalTips(int count);

}  // namespace vistip
