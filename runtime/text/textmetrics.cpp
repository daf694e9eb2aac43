// Measuring and wrapping Windows-1252 text. Widths are sums of the advances Pango gives each
// character (kerning and ligatures are off, so a drawn line is exactly that wide); break
// opportunities come from Pango. Wrapped lines are exact slices of the input.
#include "runtime/textmetrics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/text/engine.h"

namespace rt {
namespace {

using text::Engine;
using text::FontEntry;

// The last few wraps: the model asks for a text control's line count and then its lines one
// by one, each time with the same text, font and width.
struct WrapResult {
  const FontEntry* entry = nullptr;
  uint64_t generation = 0;
  int64_t width = 0;  // Pango units, -1 unwrapped
  std::string text;
  std::vector<std::string> lines;
};
struct WrapCache {
  std::array<WrapResult, 8> slots;
  size_t next = 0;
};
// Guarded by Engine::mu; never destroyed, like the engine, for threads still running at exit.
WrapCache& Wraps() {
  static WrapCache* cache = new WrapCache();
  return *cache;
}

// Pango's wrap width for a pixel width; zero, negative and non-finite widths mean no wrapping.
int64_t WrapWidth(double width_px) {
  if (!std::isfinite(width_px) || width_px <= 0) return -1;
  return static_cast<int64_t>(std::min(width_px, 1.0e6) * PANGO_SCALE);
}

// Where the line starting at `start` of the paragraph [start, end) ends: at the last line-break
// opportunity (Unicode's rules, from Pango) before the first character that does not fit; a
// word wider than the line breaks between characters, keeping at least one. Blanks at the end
// of a line may overhang it, as on the desktop, and no hyphen is added where a word is broken.
// attrs[i] describes the position before byte i (one character per byte).
size_t LineEnd(const FontEntry& e, std::string_view text, const PangoLogAttr* attrs, size_t start,
               size_t end, int64_t width) {
  int64_t x = 0;
  size_t fitting_break = std::string_view::npos;
  for (size_t i = start; i < end; ++i) {
    if (i > start && attrs[i].is_mandatory_break) return i;
    if (i > start && attrs[i].is_line_break) fitting_break = i;
    const int64_t w = e.Advance(static_cast<unsigned char>(text[i]), x);
    if (width >= 0 && i > start && x + w > width && !attrs[i].is_white) {
      if (fitting_break != std::string_view::npos) return fitting_break;
      size_t q = i;
      while (q > start + 1 && !attrs[q].is_char_break) --q;
      return q;
    }
    x += w;
  }
  return end;
}

std::vector<std::string> Wrap(const FontEntry& e, std::string_view text, int64_t width) {
  // Break opportunities by Unicode's rules, for the whole text at once.
  std::string utf8;
  text::ToLayoutText(text, e.font.symbol, utf8);
  std::vector<PangoLogAttr> attrs(text.size() + 1);
  pango_get_log_attrs(utf8.data(), static_cast<int>(utf8.size()), -1, pango_language_get_default(),
                      attrs.data(), static_cast<int>(attrs.size()));
  std::vector<std::string> lines;
  size_t para = 0;
  for (;;) {
    size_t para_end = para;
    while (para_end < text.size() && text[para_end] != '\r' && text[para_end] != '\n') ++para_end;
    size_t start = para;
    do {
      const size_t stop = LineEnd(e, text, attrs.data(), start, para_end, width);
      lines.emplace_back(text.substr(start, stop - start));
      start = stop;
    } while (start < para_end);
    if (para_end == text.size()) break;
    para = para_end + (text.compare(para_end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

double DisplayDpi() {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  return engine.dpi();
}

void SetDisplayDpi(double dpi) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  engine.SetDpi(dpi);
}

FontMetrics MeasureFont(const Font& font) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  return engine.EntryFor(font).metrics;
}

double TextWidthPx(const Font& font, std::string_view text) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  return static_cast<double>(engine.EntryFor(font).Width(text)) / PANGO_SCALE;
}

namespace {

// The wrapped lines of `text`, from the cache when it was wrapped lately. Call with engine.mu held;
// the result stays valid until the next wrap.
const std::vector<std::string>& CachedWrap(Engine& engine, const Font& font, std::string_view text,
                                           double width_px) {
  FontEntry& e = engine.EntryFor(font);
  const int64_t width = WrapWidth(width_px);
  WrapCache& cache = Wraps();
  for (const WrapResult& r : cache.slots) {
    if (r.entry == &e && r.generation == engine.generation() && r.width == width &&
        r.text == text) {
      return r.lines;
    }
  }
  WrapResult& slot = cache.slots[cache.next];
  cache.next = (cache.next + 1) % cache.slots.size();
  slot.entry = &e;
  slot.generation = engine.generation();
  slot.width = width;
  slot.text.assign(text);
  slot.lines = Wrap(e, text, width);
  return slot.lines;
}

}  // namespace

std::vector<std::string> WrapLines(const Font& font, std::string_view text, double width_px) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  return CachedWrap(engine, font, text, width_px);
}

std::string WrappedLine(const Font& font, std::string_view text, double width_px, size_t index) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  const std::vector<std::string>& lines = CachedWrap(engine, font, text, width_px);
  return index < lines.size() ? lines[index] : std::string();
}

size_t WrappedLineCount(const Font& font, std::string_view text, double width_px) {
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  return CachedWrap(engine, font, text, width_px).size();
}

}  // namespace rt
