// Controls that only show something: boxes, lines, strings and prompts, images, panels and
// progress bars.
#include <algorithm>
#include <cmath>

#include "runtime/paint/bevel.h"
#include "runtime/paint/controls.h"

namespace rt::paint {

// A box is filled with its fill colour (unless transparent) and framed in its colour; with
// neither it is a black frame.
void PaintBox(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const bool filled = c.fill != kColorNone && !cv.Flag(c, kPropTransparent);
  if (filled) cv.Fill(r, c.fill);
  if (c.color != kColorNone) {
    cv.Frame(r, c.color);
  } else if (c.fill == kColorNone) {
    cv.Frame(r, kWindowText);
  }
}

// From (x, y) to (x + w, y + h). Without a colour of its own a straight line is etched.
void PaintLine(const Canvas& cv, const Control& c) {
  const int32_t w = c.w == kDefault ? 0 : c.w, h = c.h == kDefault ? 0 : c.h;
  const Rect r = cv.ToPx(std::min(c.x, c.x + w), std::min(c.y, c.y + h), std::abs(w), std::abs(h));
  if (h == 0 || w == 0) {
    const bool across = h == 0;
    if (c.color != kColorNone) {
      cv.Fill({r.x, r.y, across ? r.w : 1, across ? 1 : r.h}, c.color);
    } else if (across) {
      EtchedHLine(cv, r.x, r.y, r.w);
    } else {
      EtchedVLine(cv, r.x, r.y, r.h);
    }
    return;
  }
  const Rect from = cv.ToPx(c.x, c.y, w, h);
  cv.SetColor(c.color != kColorNone ? c.color : kShadow);
  cairo_set_line_width(cv.cr(), 1);
  cairo_move_to(cv.cr(), from.x + 0.5, from.y + 0.5);
  cairo_line_to(cv.cr(), from.right() + 0.5, from.bottom() + 0.5);
  cairo_stroke(cv.cr());
}

// Text in the control's font and colour from its top-left corner, on its own background colour
// unless transparent.
void PaintLabel(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  if (c.color != kColorNone && !cv.Flag(c, kPropTransparent)) cv.Fill(r, c.color);
  cv.PushClip({r.x, r.y, r.w + 1, r.h + 1});
  cv.Text(c, cv.window().DisplayText(c), r.x, r.y, cv.TextColor(c), true);
  cv.PopClip();
}

// A standard icon, or a PNG file named by the control's text (or icon) scaled to the control;
// nothing when the file cannot be read.
void PaintImage(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const std::string name = c.text.empty() ? c.icon : cv.window().DisplayText(c);
  if (r.empty() || name.empty() || PaintStandardIcon(cv, r, name)) return;
  cairo_surface_t* image = cairo_image_surface_create_from_png(name.c_str());
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
    if (iw > 0 && ih > 0) {
      cairo_save(cv.cr());
      cairo_translate(cv.cr(), r.x, r.y);
      cairo_scale(cv.cr(), static_cast<double>(r.w) / iw, static_cast<double>(r.h) / ih);
      cairo_set_source_surface(cv.cr(), image, 0, 0);
      cairo_paint(cv.cr());
      cairo_restore(cv.cr());
    }
  }
  cairo_surface_destroy(image);
}

// A sunken rectangle; one at most 2 units high (or wide) is a rule. Flat panels use a plain
// shadow line instead of the 3-D edge.
void PaintPanel(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const bool flat = cv.Flag(c, kPropFlat);
  const int32_t h = cv.window().AutoHeight(c), w = cv.window().AutoWidth(c);
  if (h <= 2 || w <= 2) {
    const bool across = h <= 2;
    const int32_t x = across ? r.x : r.x + std::max(0, r.w / 2 - 1);
    const int32_t y = across ? r.y + std::max(0, r.h / 2 - 1) : r.y;
    if (flat) {
      cv.Fill({x, y, across ? r.w : 1, across ? 1 : r.h}, kShadow);
    } else if (across) {
      EtchedHLine(cv, x, y, r.w);
    } else {
      EtchedVLine(cv, x, y, r.h);
    }
    return;
  }
  if (c.color != kColorNone && !cv.Flag(c, kPropTransparent)) cv.Fill(r, c.color);
  if (flat) {
    cv.Frame(r, kShadow);
  } else {
    ThinSunkenEdge(cv, r);
  }
}

// Navy blocks over a sunken trough, as far as progress / range_high.
void PaintProgress(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  cv.Fill(r, c.color != kColorNone ? c.color : kFace);
  ThinSunkenEdge(cv, r);
  const Rect inner = r.Inset(cv.Px(2));
  if (inner.empty() || c.range_high <= 0) return;
  const double part = std::clamp(static_cast<double>(c.progress) / c.range_high, 0.0, 1.0);
  const int32_t filled = static_cast<int32_t>(std::lround(inner.w * part));
  const int32_t block = std::max(cv.Px(3), inner.h * 2 / 3), gap = cv.Px(2);
  const int32_t color = c.fill != kColorNone ? c.fill : kSelectBack;
  for (int32_t x = 0; x < filled; x += block + gap) {
    cv.Fill({inner.x + x, inner.y, std::min(block, filled - x), inner.h}, color);
  }
}

}  // namespace rt::paint
