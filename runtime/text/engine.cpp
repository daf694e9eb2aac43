// The cached Pango state of the text module: one font map for the process, one context and
// layout per font, rebuilt only when the display resolution changes.
#include "runtime/text/engine.h"

#include <algorithm>
#include <cmath>

namespace rt::text {
namespace {

constexpr std::string_view kAverageSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr double kMinDpi = 24, kMaxDpi = 960;
// Bounds on the caches, which odd input (many faces, sizes, weights) could otherwise grow.
constexpr size_t kMaxEntries = 256, kMaxFrontKeys = 1024;

}  // namespace

Engine& Engine::Get() {
  static Engine* engine = new Engine();
  return *engine;
}

Engine::Engine() {
  // A font map of our own: Pango's default one belongs to the thread that asked for it, and
  // runtime threads take turns here.
  font_map_ = pango_cairo_font_map_new();
  options_ = cairo_font_options_create();
  cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_FULL);
  // Whole-pixel advances: the same widths at every position, and crisp small text.
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_ON);
  // As on the desktop of the era, glyphs are not kerned or joined: each character keeps its own
  // advance, which is what lets widths be summed.
  base_attrs_ = pango_attr_list_new();
  pango_attr_list_insert(base_attrs_, pango_attr_font_features_new("kern=0,liga=0,clig=0,calt=0"));
}

void Engine::SetDpi(double dpi) {
  if (!std::isfinite(dpi)) dpi = 96;
  dpi = std::clamp(dpi, kMinDpi, kMaxDpi);
  if (dpi == dpi_) return;
  dpi_ = dpi;
  Clear();
}

void Engine::Clear() {
  for (auto& [key, e] : entries_) {
    g_object_unref(e.layout);
    g_object_unref(e.context);
  }
  entries_.clear();
  by_font_.clear();
  ++generation_;
}

FontEntry Engine::MakeEntry(const ResolvedFont& f) {
  FontEntry e;
  e.font = f;
  e.context = pango_font_map_create_context(font_map_);
  pango_cairo_context_set_resolution(e.context, dpi_);
  pango_cairo_context_set_font_options(e.context, options_);
  pango_context_set_round_glyph_positions(e.context, TRUE);

  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, f.family.c_str());
  pango_font_description_set_size(desc, f.points * PANGO_SCALE);
  pango_font_description_set_weight(desc, static_cast<PangoWeight>(f.weight));
  pango_font_description_set_style(desc, f.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  e.layout = pango_layout_new(e.context);
  pango_layout_set_font_description(e.layout, desc);

  PangoRectangle logical;
  for (int b = 0; b < 256; ++b) {
    if (b == '\r' || b == '\n' || b == '\t') continue;  // line breaks and tabs are not advances
    const char c = static_cast<char>(b);
    pango_layout_get_extents(LayoutWith(e, std::string_view(&c, 1)), nullptr, &logical);
    e.advance[b] = logical.width;
  }
  e.tab_width = 8 * e.advance[' '];

  pango_layout_get_extents(LayoutWith(e, kAverageSample), nullptr, &logical);
  e.metrics.avg_char_width_px =
      static_cast<double>(logical.width) / PANGO_SCALE / static_cast<double>(kAverageSample.size());
  e.metrics.height_px = static_cast<double>(logical.height) / PANGO_SCALE;
  e.metrics.ascent_px = static_cast<double>(pango_layout_get_baseline(e.layout)) / PANGO_SCALE;

  PangoFontMetrics* fm = pango_context_get_metrics(e.context, desc, nullptr);
  const auto px = [](int units) {
    return static_cast<int32_t>(std::lround(units / double(PANGO_SCALE)));
  };
  e.line_thickness = std::max(1, px(pango_font_metrics_get_underline_thickness(fm)));
  e.underline_below = std::max(1, -px(pango_font_metrics_get_underline_position(fm)));
  e.strikeout_above = std::max(1, px(pango_font_metrics_get_strikethrough_position(fm)));
  pango_font_metrics_unref(fm);
  pango_font_description_free(desc);
  return e;
}

// A tab goes to the first stop at least a blank's width further on, as Pango places default tabs.
int64_t FontEntry::Advance(unsigned char b, int64_t x) const {
  if (b != '\t') return advance[b];
  if (tab_width <= 0) return 0;
  const int64_t stop = (x + advance[' '] + tab_width - 1) / tab_width * tab_width;
  return stop - x;
}

int64_t FontEntry::Width(std::string_view text) const {
  int64_t x = 0;
  for (char c : text) x += Advance(static_cast<unsigned char>(c), x);
  return x;
}

FontEntry& Engine::EntryFor(const Font& font) {
  const int32_t metric_style = font.style & ~(kFontUnderline | kFontStrikeout);
  auto front_key = std::make_tuple(font.typeface, font.size, metric_style);
  if (auto it = by_font_.find(front_key); it != by_font_.end()) return *it->second;
  if (by_font_.size() >= kMaxFrontKeys) by_font_.clear();
  const ResolvedFont resolved = ResolveFont(font);
  if (entries_.size() >= kMaxEntries && !entries_.contains(resolved)) Clear();
  auto it = entries_.find(resolved);
  if (it == entries_.end()) it = entries_.emplace(resolved, MakeEntry(resolved)).first;
  by_font_.emplace(std::move(front_key), &it->second);
  return it->second;
}

PangoLayout* Engine::LayoutWith(FontEntry& e, std::string_view text) {
  ToLayoutText(text, e.font.symbol, scratch_);
  pango_layout_set_attributes(e.layout, base_attrs_);
  pango_layout_set_text(e.layout, scratch_.data(), static_cast<int>(scratch_.size()));
  return e.layout;
}

}  // namespace rt::text
