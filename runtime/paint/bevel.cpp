// The 3-D edges of the classic look, drawn as one-pixel lines on whole pixels so they stay crisp.
#include "runtime/paint/bevel.h"

namespace rt::paint {
namespace {

// One pixel ring: top and left in `top_left`, bottom and right in `bottom_right`.
void Ring(const Canvas& cv, const Rect& r, int32_t top_left, int32_t bottom_right) {
  if (r.empty()) return;
  cv.Fill({r.x, r.y, r.w - 1, 1}, top_left);
  cv.Fill({r.x, r.y, 1, r.h - 1}, top_left);
  cv.Fill({r.x, r.bottom() - 1, r.w, 1}, bottom_right);
  cv.Fill({r.right() - 1, r.y, 1, r.h}, bottom_right);
}

}  // namespace

void RaisedEdge(const Canvas& cv, const Rect& r) {
  Ring(cv, r, kHighlight, kDarkShadow);
  Ring(cv, r.Inset(1), kLight, kShadow);
}

void SunkenEdge(const Canvas& cv, const Rect& r) {
  Ring(cv, r, kShadow, kHighlight);
  Ring(cv, r.Inset(1), kDarkShadow, kLight);
}

void ThinSunkenEdge(const Canvas& cv, const Rect& r) {
  Ring(cv, r, kShadow, kHighlight);
}

void ThinRaisedEdge(const Canvas& cv, const Rect& r) {
  Ring(cv, r, kHighlight, kShadow);
}

void EtchedFrame(const Canvas& cv, const Rect& r) {
  if (r.w < 2 || r.h < 2) return;
  cv.Frame({r.x + 1, r.y + 1, r.w - 1, r.h - 1}, kHighlight);
  cv.Frame({r.x, r.y, r.w - 1, r.h - 1}, kShadow);
}

void EtchedHLine(const Canvas& cv, int32_t x, int32_t y, int32_t w) {
  cv.Fill({x, y, w, 1}, kShadow);
  cv.Fill({x, y + 1, w, 1}, kHighlight);
}

void EtchedVLine(const Canvas& cv, int32_t x, int32_t y, int32_t h) {
  cv.Fill({x, y, 1, h}, kShadow);
  cv.Fill({x + 1, y, 1, h}, kHighlight);
}

void FocusRect(const Canvas& cv, const Rect& r) {
  if (r.empty()) return;
  cv.SetColor(kWindowText);
  for (int32_t x = r.x; x < r.right(); x += 2) {
    cairo_rectangle(cv.cr(), x, r.y, 1, 1);
    cairo_rectangle(cv.cr(), x, r.bottom() - 1, 1, 1);
  }
  for (int32_t y = r.y; y < r.bottom(); y += 2) {
    cairo_rectangle(cv.cr(), r.x, y, 1, 1);
    cairo_rectangle(cv.cr(), r.right() - 1, y, 1, 1);
  }
  cairo_fill(cv.cr());
}

}  // namespace rt::paint
