// The painter's drawing surface: unit conversion, rectangles, colours, clipping and text.
#include "runtime/paint/canvas.h"

#include <algorithm>
#include <cmath>

#include "runtime/text/draw.h"
#include "runtime/textmetrics.h"

namespace rt::paint {

Canvas::Canvas(cairo_t* cr, const Window& w)
    : cr_(cr), w_(w), sx_(w.PxPerDuX()), sy_(w.PxPerDuY()) {}

int32_t Canvas::Px(int32_t at96) const {
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(at96 * DisplayDpi() / 96.0)));
}

Rect Canvas::ToPx(double x, double y, double w, double h) const {
  const auto px = [](double v) {
    return static_cast<int32_t>(std::lround(std::clamp(v, -1.0e6, 1.0e6)));
  };
  const int32_t x0 = px(x * sx_), y0 = px(y * sy_);
  return {x0, y0, px((x + w) * sx_) - x0, px((y + h) * sy_) - y0};
}

Rect Canvas::RectOf(const Control& c) const {
  return ToPx(c.x, c.y, w_.AutoWidth(c), w_.AutoHeight(c));
}

void Canvas::SetColor(int32_t color) const {
  cairo_set_source_rgb(cr_, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                       ((color >> 16) & 0xFF) / 255.0);
}

void Canvas::Fill(const Rect& r, int32_t color) const {
  if (r.empty()) return;
  SetColor(color);
  cairo_rectangle(cr_, r.x, r.y, r.w, r.h);
  cairo_fill(cr_);
}

void Canvas::Frame(const Rect& r, int32_t color) const {
  if (r.empty()) return;
  Fill({r.x, r.y, r.w, 1}, color);
  Fill({r.x, r.bottom() - 1, r.w, 1}, color);
  Fill({r.x, r.y, 1, r.h}, color);
  Fill({r.right() - 1, r.y, 1, r.h}, color);
}

void Canvas::PushClip(const Rect& r) const {
  cairo_save(cr_);
  cairo_rectangle(cr_, r.x, r.y, std::max(0, r.w), std::max(0, r.h));
  cairo_clip(cr_);
}

void Canvas::PopClip() const {
  cairo_restore(cr_);
}

void Canvas::Text(const Control& c, std::string_view text, double x, double y, int32_t color,
                  bool mnemonic) const {
  Text(w_.EffectiveFont(c), text, x, y, color, mnemonic, c.disabled);
}

void Canvas::Text(const Font& font, std::string_view text, double x, double y, int32_t color,
                  bool mnemonic, bool disabled) const {
  text::Mnemonic m;
  if (mnemonic) {
    m = text::StripMnemonic(text);
  } else {
    m.shown = std::string(text);
  }
  if (disabled) {  // the era's embossed look: a white copy under a grey one
    SetColor(kHighlight);
    text::DrawLine(cr_, font, m.shown, x + 1, y + 1, m.underline);
    color = kGrayText;
  }
  SetColor(color);
  text::DrawLine(cr_, font, m.shown, x, y, m.underline);
}

double Canvas::TextWidth(const Control& c, std::string_view text) const {
  return TextWidthPx(w_.EffectiveFont(c), text);
}

double Canvas::LineHeight(const Control& c) const {
  return MeasureFont(w_.EffectiveFont(c)).height_px;
}

int32_t Canvas::TextColor(const Control& c) const {
  const int32_t color = w_.EffectiveFont(c).color;
  return color == kColorNone ? kWindowText : color;
}

bool Canvas::Flag(const Control& c, int32_t prop) const {
  return w_.GetPropInt(c.field, prop) != 0;
}

int32_t Canvas::BackgroundOf(const Control& c) const {
  const Control* p = w_.Find(c.parent);
  for (int depth = 0; p != nullptr && depth < 16; ++depth) {
    if (p->color != kColorNone) return p->color;
    p = p->parent != p->field ? w_.Find(p->parent) : nullptr;
  }
  return w_.color() != kColorNone ? w_.color() : kFace;
}

}  // namespace rt::paint
