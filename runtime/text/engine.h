// The text module's one Pango state: a font map, and per font a context, a layout and its
// metrics, all behind one mutex. Internal to runtime/text; others use textmetrics.h / draw.h.
#pragma once

#include <pango/pangocairo.h>

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "runtime/text/text_internal.h"
#include "runtime/textmetrics.h"

namespace rt::text {

struct FontEntry {
  ResolvedFont font;
  PangoContext* context = nullptr;
  PangoLayout* layout = nullptr;
  FontMetrics metrics;
  // Advance of every byte in Pango units. Kerning and ligatures are off, and advances are whole
  // pixels, so a line's drawn width is the sum of its advances; tabs go to the next multiple of
  // tab_width (eight blanks, as Pango places them).
  std::array<int32_t, 256> advance{};
  int32_t tab_width = 0;
  // Decoration lines in whole pixels, below (underline) and above (strikeout) the baseline.
  int32_t underline_below = 1, strikeout_above = 3, line_thickness = 1;

  // Advance of one byte at pen position x, and the width of a line (Pango units).
  int64_t Advance(unsigned char b, int64_t x) const;
  int64_t Width(std::string_view text) const;
};

class Engine {
 public:
  // The process's engine; never destroyed, so threads still drawing at exit are safe.
  static Engine& Get();

  // Every member below requires mu to be held.
  std::mutex mu;
  FontEntry& EntryFor(const Font& font);
  // Sets the layout's text and the base attributes (no kerning, no ligatures); returns it.
  PangoLayout* LayoutWith(FontEntry& e, std::string_view text);
  double dpi() const { return dpi_; }
  // Changes whenever entries are dropped, so caches holding FontEntry pointers can tell.
  uint64_t generation() const { return generation_; }
  void SetDpi(double dpi);

 private:
  Engine();
  void Clear();
  FontEntry MakeEntry(const ResolvedFont& f);

  PangoFontMap* font_map_ = nullptr;
  cairo_font_options_t* options_ = nullptr;
  PangoAttrList* base_attrs_ = nullptr;
  double dpi_ = 96;
  uint64_t generation_ = 0;
  std::map<ResolvedFont, FontEntry> entries_;
  // Front cache from the runtime's font (typeface, size, style without the drawing-only flags).
  std::map<std::tuple<std::string, int32_t, int32_t>, FontEntry*> by_font_;
  std::string scratch_;  // the UTF-8 of the text last laid out
};

}  // namespace rt::text
