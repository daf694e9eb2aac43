// The painter's drawing surface: a cairo context with the window's unit scale, whole-pixel
// rectangles, the classic palette, and text through the text module. Internal to the painter.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string_view>

#include "runtime/window.h"

namespace rt::paint {

// The palette of the era, 0BBGGRRH.
inline constexpr int32_t kFace = 0xC0C0C0;
inline constexpr int32_t kHighlight = 0xFFFFFF;
inline constexpr int32_t kLight = 0xDFDFDF;
inline constexpr int32_t kShadow = 0x808080;
inline constexpr int32_t kDarkShadow = 0x000000;
inline constexpr int32_t kWindowText = 0x000000;
inline constexpr int32_t kFieldBack = 0xFFFFFF;   // entries, text controls, lists
inline constexpr int32_t kSelectBack = 0x800000;  // navy
inline constexpr int32_t kSelectText = 0xFFFFFF;
inline constexpr int32_t kGrayText = 0x808080;

struct Rect {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  int32_t right() const { return x + w; }
  int32_t bottom() const { return y + h; }
  Rect Inset(int32_t d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};

class Canvas {
 public:
  Canvas(cairo_t* cr, const Window& w);

  cairo_t* cr() const { return cr_; }
  const Window& window() const { return w_; }
  // Pixels per dialog unit across and down.
  double sx() const { return sx_; }
  double sy() const { return sy_; }
  // Pixels for a length given at 96 dots per inch (bevel glyphs, check marks).
  int32_t Px(int32_t at96) const;

  // Dialog-unit rectangles to whole pixels: edges are rounded, so neighbours meet exactly.
  Rect ToPx(double x, double y, double w, double h) const;
  // A control's rectangle, its size from its text where it has none.
  Rect RectOf(const Control& c) const;

  void Fill(const Rect& r, int32_t color) const;
  void Frame(const Rect& r, int32_t color) const;  // one pixel inside r
  void SetColor(int32_t color) const;
  // Limits drawing to r until the matching PopClip.
  void PushClip(const Rect& r) const;
  void PopClip() const;

  // One line of a control's text with its top-left corner at (x, y) pixels; with `mnemonic`
  // the "&" markers are interpreted. Disabled controls draw embossed grey text.
  void Text(const Control& c, std::string_view text, double x, double y, int32_t color,
            bool mnemonic) const;
  void Text(const Font& font, std::string_view text, double x, double y, int32_t color,
            bool mnemonic, bool disabled = false) const;
  double TextWidth(const Control& c, std::string_view text) const;
  double LineHeight(const Control& c) const;
  // A control's font colour, black when it has none.
  int32_t TextColor(const Control& c) const;
  // Whether a flag property (transparent, flat, boxed) is set on the control.
  bool Flag(const Control& c, int32_t prop) const;
  // The colour behind a control: its tab's, its sheet's or the window's.
  int32_t BackgroundOf(const Control& c) const;

 private:
  cairo_t* cr_;
  const Window& w_;
  double sx_, sy_;
};

}  // namespace rt::paint
