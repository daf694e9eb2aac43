// The X11 backend: real top-level windows, one display connection per runtime thread (each
// thread owns its windows), drawn by the shared painter through cairo; X events become input.
#include "runtime/x11/x11_backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "runtime/input.h"
#include "runtime/paint/painter.h"
#include "runtime/textmetrics.h"
#include "runtime/thread.h"
#include "runtime/thread_internal.h"
#include "runtime/window.h"
#include "runtime/x11/x11_keys.h"
#include "runtime/x11/x11_tooltip.h"

namespace rt {
namespace {

// What the backend keeps for one runtime window.
struct XWin {
  ::Display* dpy = nullptr;
  ::Window xid = 0;
  cairo_surface_t* surface = nullptr;
  int pw = 0, ph = 0;  // pixel size last given to the server
  int model_x = 0, model_y = 0;
  bool mapped = false;
  bool focus_on_map = false;
  bool popup = false;
  uint64_t painted = ~uint64_t{0};
  std::string caption;
  int hover_field = 0;
  int64_t hover_since = 0;
  bool tip_shown = false;
};

// One display connection per runtime thread, closed when the thread ends.
struct ThreadDisplay {
  ::Display* dpy = nullptr;
  std::map<::Window, Window*> windows;
  Atom wm_delete = 0, wm_protocols = 0, net_wm_name = 0, utf8 = 0, wm_type = 0, type_utility = 0;
  Cursor hand = 0;
  Tooltip tooltip;
  void Close() {
    if (dpy == nullptr) return;
    tooltip.Close(dpy);
    XCloseDisplay(dpy);
    dpy = nullptr;
  }
  ~ThreadDisplay() { Close(); }
};

thread_local ThreadDisplay t_display;

int IgnoreXErrors(::Display*, XErrorEvent*) {
  return 0;
}  // e.g. focus on a window going away

XWin* Data(const Window& w) {
  return static_cast<XWin*>(w.backend_data);
}

ThreadDisplay& DisplayForThread() {
  ThreadDisplay& td = t_display;
  if (td.dpy == nullptr) {
    td.dpy = XOpenDisplay(nullptr);
    if (td.dpy == nullptr) return td;
    td.wm_delete = XInternAtom(td.dpy, "WM_DELETE_WINDOW", False);
    td.wm_protocols = XInternAtom(td.dpy, "WM_PROTOCOLS", False);
    td.net_wm_name = XInternAtom(td.dpy, "_NET_WM_NAME", False);
    td.utf8 = XInternAtom(td.dpy, "UTF8_STRING", False);
    td.wm_type = XInternAtom(td.dpy, "_NET_WM_WINDOW_TYPE", False);
    td.type_utility = XInternAtom(td.dpy, "_NET_WM_WINDOW_TYPE_UTILITY", False);
    td.hand = XCreateFontCursor(td.dpy, XC_hand2);
  }
  return td;
}

int PosPx(double du, double per) {
  return static_cast<int>(std::lround(du * per));
}

class X11Backend : public Backend {
 public:
  X11Backend(::Display* probe, int screen_w, int screen_h)
      : probe_(probe), screen_w_(screen_w), screen_h_(screen_h) {}
  ~X11Backend() override { XCloseDisplay(probe_); }
  const char* name() const override { return "x11"; }
  int ScreenWidth() const override { return screen_w_; }
  int ScreenHeight() const override { return screen_h_; }

  void WindowOpened(Window& w) override {
    ThreadDisplay& td = DisplayForThread();
    if (td.dpy == nullptr) return;
    auto* x = new XWin;
    x->dpy = td.dpy;
    x->popup = w.popup();
    const paint::SizePx size = paint::WindowSizePx(w);
    x->pw = size.width;
    x->ph = size.height;
    x->model_x = w.x();
    x->model_y = w.y();
    XSetWindowAttributes attrs{};
    attrs.override_redirect = x->popup ? True : False;
    attrs.background_pixel = WhitePixel(td.dpy, DefaultScreen(td.dpy));
    attrs.event_mask = ExposureMask | ButtonPressMask | KeyPressMask | FocusChangeMask |
                       StructureNotifyMask | PointerMotionMask | LeaveWindowMask;
    x->xid = XCreateWindow(td.dpy, DefaultRootWindow(td.dpy), PosPx(w.x(), w.PxPerDuX()),
                           PosPx(w.y(), w.PxPerDuY()), x->pw, x->ph, 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attrs);
    XSetWMProtocols(td.dpy, x->xid, &td.wm_delete, 1);
    XSizeHints hints{};
    hints.flags = PPosition | PSize;
    XSetWMNormalHints(td.dpy, x->xid, &hints);
    x->surface = cairo_xlib_surface_create(
        td.dpy, x->xid, DefaultVisual(td.dpy, DefaultScreen(td.dpy)), x->pw, x->ph);
    td.windows[x->xid] = &w;
    w.backend_data = x;
    Sync(td, w, *x);
  }

