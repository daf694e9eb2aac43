// The one interface between the window model and a screen. Two implementations: headless
// (tests, rendering to PNG) and X11. Controls never see either; they only describe themselves.
#pragma once

#include <string>

#include "runtime/harness.h"  // UseHeadlessBackend

namespace rt {

class Window;

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* name() const = 0;
  // Called with the runtime lock held, on the window's own thread.
  virtual void WindowOpened(Window& w) = 0;
  virtual void WindowClosed(Window& w) = 0;
  // Geometry, visibility, caption or content changed; repaint soon.
  virtual void WindowChanged(Window& w) = 0;
  // A descriptor the calling thread's event loop polls besides its own wake-up, or -1.
  virtual int WaitFd() { return -1; }
  // Reads what the descriptor has for the calling thread and feeds it to the input layer.
  virtual void Pump() {}
  // Called by an event loop before it waits: bring the calling thread's windows up to date.
  virtual void BeforeWait() {}
  // The calling runtime thread is ending, its windows closed: let go of what it held (its
  // display connection), so that nothing of it is left once Join reports it ended.
  virtual void ThreadEnding() {}
  // Milliseconds until the backend needs the calling thread's loop again (tool tips), or -1.
  virtual int WaitTimeoutMs() { return -1; }
  // Brings the window in front of every other window on the screen and gives it the input focus
  // (the help viewer coming forward). Call on the window's own thread.
  virtual void Raise(Window&) {}
  virtual void Beep() {}
  virtual std::string ClipboardText() { return clipboard_; }
  virtual void SetClipboardText(const std::string& text) { clipboard_ = text; }
  // Screen size in pixels, for default window positions.
  virtual int ScreenWidth() const { return 1280; }
  virtual int ScreenHeight() const { return 1024; }

 protected:
  std::string clipboard_;
};

// The process's backend: X11 when $DISPLAY is set (and VTRT_BACKEND is not "headless"),
// headless otherwise. Chosen on first use.
Backend& CurrentBackend();
// The backend if one has been chosen, else nullptr (choosing one may open a display).
Backend* ChosenBackend();

}  // namespace rt
