// The X11 backend; nullptr when no display can be opened.
#pragma once

#include <memory>

#include "runtime/backend.h"

namespace rt {

std::unique_ptr<Backend> MakeX11Backend();

class Window;
// The X window of a runtime window, 0 when it has none (for tests driving it with xdotool).
unsigned long X11WindowId(const Window& w);
// Whether the window is mapped and its present state has been drawn (for tests).
bool X11Painted(const Window& w);

}  // namespace rt
