// The 3-D edges of the classic look: raised buttons, sunken fields, etched frames and rules,
// and the dotted focus rectangle. Each draws inside its rectangle.
#pragma once

#include "runtime/paint/canvas.h"

namespace rt::paint {

void RaisedEdge(const Canvas& cv, const Rect& r);      // buttons, tab headers: two pixels
void SunkenEdge(const Canvas& cv, const Rect& r);      // entries, lists: two pixels
void ThinSunkenEdge(const Canvas& cv, const Rect& r);  // panels, status zones: one pixel
void ThinRaisedEdge(const Canvas& cv, const Rect& r);  // status bar, list headings
void EtchedFrame(const Canvas& cv, const Rect& r);     // group boxes
void EtchedHLine(const Canvas& cv, int32_t x, int32_t y, int32_t w);
void EtchedVLine(const Canvas& cv, int32_t x, int32_t y, int32_t h);
void FocusRect(const Canvas& cv, const Rect& r);  // dotted, every other pixel

}  // namespace rt::paint
