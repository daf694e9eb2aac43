// X key events as the runtime's key codes (virtual keys plus Shift/Ctrl/Alt bits) and the
// Windows-1252 text they type.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

namespace rt {

struct KeyInput {
  int32_t keycode = 0;  // 0: a modifier alone, or a key the runtime has no code for
  std::string text;     // what the key types, empty for keys that type nothing
};

KeyInput TranslateKey(XKeyEvent& ev);

}  // namespace rt
