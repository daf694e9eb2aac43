// Text measurement and line breaking, shared by the window model and the painter so that what
// a control reports (a string's width, a text control's lines) is exactly what is drawn.
// Text is the runtime's Windows-1252; it becomes UTF-8 only inside this module and the painter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/font.h"

namespace rt {

struct FontMetrics {
  double avg_char_width_px = 0;  // average character width, for dialog units
  double height_px = 0;          // ascent + descent
  double ascent_px = 0;
};

// The display's resolution in dots per inch: 96 unless the display says otherwise.
double DisplayDpi();
void SetDisplayDpi(double dpi);

FontMetrics MeasureFont(const Font& font);
double TextWidthPx(const Font& font, std::string_view text);
// Lines as a multi-line text control of that width shows them: paragraphs split at CR LF / LF,
// long paragraphs wrapped at word boundaries (characters when a word is wider than the line).
// Each line is a piece of the input, without its line break.
std::vector<std::string> WrapLines(const Font& font, std::string_view text, double width_px);
// One of those lines (from 0; empty past the last) and their number, without copying the rest:
// reading a long text line by line stays linear.
std::string WrappedLine(const Font& font, std::string_view text, double width_px, size_t index);
size_t WrappedLineCount(const Font& font, std::string_view text, double width_px);

std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);  // characters outside Windows-1252 become '?'

}  // namespace rt
