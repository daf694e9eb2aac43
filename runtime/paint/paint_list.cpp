// Lists: a sunken white well with a heading row when the columns have headings, then the rows
// of the list's source from its scroll position, the selected row in navy.
#include <algorithm>
#include <cmath>

#include "runtime/paint/bevel.h"
#include "runtime/paint/controls.h"
#include "runtime/paint/geometry.h"
#include "runtime/paint/list_format.h"

namespace rt::paint {
namespace {

constexpr size_t kMaxColumns = 64;

// Cell text aligned in its column, two pixels in from either side.
void Cell(const Canvas& cv, const Control& c, const ListColumn& col, const Rect& cell,
          std::string_view text, int32_t color) {
  const double w = cv.TextWidth(c, text), pad = cv.Px(2);
  double x = cell.x + pad;
  if (col.align == 'R' || col.align == 'D') x = cell.right() - pad - w;
  if (col.align == 'C') x = cell.x + (cell.w - w) / 2;
  const double y = cell.y + std::floor((cell.h - cv.LineHeight(c)) / 2);
  cv.PushClip(cell);
  cv.Text(c, text, std::floor(x), y, color, false);
  cv.PopClip();
}

}  // namespace

void PaintList(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  cv.Fill(r, c.color != kColorNone ? c.color : kFieldBack);
  SunkenEdge(cv, r);
  const Rect inner = r.Inset(2);
  std::vector<ListColumn> cols = ParseListFormat(c.format);
  if (cols.size() > kMaxColumns) cols.resize(kMaxColumns);
  if (cols.empty()) cols.push_back({cv.window().AutoWidth(c), 'L', false, {}, {}});
  // Column edges in pixels, from inside the edge; the last column runs to the list's right edge.
  std::vector<Rect> spans;
  int32_t du = c.x;
  for (size_t i = 0; i < cols.size(); ++i) {
    Rect span = cv.ToPx(du, c.y, cols[i].width, 0);
    span.x += inner.x - r.x;
    if (i + 1 == cols.size()) span.w = std::max(span.w, inner.right() - span.x);
    spans.push_back(span);
    du += cols[i].width;
  }
  cv.PushClip(inner);
  const int32_t heading_du = ListRowsTopDu(c);
  if (heading_du > 0) {
    const Rect row = cv.ToPx(c.x, c.y, 0, kListRowDu);
    for (size_t i = 0; i < cols.size(); ++i) {
      const Rect cell{spans[i].x, row.y + 2, spans[i].w, row.h};
      cv.Fill(cell, kFace);
      ThinRaisedEdge(cv, cell);
      Cell(cv, c, cols[i], cell, cols[i].heading, cv.TextColor(c));
    }
  }
  const size_t rows = c.from ? c.from->Rows() : 0;
  const size_t first = static_cast<size_t>(std::max(0, c.scroll_line));
  for (size_t row = first + 1; row <= rows; ++row) {
    const Rect line =
        cv.ToPx(c.x, c.y + heading_du + (row - 1 - first) * kListRowDu, 0, kListRowDu);
    const Rect band{inner.x, line.y + 2, inner.w, line.h};
    if (band.y >= inner.bottom()) break;
    const bool selected = static_cast<size_t>(std::max(0, c.selected_row)) == row;
    if (selected) cv.Fill(band, kSelectBack);
    for (size_t i = 0; i < cols.size(); ++i) {
      const Rect cell{spans[i].x, band.y, spans[i].w, band.h};
      Cell(cv, c, cols[i], cell, c.from->Cell(row, i + 1),
           selected ? kSelectText : cv.TextColor(c));
      if (cols[i].right_border) cv.Fill({cell.right() - 1, band.y, 1, band.h}, kLight);
    }
  }
  cv.PopClip();
}

}  // namespace rt::paint