  void WindowClosed(Window& w) override {
    XWin* x = Data(w);
    if (x == nullptr) return;
    ThreadDisplay& td = t_display;
    if (x->popup && x->mapped) {
      XUngrabPointer(x->dpy, CurrentTime);
      XUngrabKeyboard(x->dpy, CurrentTime);
    }
    if (x->tip_shown) td.tooltip.Hide(x->dpy);
    cairo_surface_destroy(x->surface);
    XDestroyWindow(x->dpy, x->xid);
    td.windows.erase(x->xid);
    XFlush(x->dpy);
    delete x;
    w.backend_data = nullptr;
  }

  void WindowChanged(Window& w) override {
    if (w.thread() != Thread()) WakeThread(w.thread());
  }

  int WaitFd() override {
    return t_display.dpy && !t_display.windows.empty() ? ConnectionNumber(t_display.dpy) : -1;
  }

  void BeforeWait() override {
    ThreadDisplay& td = t_display;
    if (td.dpy == nullptr) return;
    // Painting and the round trips of a tool tip read events off the connection into Xlib's
    // queue, where the wait's poll no longer sees them: a click that came then would wait
    // behind the sleep for the next event. Go round until that queue is empty.
    do {
      Pump();
      for (auto& [xid, w] : td.windows) {
        if (XWin* x = Data(*w)) {
          Sync(td, *w, *x);
          UpdateTooltip(td, *w, *x);
        }
      }
      XFlush(td.dpy);
    } while (XEventsQueued(td.dpy, QueuedAlready) > 0);
  }

  int WaitTimeoutMs() override {
    for (auto& [xid, w] : t_display.windows) {
      XWin* x = Data(*w);
      if (x && x->hover_field != 0 && !x->tip_shown)
        return static_cast<int>(std::max<int64_t>(0, x->hover_since + kTooltipDelayMs - NowMs()));
    }
    return -1;
  }

  void Pump() override {
    ThreadDisplay& td = t_display;
    if (td.dpy == nullptr) return;
    while (XPending(td.dpy) > 0) {
      XEvent ev;
      XNextEvent(td.dpy, &ev);
      Handle(td, ev);
    }
  }

  void Raise(Window& w) override {
    XWin* x = Data(w);
    if (x == nullptr) return;
    if (!x->mapped) {
      x->focus_on_map = true;  // mapping raises it, and the focus follows once it is mapped
      return;
    }
    XRaiseWindow(x->dpy, x->xid);
    XSetInputFocus(x->dpy, x->xid, RevertToParent, CurrentTime);
    XFlush(x->dpy);
  }

  // The connection goes with the thread's runtime life, not with the system thread: a thread
  // that ended must not still be closing it while its host unloads or exits.
  void ThreadEnding() override {
    if (t_display.windows.empty()) t_display.Close();
  }

  void Beep() override {
    if (t_display.dpy) XBell(t_display.dpy, 0);
  }

 private:
  static constexpr int64_t kTooltipDelayMs = 500;

