// The tool tip shown after the pointer rests on a control: a small override-redirect window.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace rt {

class Tooltip {
 public:
  void Show(::Display* dpy, int root_x, int root_y, const std::string& text);
  void Hide(::Display* dpy);
  void Close(::Display* dpy);

 private:
  ::Window xid_ = 0;
};

}  // namespace rt
