// Sheets: a raised page under a row of tab headers, the shown tab's header raised above the others
// and joined to the page. The page takes the sheet's colour, or the shown tab's, or the face grey.
// A sheet whose tabs are all hidden shows only its page.
#include <algorithm>
#include <cmath>

#include "runtime/paint/bevel.h"
#include "runtime/paint/controls.h"
#include "runtime/paint/geometry.h"
#include "runtime/text/mnemonic.h"

namespace rt::paint {
namespace {

// A tab header: lit top and left with a cut corner, shadowed right, open at the bottom.
void Header(const Canvas& cv, const Control& tab, const Rect& h, int32_t face) {
  cv.Fill({h.x + 1, h.y + 1, h.w - 2, h.h - 1}, face);
  cv.Fill({h.x, h.y + 2, 1, h.h - 2}, kHighlight);
  cv.Fill({h.x + 1, h.y + 1, 1, 1}, kHighlight);
  cv.Fill({h.x + 2, h.y, h.w - 4, 1}, kHighlight);
  cv.Fill({h.right() - 2, h.y + 1, 1, h.h - 1}, kShadow);
  cv.Fill({h.right() - 1, h.y + 2, 1, h.h - 2}, kDarkShadow);
  const std::string shown = text::StripMnemonic(tab.text).shown;
  const double x = h.x + (h.w - cv.TextWidth(tab, shown)) / 2;
  const double y = h.y + (h.h - cv.LineHeight(tab)) / 2;
  cv.PushClip(h.Inset(1));
  cv.Text(tab, tab.text, std::floor(x), std::floor(y), cv.TextColor(tab), true);
  cv.PopClip();
}

}  // namespace

void PaintSheet(const Canvas& cv, const Control& c) {
  const Window& w = cv.window();
  const Rect r = cv.RectOf(c);
  const std::vector<TabHeader> headers = TabHeaders(w, c);
  const int32_t shown = ShownTab(w, c);
  const Control* shown_tab = shown ? w.Find(shown) : nullptr;
  int32_t page_color = kFace;
  if (c.color != kColorNone) {
    page_color = c.color;
  } else if (shown_tab && shown_tab->color != kColorNone) {
    page_color = shown_tab->color;
  }
  const int32_t strip = headers.empty() ? 0 : cv.ToPx(0, c.y, 0, kTabStripDu).h;
  const Rect page{r.x, r.y + strip, r.w, r.h - strip};
  cv.Fill(page, page_color);
  RaisedEdge(cv, page);
  const int32_t lift = cv.Px(2);
  for (const TabHeader& h : headers) {
    if (h.field == shown) continue;
    const Rect hr = cv.ToPx(h.x, c.y, h.w, kTabStripDu);
    Header(cv, *w.Find(h.field), {hr.x, hr.y + lift, hr.w, strip - lift}, kFace);
  }
  for (const TabHeader& h : headers) {
    if (h.field != shown) continue;
    const Rect hr = cv.ToPx(h.x, c.y, h.w, kTabStripDu);
    const Rect raised{hr.x - lift, r.y, hr.w + 2 * lift, strip + 1};
    Header(cv, *shown_tab, raised, page_color);
    cv.Fill({raised.x + 1, page.y, raised.w - 3, 2}, page_color);  // open into the page
  }
}

}  // namespace rt::paint