  // Brings the server's window up to date with the model: size, place, caption, mapping, paint.
  void Sync(ThreadDisplay& td, Window& w, XWin& x) {
    const paint::SizePx size = paint::WindowSizePx(w);
    const int pw = size.width, ph = size.height;
    if (pw != x.pw || ph != x.ph || w.x() != x.model_x || w.y() != x.model_y) {
      x.pw = pw;
      x.ph = ph;
      x.model_x = w.x();
      x.model_y = w.y();
      XMoveResizeWindow(td.dpy, x.xid, PosPx(w.x(), w.PxPerDuX()), PosPx(w.y(), w.PxPerDuY()), pw,
                        ph);
      cairo_xlib_surface_set_size(x.surface, pw, ph);
      x.painted = ~uint64_t{0};
    }
    if (w.caption() != x.caption) {
      x.caption = w.caption();
      const std::string utf8 = Cp1252ToUtf8(x.caption);
      XStoreName(td.dpy, x.xid, utf8.c_str());
      XChangeProperty(td.dpy, x.xid, td.net_wm_name, td.utf8, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(utf8.data()),
                      static_cast<int>(utf8.size()));
    }
    if (w.GetPropInt(0, kPropToolbox) != 0) {
      XChangeProperty(td.dpy, x.xid, td.wm_type, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&td.type_utility), 1);
    }
    if (w.hidden() && x.mapped) {
      XUnmapWindow(td.dpy, x.xid);
      x.mapped = false;
    } else if (!w.hidden() && !x.mapped) {
      XMapRaised(td.dpy, x.xid);
      x.mapped = true;
      x.focus_on_map = true;
    }
    if (x.mapped && x.painted != w.generation) Paint(w, x);
  }

  void Paint(const Window& w, XWin& x) {
    cairo_t* cr = cairo_create(x.surface);
    cairo_push_group(cr);
    paint::PaintWindow(cr, w);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(x.surface);
    x.painted = w.generation;
  }

  void UpdateTooltip(ThreadDisplay& td, Window& w, XWin& x) {
    if (x.hover_field == 0 || x.tip_shown || NowMs() < x.hover_since + kTooltipDelayMs) return;
    const Control* c = w.Find(x.hover_field);
    if (c == nullptr || c->tooltip.empty() || !w.Visible(*c)) return;
    int root_x = 0, root_y = 0;
    ::Window child;
    XTranslateCoordinates(td.dpy, x.xid, DefaultRootWindow(td.dpy), PosPx(c->x, w.PxPerDuX()),
                          PosPx(c->y + w.AutoHeight(*c), w.PxPerDuY()) + 4, &root_x, &root_y,
                          &child);
    td.tooltip.Show(td.dpy, root_x, root_y, c->tooltip);
    x.tip_shown = true;
  }

  // The control under the pointer that has a tool tip (the topmost by field).
  static int TooltipField(const Window& w, double px, double py) {
    const int hit = input::HitTest(w, px, py);
    if (hit != 0 && !w.Find(hit)->tooltip.empty()) return hit;
    const double dx = px / w.PxPerDuX(), dy = py / w.PxPerDuY();
    for (auto it = w.controls().rbegin(); it != w.controls().rend(); ++it) {
      const Control& c = **it;
      if (c.tooltip.empty() || !w.Visible(c)) continue;
      if (dx >= c.x && dy >= c.y && dx < c.x + w.AutoWidth(c) && dy < c.y + w.AutoHeight(c))
        return c.field;
    }
    return 0;
  }

  void Motion(ThreadDisplay& td, Window& w, XWin& x, int px, int py) {
    const int field = TooltipField(w, px, py);
    if (field != x.hover_field) {
      if (x.tip_shown) td.tooltip.Hide(td.dpy);
      x.tip_shown = false;
      x.hover_field = field;
      x.hover_since = NowMs();
    }
    const int hit = input::HitTest(w, px, py);
    const Control* c = hit ? w.Find(hit) : nullptr;
    const bool hand = c && (strcasestr(c->cursor.c_str(), "hand") != nullptr);
    XDefineCursor(td.dpy, x.xid, hand ? td.hand : None);
  }

