// Drawing one line of text with the layout that also measures it. Underline, strikeout and the
// mnemonic underline are drawn as whole-pixel rules, so they stay as crisp as the era's.
#include "runtime/text/draw.h"

#include <cmath>
#include <mutex>

#include "runtime/text/engine.h"

namespace rt::text {
namespace {

// A rule from x0 to x1 (Pango units from the line's start) with its top at row y.
void Rule(cairo_t* cr, double x, int64_t x0, int64_t x1, double y, int32_t thickness) {
  const double left = std::round(x + static_cast<double>(x0) / PANGO_SCALE);
  const double right = std::round(x + static_cast<double>(x1) / PANGO_SCALE);
  if (right <= left) return;
  cairo_rectangle(cr, left, y, right - left, thickness);
  cairo_fill(cr);
}

}  // namespace

void DrawLine(cairo_t* cr, const Font& font, std::string_view text, double x, double y,
              size_t mnemonic) {
  if (text.empty()) return;
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  FontEntry& e = engine.EntryFor(font);
  x = std::round(x);
  y = std::round(y);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, engine.LayoutWith(e, text));
  const double baseline = y + std::round(e.metrics.ascent_px);
  const int64_t width = e.Width(text);
  if (font.style & kFontUnderline)
    Rule(cr, x, 0, width, baseline + e.underline_below, e.line_thickness);
  if (font.style & kFontStrikeout) {
    Rule(cr, x, 0, width, baseline - e.strikeout_above, e.line_thickness);
  }
  if (mnemonic < text.size() && !(font.style & kFontUnderline)) {
    const int64_t from = e.Width(text.substr(0, mnemonic));
    const int64_t to = from + e.Advance(static_cast<unsigned char>(text[mnemonic]), from);
    Rule(cr, x, from, to, baseline + e.underline_below, e.line_thickness);
  }
}

}  // namespace rt::text
