// Where the painter puts the parts of composite controls, in dialog units, so that hit testing
// can find the same parts: a sheet's tab headers, a list's heading row and its rows.
#pragma once

#include <cstdint>
#include <vector>

namespace rt {

class Window;
struct Control;

namespace paint {

inline constexpr int32_t kTabStripDu = 12;   // height of a sheet's row of tab headers
inline constexpr int32_t kTabPaddingDu = 8;  // a tab header is its caption's width plus this
inline constexpr int32_t kListRowDu = 10;    // height of a list row (and of its heading row)

struct TabHeader {
  int32_t field = 0;  // the tab
  int32_t x = 0;      // dialog units in the window
  int32_t w = 0;
};

// The headers of a sheet's visible tabs, left to right in field order.
std::vector<TabHeader> TabHeaders(const Window& w, const Control& sheet);

// The tab a sheet shows: its selected tab, or without one its first visible tab (0: none).
int32_t ShownTab(const Window& w, const Control& sheet);

// Dialog units from a list's top to its first row: one row when its columns have headings.
int32_t ListRowsTopDu(const Control& list);

}  // namespace paint
}  // namespace rt
