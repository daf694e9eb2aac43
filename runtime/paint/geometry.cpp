// Positions of a sheet's tab headers and of a list's rows, shared by painting and hit testing.
#include "runtime/paint/geometry.h"

#include "runtime/paint/list_format.h"
#include "runtime/window.h"

namespace rt::paint {

std::vector<TabHeader> TabHeaders(const Window& w, const Control& sheet) {
  std::vector<TabHeader> headers;
  int32_t x = sheet.x;
  for (const auto& t : w.controls()) {
    if (t->type != kCreateTab || t->parent != sheet.field || t->hidden) continue;
    const int32_t width = w.AutoWidth(*t) + kTabPaddingDu;
    headers.push_back({t->field, x, width});
    x += width;
  }
  return headers;
}

int32_t ShownTab(const Window& w, const Control& sheet) {
  const std::vector<TabHeader> headers = TabHeaders(w, sheet);
  for (const TabHeader& h : headers) {
    if (h.field == sheet.selected_tab) return h.field;
  }
  return headers.empty() || sheet.selected_tab != 0 ? 0 : headers.front().field;
}

int32_t ListRowsTopDu(const Control& list) {
  for (const ListColumn& col : ParseListFormat(list.format)) {
    if (!col.heading.empty()) return kListRowDu;
  }
  return 0;
}

}  // namespace rt::paint
