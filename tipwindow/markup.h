// The formats of a tip shared by every reader and writer: the tip text's line scanner, the
// compiled queues, the settings memo, the font string and the stored window width.
#pragma once

#include <cstdint>

#include "tipstore/declarations.h"
#include "tipwindow/font_string.h"
#include "tipwindow/line_scanner.h"
#include "tipwindow/queues.h"
#include "tipwindow/settings_memo.h"

namespace vistip {

inline constexpr int32_t kMinTipWidth = 169;
inline constexpr int32_t kMinTipHeight = 165;
// A stored width of this or more is not used (a converted record's blank bytes read 2020H).
inline constexpr int32_t kStoredWidthLimit = 500;

// Whether a stored width sets the window's width: not 0 and below 500 (negative ones too; the
// window then raises them to its minimum width).
constexpr bool StoredWidthUsed(int32_t width) {
  return width != 0 && width < kStoredWidthLimit;
}

}  // namespace vistip
