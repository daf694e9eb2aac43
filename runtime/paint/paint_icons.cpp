// The runtime's standard message icons, drawn with cairo: "~asterisk" a blue circle with an
// "i", "~exclamation" a yellow triangle with a "!", "~hand" a red circle with a white cross and
// "~question" a blue circle with a "?".
#include <strings.h>

#include <algorithm>
#include <cmath>

#include "runtime/paint/controls.h"

namespace rt::paint {
namespace {

constexpr int32_t kIconBlue = 0xFF0000;  // 0BBGGRRH
constexpr int32_t kIconRed = 0x0000FF;
constexpr int32_t kIconYellow = 0x00FFFF;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;

// The icon's square inside r: centre and half side.
struct Square {
  double cx, cy, half;
};

void Disc(const Canvas& cv, const Square& s, int32_t color) {
  cairo_t* cr = cv.cr();
  cairo_new_path(cr);
  cairo_arc(cr, s.cx, s.cy, s.half * 0.94, 0, 2 * M_PI);
  cv.SetColor(color);
  cairo_fill_preserve(cr);
  cv.SetColor(kBlack);
  cairo_set_line_width(cr, std::max(1.0, s.half / 16));
  cairo_stroke(cr);
}

// A round-ended stroke from (x0, y0) to (x1, y1), in units of the half side from the centre.
void Stroke(const Canvas& cv, const Square& s, double x0, double y0, double x1, double y1,
            double width, int32_t color) {
  cairo_t* cr = cv.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, s.cx + x0 * s.half, s.cy + y0 * s.half);
  cairo_line_to(cr, s.cx + x1 * s.half, s.cy + y1 * s.half);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, width * s.half);
  cv.SetColor(color);
  cairo_stroke(cr);
}

void Dot(const Canvas& cv, const Square& s, double x, double y, double radius, int32_t color) {
  cairo_t* cr = cv.cr();
  cairo_new_path(cr);
  cairo_arc(cr, s.cx + x * s.half, s.cy + y * s.half, radius * s.half, 0, 2 * M_PI);
  cv.SetColor(color);
  cairo_fill(cr);
}

void Information(const Canvas& cv, const Square& s) {
  Disc(cv, s, kIconBlue);
  Dot(cv, s, 0, -0.45, 0.13, kWhite);
  Stroke(cv, s, 0, -0.12, 0, 0.55, 0.22, kWhite);
}

void Exclamation(const Canvas& cv, const Square& s) {
  cairo_t* cr = cv.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, s.cx, s.cy - s.half * 0.92);
  cairo_line_to(cr, s.cx + s.half * 0.96, s.cy + s.half * 0.86);
  cairo_line_to(cr, s.cx - s.half * 0.96, s.cy + s.half * 0.86);
  cairo_close_path(cr);
  cv.SetColor(kIconYellow);
  cairo_fill_preserve(cr);
  cv.SetColor(kBlack);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, std::max(1.0, s.half / 12));
  cairo_stroke(cr);
  Stroke(cv, s, 0, -0.45, 0, 0.3, 0.2, kBlack);
  Dot(cv, s, 0, 0.6, 0.11, kBlack);
}

void Stop(const Canvas& cv, const Square& s) {
  Disc(cv, s, kIconRed);
  Stroke(cv, s, -0.4, -0.4, 0.4, 0.4, 0.2, kWhite);
  Stroke(cv, s, 0.4, -0.4, -0.4, 0.4, 0.2, kWhite);
}

void Question(const Canvas& cv, const Square& s) {
  Disc(cv, s, kIconBlue);
  cairo_t* cr = cv.cr();
  cairo_new_path(cr);
  // The hook: most of a circle above the centre, then down to the stem.
  cairo_arc(cr, s.cx, s.cy - s.half * 0.25, s.half * 0.3, M_PI * 1.1, M_PI * 2.35);
  cairo_line_to(cr, s.cx, s.cy + s.half * 0.22);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.2 * s.half);
  cv.SetColor(kWhite);
  cairo_stroke(cr);
  Dot(cv, s, 0, 0.58, 0.12, kWhite);
}

}  // namespace

bool PaintStandardIcon(const Canvas& cv, const Rect& r, std::string_view name) {
  using Drawing = void (*)(const Canvas&, const Square&);
  struct Known {
    const char* name;
    Drawing draw;
  };
  static constexpr Known kIcons[] = {{"~asterisk", Information},
                                     {"~exclamation", Exclamation},
                                     {"~hand", Stop},
                                     {"~question", Question}};
  for (const Known& k : kIcons) {
    if (name.size() != std::string_view(k.name).size() ||
        strncasecmp(name.data(), k.name, name.size()) != 0)
      continue;
    const double half = std::min(r.w, r.h) / 2.0;
    if (half <= 0) return true;
    cairo_save(cv.cr());
    k.draw(cv, {r.x + r.w / 2.0, r.y + r.h / 2.0, half});
    cairo_restore(cv.cr());
    return true;
  }
  return false;
}

}  // namespace rt::paint
