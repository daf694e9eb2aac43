// Buttons, check boxes, radio buttons and option groups in the raised and sunken grey look.
#include <algorithm>
#include <cmath>

#include "runtime/paint/bevel.h"
#include "runtime/paint/controls.h"
#include "runtime/strings.h"
#include "runtime/text/mnemonic.h"

namespace rt::paint {
namespace {

bool Focused(const Canvas& cv, const Control& c) {
  return cv.window().focus() == c.field;
}

// The caption (its text, never its value) centred vertically at x, in the control's colour; the
// focus rectangle around it.
void CaptionAt(const Canvas& cv, const Control& c, const Rect& r, int32_t x) {
  const std::string& text = c.text;
  const double line = cv.LineHeight(c);
  const int32_t y = r.y + static_cast<int32_t>(std::floor((r.h - line) / 2));
  cv.Text(c, text, x, y, cv.TextColor(c), true);
  if (Focused(cv, c) && !text.empty()) {
    const double w = cv.TextWidth(c, text::StripMnemonic(text).shown);
    FocusRect(cv, {x - 1, y, static_cast<int32_t>(std::ceil(w)) + 2,
                   static_cast<int32_t>(std::ceil(line))});
  }
}

// The classic check mark, a 7 x 7 pixel pattern scaled by k.
void CheckMark(const Canvas& cv, int32_t x, int32_t y, int32_t k, int32_t color) {
  static constexpr const char* kRows[7] = {"......#", ".....##", "#...###", "##.###.",
                                           "#####..", ".###...", "..#...."};
  for (int32_t row = 0; row < 7; ++row) {
    for (int32_t col = 0; col < 7; ++col) {
      if (kRows[row][col] == '#') cv.Fill({x + col * k, y + row * k, k, k}, color);
    }
  }
}

}  // namespace

void PaintArrow(const Canvas& cv, const Rect& r, bool down, int32_t color) {
  const int32_t n = std::max(1, std::min(r.w, r.h) / 3);  // rows of the triangle
  if (down) {
    const int32_t x = r.x + (r.w - (2 * n - 1)) / 2, y = r.y + (r.h - n) / 2;
    for (int32_t i = 0; i < n; ++i) cv.Fill({x + i, y + i, 2 * (n - i) - 1, 1}, color);
  } else {
    const int32_t x = r.x + (r.w - n) / 2, y = r.y + (r.h - (2 * n - 1)) / 2;
    for (int32_t i = 0; i < n; ++i) cv.Fill({x + i, y + i, 1, 2 * (n - i) - 1}, color);
  }
}

// Grey face, raised edge (black-framed when it has the focus, plain when flat), and its icon or
// its text centred with the mnemonic underlined.
void PaintButton(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  cv.Fill(r, c.color != kColorNone ? c.color : kFace);
  const bool focused = Focused(cv, c), flat = cv.Flag(c, kPropFlat);
  if (flat) {
    cv.Frame(r, kShadow);
  } else if (focused) {
    cv.Frame(r, kDarkShadow);
    RaisedEdge(cv, r.Inset(1));
  } else {
    RaisedEdge(cv, r);
  }
  const Rect inner = r.Inset(2);
  if (!c.icon.empty()) {
    PaintArrow(cv, inner, false, c.disabled ? kGrayText : kWindowText);
    return;
  }
  const std::string text = cv.window().DisplayText(c);
  const double line = cv.LineHeight(c);
  const double w = cv.TextWidth(c, text::StripMnemonic(text).shown);
  const double x = std::floor(r.x + (r.w - w) / 2), y = std::floor(r.y + (r.h - line) / 2);
  cv.PushClip(inner);
  cv.Text(c, text, x, y, cv.TextColor(c), true);
  cv.PopClip();
  const Rect focus = r.Inset(cv.Px(4));
  if (focused && !flat && focus.w > 4 && focus.h > 4) FocusRect(cv, focus);
}

// A sunken white square, ticked when the bound value is set, and the text beside it.
void PaintCheck(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const int32_t size = cv.Px(13);
  const Rect box{r.x, r.y + (r.h - size) / 2, size, size};
  cv.Fill(box, c.disabled ? kFace : kFieldBack);
  SunkenEdge(cv, box);
  const std::string value = c.use.bound() ? c.use.Get() : std::string();
  if (!value.empty() && value != "0") {
    const int32_t k = cv.Px(1);
    CheckMark(cv, box.x + (size - 7 * k) / 2, box.y + (size - 7 * k) / 2, k,
              c.disabled ? kGrayText : kWindowText);
  }
  CaptionAt(cv, c, r, box.right() + cv.Px(4));
}

// A sunken white circle, with a dot when its option's value is the radio's text. The circle is
// a 12 x 12 pixel pattern scaled like the check box: 'o' the outer ring, 'i' the inner ring,
// 'w' the well, '*' the dot; each ring is shadowed above the anti-diagonal and lit below it.
void PaintRadio(const Canvas& cv, const Control& c) {
  static constexpr const char* kRows[12] = {"....oooo....", "..ooiiiioo..", ".oiiwwwwiio.",
                                            ".oiwwwwwwio.", "oiwww**wwwio", "oiww****wwio",
                                            "oiww****wwio", "oiwww**wwwio", ".oiwwwwwwio.",
                                            ".oiiwwwwiio.", "..ooiiiioo..", "....oooo...."};
  const Rect r = cv.RectOf(c);
  const int32_t k = cv.Px(1), size = 12 * k;
  const int32_t x = r.x, y = r.y + (r.h - size) / 2;
  const Control* option = cv.window().Find(c.parent);
  const bool on = option && option->use.bound() && Clip(option->use.Get()) == Clip(c.text);
  const int32_t well = c.disabled ? kFace : kFieldBack;
  const int32_t dot = on ? (c.disabled ? kGrayText : kWindowText) : well;
  for (int32_t row = 0; row < 12; ++row) {
    for (int32_t col = 0; col < 12; ++col) {
      const bool upper = row + col <= 10;
      int32_t color = 0;
      switch (kRows[row][col]) {
        case 'o':
          color = upper ? kShadow : kHighlight;
          break;
        case 'i':
          color = upper ? kDarkShadow : kLight;
          break;
        case 'w':
          color = well;
          break;
        case '*':
          color = dot;
          break;
        default:
          continue;
      }
      cv.Fill({x + col * k, y + row * k, k, k}, color);
    }
  }
  CaptionAt(cv, c, r, r.x + size + cv.Px(4));
}

// An etched frame with the caption set into its top edge, when boxed; otherwise nothing shows.
void PaintOption(const Canvas& cv, const Control& c) {
  if (!cv.Flag(c, kPropBoxed)) return;
  const Rect r = cv.RectOf(c);
  const double line = cv.LineHeight(c);
  const int32_t top = r.y + static_cast<int32_t>(line / 2);
  EtchedFrame(cv, {r.x, top, r.w, r.bottom() - top});
  if (c.text.empty()) return;
  const int32_t x = r.x + cv.Px(8);
  const double w = cv.TextWidth(c, text::StripMnemonic(c.text).shown);
  cv.Fill(
      {x - 2, r.y, static_cast<int32_t>(std::ceil(w)) + 4, static_cast<int32_t>(std::ceil(line))},
      c.color != kColorNone ? c.color : cv.BackgroundOf(c));
  cv.Text(c, c.text, x, r.y, cv.TextColor(c), true);
}

}  // namespace rt::paint
