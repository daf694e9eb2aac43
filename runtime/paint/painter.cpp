// Paints a window: its background, its sheets, its other visible controls in field order, its
// status bar, and the raised frame of popup windows.
#include "runtime/paint/painter.h"

#include <algorithm>
#include <cmath>

#include "runtime/paint/bevel.h"
#include "runtime/paint/canvas.h"
#include "runtime/paint/controls.h"
#include "runtime/textmetrics.h"

namespace rt::paint {
namespace {

constexpr int32_t kMaxSidePx = 16384;
constexpr int32_t kMaxStatusZones = 16;

void PaintControl(const Canvas& cv, const Control& c) {
  switch (c.type) {
    case kCreateBox:
      return PaintBox(cv, c);
    case kCreateLine:
      return PaintLine(cv, c);
    case kCreateString:
    case kCreatePrompt:
      return PaintLabel(cv, c);
    case kCreateImage:
      return PaintImage(cv, c);
    case kCreatePanel:
      return PaintPanel(cv, c);
    case kCreateProgress:
      return PaintProgress(cv, c);
    case kCreateButton:
      return PaintButton(cv, c);
    case kCreateCheck:
      return PaintCheck(cv, c);
    case kCreateRadio:
      return PaintRadio(cv, c);
    case kCreateOption:
      return PaintOption(cv, c);
    case kCreateEntry:
      return PaintEntry(cv, c);
    case kCreateText:
      return PaintTextBox(cv, c);
    case kCreateDropCombo:
      return PaintDropCombo(cv, c);
    case kCreateList:
      return PaintList(cv, c);
    case kCreateSheet:
      return PaintSheet(cv, c);
    default:
      return;  // regions are invisible; tabs are drawn by their sheet
  }
}

// The status bar along the bottom: one sunken zone per status text.
void PaintStatusBar(const Canvas& cv, const SizePx& size) {
  const Window& w = cv.window();
  const int32_t zones = w.status_zones() < 0 ? 1 : std::min(w.status_zones(), kMaxStatusZones);
  const double line = MeasureFont(w.font()).height_px;
  const int32_t h = static_cast<int32_t>(std::ceil(line)) + cv.Px(8);
  const Rect bar{0, size.height - h, size.width, h};
  cv.Fill(bar, kFace);
  cv.Fill({bar.x, bar.y, bar.w, 1}, kHighlight);
  const int32_t gap = cv.Px(2);
  const int32_t zone_w = (bar.w - gap * (zones + 1)) / zones;
  for (int32_t i = 0; i < zones; ++i) {
    const Rect zone{gap + i * (zone_w + gap), bar.y + gap + 1, zone_w, bar.h - 2 * gap - 1};
    ThinSunkenEdge(cv, zone);
    cv.PushClip(zone.Inset(1));
    cv.Text(w.font(), w.GetProp(0, kPropStatusText, i + 1), zone.x + cv.Px(4),
            zone.y + std::floor((zone.h - line) / 2), kWindowText, false);
    cv.PopClip();
  }
}

}  // namespace

SizePx WindowSizePx(const Window& w) {
  const auto side = [](double px) {
    if (!std::isfinite(px)) return 1;
    return static_cast<int32_t>(std::clamp(std::lround(px), 1L, static_cast<long>(kMaxSidePx)));
  };
  return {side(w.width() * w.PxPerDuX()), side(w.height() * w.PxPerDuY())};
}

void PaintWindow(cairo_t* cr, const Window& w) {
  if (w.hidden()) return;
  const Canvas cv(cr, w);
  const SizePx size = WindowSizePx(w);
  cairo_save(cr);
  cv.Fill({0, 0, size.width, size.height}, w.color() != kColorNone ? w.color() : kFace);
  // Sheets lie beneath the window's other controls, as a page behind them; the rest follow in
  // field order, later fields over earlier ones.
  for (bool sheets : {true, false}) {
    for (const auto& c : w.controls()) {
      if ((c->type == kCreateSheet) == sheets && w.Visible(*c)) PaintControl(cv, *c);
    }
  }
  if (w.status_zones() != 0) PaintStatusBar(cv, size);
  if (w.popup()) RaisedEdge(cv, {0, 0, size.width, size.height});
  cairo_restore(cr);
}

}  // namespace rt::paint
