// The tip compiler as a function: the tip text, broken into lines at a width as the edit tab's
// text control breaks it, scanned line by line into the controls to create and the tags left
// unclosed. The tip window, `vistip check`, `dump` and `render` all compile through it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window.h"
#include "tipstore/declarations.h"
#include "tipwindow/line_scanner.h"

namespace vistip {

// The lines of `text` as a text control `width` units wide lays them out.
using LineBreaker = std::function<std::vector<std::string>(std::string_view text, int32_t width)>;

// One control to create: its entry, its control number (from 1, in creation order) and the
// line (from 1) it was found on.
struct CompiledControl {
  MarkupEntry entry;
  int32_t number = 0;
  int32_t line = 0;
};

// A tag not closed in time ("Control not completed"): its line and that line's text.
struct UnclosedTag {
  int32_t line = 0;
  std::string text;
};

struct CompiledTip {
  std::vector<CompiledControl> controls;
  std::vector<UnclosedTag> unclosed;  // one per unclosed tag, by line
};

CompiledTip CompileTip(std::string_view text, int32_t width, const LineBreaker& breaker);

// The edit tab's text control of a window made by TipWindowDesc(edited) as a line breaker: the
// text goes into `edited`, to which the control is bound, the width onto the control.
LineBreaker EditControlBreaker(rt::Window& window, TipBuffer& edited);

// The width of the edit tab's text control in a new tip window once the tip with this OTHER
// memo has set the window's width.
int32_t TipTextWidth(const rt::String<1000>& other);

}  // namespace vistip