  void Handle(ThreadDisplay& td, XEvent& ev) {
    auto it = td.windows.find(ev.xany.window);
    if (it == td.windows.end()) return;
    Window& w = *it->second;
    XWin& x = *Data(w);
    switch (ev.type) {
      case Expose:
        if (ev.xexpose.count == 0) x.painted = ~uint64_t{0};
        break;
      case MapNotify:
        if (x.focus_on_map) {
          x.focus_on_map = false;
          if (x.popup) {
            // Without owner events: every press and key goes to the menu, even over another
            // window of this thread (a press outside it then dismisses it).
            XGrabPointer(td.dpy, x.xid, False, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime);
            XGrabKeyboard(td.dpy, x.xid, False, GrabModeAsync, GrabModeAsync, CurrentTime);
          } else {
            XSetInputFocus(td.dpy, x.xid, RevertToParent, CurrentTime);
          }
          input::WindowFocus(w, true);
        }
        break;
      case ConfigureNotify:
        if (ev.xconfigure.width != x.pw || ev.xconfigure.height != x.ph) {
          x.pw = ev.xconfigure.width;
          x.ph = ev.xconfigure.height;
          cairo_xlib_surface_set_size(x.surface, x.pw, x.ph);
          input::Resized(w, x.pw, x.ph);
          x.model_x = w.x();
          x.model_y = w.y();
        }
        break;
      case ButtonPress: {
        const int px = ev.xbutton.x, py = ev.xbutton.y;
        if (x.popup && (px < 0 || py < 0 || px >= x.pw || py >= x.ph)) {
          input::WindowFocus(w, false);  // a press outside a menu dismisses it
          break;
        }
        if (x.tip_shown) td.tooltip.Hide(td.dpy), x.tip_shown = false;
        if (!x.popup) XSetInputFocus(td.dpy, x.xid, RevertToParent, CurrentTime);
        if (ev.xbutton.button == Button1) input::MouseDown(w, kMouseLeft, px, py);
        if (ev.xbutton.button == Button3) input::MouseDown(w, kMouseRight, px, py);
        if (ev.xbutton.button == Button4 || ev.xbutton.button == Button5)
          input::Key(w, ev.xbutton.button == Button4 ? kUpKey : kDownKey);
        break;
      }
      case KeyPress: {
        KeyInput k = TranslateKey(ev.xkey);
        if (k.keycode != 0) input::Key(w, k.keycode, k.text);
        break;
      }
      case MotionNotify:
        Motion(td, w, x, ev.xmotion.x, ev.xmotion.y);
        break;
      case LeaveNotify:
        if (x.tip_shown) td.tooltip.Hide(td.dpy);
        x.tip_shown = false;
        x.hover_field = 0;
        break;
      case FocusIn:
        if (ev.xfocus.mode != NotifyGrab && ev.xfocus.mode != NotifyUngrab &&
            ev.xfocus.detail != NotifyInferior && ev.xfocus.detail != NotifyPointer)
          input::WindowFocus(w, true);
        break;
      case FocusOut: {
        if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab ||
            ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer)
          break;
        // Focus moving to another window of this thread arrives as a FocusIn right after:
        // take it first, so the window under a modal dialog sees no loss of focus.
        XEvent next;
        if (XCheckTypedEvent(td.dpy, FocusIn, &next)) Handle(td, next);
        input::WindowFocus(w, false);
        break;
      }
      case ClientMessage:
        if (static_cast<Atom>(ev.xclient.data.l[0]) == td.wm_delete) input::CloseRequest(w);
        break;
    }
  }

  ::Display* probe_;
  int screen_w_, screen_h_;
};

// The display's resolution: the Xft.dpi resource when set, else from the screen's size.
double ReadDpi(::Display* dpy) {
  if (const char* rms = XResourceManagerString(dpy)) {
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(rms);
    char* type = nullptr;
    XrmValue value;
    double dpi = 0;
    if (db && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
      dpi = std::atof(value.addr);
    if (db) XrmDestroyDatabase(db);
    if (dpi > 0) return dpi;
  }
  const int screen = DefaultScreen(dpy);
  const int mm = DisplayWidthMM(dpy, screen);
  const double dpi = mm > 0 ? DisplayWidth(dpy, screen) * 25.4 / mm : 96;
  return dpi > 40 && dpi < 400 ? std::round(dpi) : 96;
}

}  // namespace

unsigned long X11WindowId(const Window& w) {
  const XWin* x = Data(w);
  return x ? x->xid : 0;
}

bool X11Painted(const Window& w) {
  const XWin* x = Data(w);
  return x != nullptr && x->mapped && x->painted == w.generation;
}

std::unique_ptr<Backend> MakeX11Backend() {
  static std::once_flag once;
  std::call_once(once, [] {
    XInitThreads();
    XSetErrorHandler(IgnoreXErrors);
  });
  ::Display* probe = XOpenDisplay(nullptr);
  if (probe == nullptr) return nullptr;
  const int screen = DefaultScreen(probe);
  SetDisplayDpi(ReadDpi(probe));
  // The probe stays open: a server whose last client leaves resets itself, and a thread opening
  // its own connection meanwhile would be refused.
  return std::make_unique<X11Backend>(probe, DisplayWidth(probe, screen),
                                      DisplayHeight(probe, screen));
}

}  // namespace rt
