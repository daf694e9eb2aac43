// Fields that hold text: entries and drop combos (one line, with caret, selection and scrolling
// to the caret) and multi-line text controls (the model's wrapped lines from a scroll position).
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/paint/bevel.h"
#include "runtime/paint/controls.h"

namespace rt::paint {
namespace {

bool Focused(const Canvas& cv, const Control& c) {
  return cv.window().focus() == c.field;
}

// The sunken white well of a field; returns the area inside its edge.
Rect Well(const Canvas& cv, const Control& c, const Rect& r) {
  const bool flat = cv.Flag(c, kPropFlat);
  cv.Fill(r, c.disabled ? kFace : (c.color != kColorNone ? c.color : kFieldBack));
  if (flat) {
    cv.Frame(r, kShadow);
    return r.Inset(1);
  }
  SunkenEdge(cv, r);
  return r.Inset(2);
}

// One line of field text at (x, y) with the part [from, to) of it selected, and the caret
// before byte `caret` when it is not npos.
void FieldLine(const Canvas& cv, const Control& c, std::string_view text, double x, double y,
               size_t from, size_t to, size_t caret) {
  const double line = cv.LineHeight(c);
  cv.Text(c, text, x, y, cv.TextColor(c), false);
  to = std::min(to, text.size());
  if (from < to) {
    const double x0 = x + cv.TextWidth(c, text.substr(0, from));
    const double x1 = x + cv.TextWidth(c, text.substr(0, to));
    const Rect sel{static_cast<int32_t>(std::lround(x0)), static_cast<int32_t>(std::lround(y)),
                   static_cast<int32_t>(std::lround(x1 - x0)),
                   static_cast<int32_t>(std::ceil(line))};
    cv.PushClip(sel);
    cv.Fill(sel, kSelectBack);
    cv.Text(c, text, x, y, kSelectText, false);
    cv.PopClip();
  }
  if (caret != std::string_view::npos && caret <= text.size()) {
    const double cx = std::lround(x + cv.TextWidth(c, text.substr(0, caret)));
    cv.Fill({static_cast<int32_t>(cx), static_cast<int32_t>(std::lround(y)), 1,
             static_cast<int32_t>(std::ceil(line))},
            kWindowText);
  }
}

// Single-line field text inside `inner`, scrolled so that the caret stays in view.
void SingleLine(const Canvas& cv, const Control& c, const Rect& inner, std::string_view text) {
  const bool focused = Focused(cv, c);
  const double x = cv.RectOf(c).x + kTextMarginPx;
  double scroll = 0;
  if (focused) {
    const double caret_x = cv.TextWidth(c, text.substr(0, std::min(c.caret, text.size())));
    scroll = std::max(0.0, x + caret_x - (inner.right() - 1));
  }
  const double y = inner.y + std::floor((inner.h - cv.LineHeight(c)) / 2);
  const size_t from = focused ? std::min(c.sel_from, c.sel_to) : 0;
  const size_t to = focused ? std::max(c.sel_from, c.sel_to) : 0;
  cv.PushClip(inner);
  FieldLine(cv, c, text, x - scroll, y, from, to, focused ? c.caret : std::string_view::npos);
  cv.PopClip();
}

// Where each of the model's lines starts in the text: lines are consecutive slices, and a
// paragraph's last line is followed by its CR LF, LF or CR.
std::vector<size_t> LineStarts(std::string_view text, const std::vector<std::string>& lines) {
  std::vector<size_t> starts;
  size_t pos = 0;
  for (const std::string& line : lines) {
    if (text.compare(pos, line.size(), line) != 0) {
      const size_t found = text.find(line, pos);
      pos = found == std::string_view::npos ? pos : found;
    }
    starts.push_back(pos);
    pos = std::min(text.size(), pos + line.size());
    if (text.compare(pos, 2, "\r\n") == 0) {
      pos += 2;
    } else if (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n')) {
      ++pos;
    }
  }
  return starts;
}

}  // namespace

void PaintEntry(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const Rect inner = Well(cv, c, r);
  SingleLine(cv, c, inner, cv.window().DisplayText(c));
}

void PaintDropCombo(const Canvas& cv, const Control& c) {
  const Rect r = cv.RectOf(c);
  const Rect well = Well(cv, c, r);
  const int32_t bw = std::max(cv.Px(10), std::min(cv.Px(16), well.h));
  const Rect button{well.right() - bw, well.y, bw, well.h};
  cv.Fill(button, kFace);
  RaisedEdge(cv, button);
  PaintArrow(cv, button.Inset(2), true, c.disabled ? kGrayText : kWindowText);
  std::string text;
  if (c.use.bound()) {
    text = cv.window().DisplayText(c);
  } else if (c.from && c.selected_row > 0 &&
             static_cast<size_t>(c.selected_row) <= c.from->Rows()) {
    text = c.from->Cell(static_cast<size_t>(c.selected_row), 1);
  }
  SingleLine(cv, c, {well.x, well.y, well.w - bw, well.h}, text);
}

// The model's wrapped lines from the scroll position down, with caret and selection.
void PaintTextBox(const Canvas& cv, const Control& c) {
  const Window& w = cv.window();
  const Rect r = cv.RectOf(c);
  const Rect inner = Well(cv, c, r);
  const std::string text = w.DisplayText(c);
  const std::vector<std::string> lines = w.TextLines(c);
  const std::vector<size_t> starts = LineStarts(text, lines);
  const double line = cv.LineHeight(c);
  const bool focused = Focused(cv, c);
  const size_t from = std::min(c.sel_from, c.sel_to), to = std::max(c.sel_from, c.sel_to);
  // The caret belongs to the last line starting at or before it.
  size_t caret_line = 0;
  for (size_t i = 0; i < starts.size(); ++i) {
    if (starts[i] <= c.caret) caret_line = i;
  }
  const size_t first = static_cast<size_t>(std::clamp<int64_t>(c.scroll_line, 0, lines.size()));
  cv.PushClip(inner);
  for (size_t i = first; i < lines.size(); ++i) {
    const double y = inner.y + 1 + (i - first) * line;
    if (y >= inner.bottom()) break;
    const size_t s = starts[i];
    const size_t sel_from = focused ? std::clamp(from, s, s + lines[i].size()) - s : 0;
    const size_t sel_to = focused ? std::clamp(to, s, s + lines[i].size()) - s : 0;
    const size_t caret = focused && i == caret_line ? c.caret - s : std::string_view::npos;
    FieldLine(cv, c, lines[i], r.x + kTextMarginPx, y, sel_from, sel_to, caret);
  }
  cv.PopClip();
}

}  // namespace rt::paint
