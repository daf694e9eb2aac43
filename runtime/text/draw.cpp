// Drawing one line of text with the layout that also measures it.
#include "runtime/text/draw.h"

#include <cmath>
#include <mutex>

#include "runtime/text/engine.h"

namespace rt::text {
namespace {

// The UTF-8 index of an input byte offset (the layout text's first byte of that character).
guint Utf8Index(const LayoutText& t, size_t offset) {
  size_t i = 0;
  while (i < t.utf8.size() && t.back[i] < offset) ++i;
  return static_cast<guint>(i);
}

// Drawing-only attributes: the font's underline and strikeout, and the mnemonic underline.
PangoAttrList* DrawingAttributes(const Engine& engine, const Font& font, const LayoutText& t,
                                 size_t mnemonic) {
  PangoAttrList* attrs = engine.BaseAttributes();
  if (font.style & kFontUnderline) {
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (font.style & kFontStrikeout) {
    pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  }
  if (mnemonic != kNoMnemonic && mnemonic < t.back.back()) {
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = Utf8Index(t, mnemonic);
    a->end_index = Utf8Index(t, mnemonic + 1);
    pango_attr_list_insert(attrs, a);
  }
  return attrs;
}

}  // namespace

void DrawLine(cairo_t* cr, const Font& font, std::string_view text, double x, double y,
              size_t mnemonic) {
  if (text.empty()) return;
  Engine& engine = Engine::Get();
  std::lock_guard lock(engine.mu);
  PangoLayout* layout = engine.LayoutWith(engine.EntryFor(font), text, /*with_map=*/true);
  PangoAttrList* attrs = DrawingAttributes(engine, font, engine.scratch(), mnemonic);
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  cairo_move_to(cr, std::round(x), std::round(y));
  pango_cairo_show_layout(cr, layout);
}

}  // namespace rt::text
