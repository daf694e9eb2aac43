// One painting routine per kind of control, called by PaintWindow for each visible control.
#pragma once

#include "runtime/paint/canvas.h"

namespace rt::paint {

// Static kinds.
void PaintBox(const Canvas& cv, const Control& c);
void PaintLine(const Canvas& cv, const Control& c);
void PaintLabel(const Canvas& cv, const Control& c);  // strings and prompts
void PaintImage(const Canvas& cv, const Control& c);
void PaintPanel(const Canvas& cv, const Control& c);
void PaintProgress(const Canvas& cv, const Control& c);

// Buttons and choices.
void PaintButton(const Canvas& cv, const Control& c);
void PaintCheck(const Canvas& cv, const Control& c);
void PaintRadio(const Canvas& cv, const Control& c);
void PaintOption(const Canvas& cv, const Control& c);

// Fields that hold text.
void PaintEntry(const Canvas& cv, const Control& c);
void PaintTextBox(const Canvas& cv, const Control& c);  // multi-line text
void PaintDropCombo(const Canvas& cv, const Control& c);
void PaintList(const Canvas& cv, const Control& c);

// A sheet with its tab headers.
void PaintSheet(const Canvas& cv, const Control& c);

// Draws the standard icon that `name` stands for ("~asterisk", "~exclamation", "~hand",
// "~question", any letter case) to fill the square centred in r; false for any other name.
bool PaintStandardIcon(const Canvas& cv, const Rect& r, std::string_view name);

// A small solid triangle pointing right (button icons) or down (drop buttons), centred in r.
void PaintArrow(const Canvas& cv, const Rect& r, bool down, int32_t color);

}  // namespace rt::paint
