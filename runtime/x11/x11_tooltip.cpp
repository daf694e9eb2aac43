// Tool tips: pale yellow box with a thin border and the text in the default sans font.
#include "runtime/x11/x11_tooltip.h"

#include <cairo-xlib.h>
#include <cairo.h>

#include <cmath>

#include "runtime/font.h"
#include "runtime/text/draw.h"
#include "runtime/textmetrics.h"

namespace rt {

void Tooltip::Show(::Display* dpy, int root_x, int root_y, const std::string& text) {
  Hide(dpy);
  Font font;
  const FontMetrics m = MeasureFont(font);
  const int w = static_cast<int>(std::ceil(TextWidthPx(font, text))) + 8;
  const int h = static_cast<int>(std::ceil(m.height_px)) + 4;
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.event_mask = ExposureMask;
  const int screen = DefaultScreen(dpy);
  xid_ = XCreateWindow(dpy, RootWindow(dpy, screen), root_x, root_y, w, h, 0, CopyFromParent,
                       InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attrs);
  XMapRaised(dpy, xid_);
  XSync(dpy, False);
  cairo_surface_t* s = cairo_xlib_surface_create(dpy, xid_, DefaultVisual(dpy, screen), w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1.0, 1.0, 0.88);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
  cairo_stroke(cr);
  text::DrawLine(cr, font, text, 4, 2);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  XFlush(dpy);
}

void Tooltip::Hide(::Display* dpy) {
  if (xid_ == 0) return;
  XDestroyWindow(dpy, xid_);
  XFlush(dpy);
  xid_ = 0;
}

void Tooltip::Close(::Display* dpy) {
  Hide(dpy);
}

}  // namespace rt
