// Translation of X key events into the runtime's key codes.
#include "runtime/x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "runtime/codes.h"

namespace rt {
namespace {

// Keys that type nothing, by keysym.
int32_t NamedKey(KeySym sym) {
  if (sym >= XK_F1 && sym <= XK_F12) return kF1Key + static_cast<int32_t>(sym - XK_F1);
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter:
      return kEnterKey;
    case XK_Escape:
      return kEscKey;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return kTabKey;
    case XK_BackSpace:
      return kBackspaceKey;
    case XK_Delete:
    case XK_KP_Delete:
      return kDeleteKey;
    case XK_Insert:
      return kInsertKey;
    case XK_Left:
    case XK_KP_Left:
      return kLeftKey;
    case XK_Right:
    case XK_KP_Right:
      return kRightKey;
    case XK_Up:
    case XK_KP_Up:
      return kUpKey;
    case XK_Down:
    case XK_KP_Down:
      return kDownKey;
    case XK_Home:
    case XK_KP_Home:
      return kHomeKey;
    case XK_End:
    case XK_KP_End:
      return kEndKey;
    case XK_Prior:
      return kPgUpKey;
    case XK_Next:
      return kPgDnKey;
  }
  return 0;
}

}  // namespace

KeyInput TranslateKey(XKeyEvent& ev) {
  KeyInput k;
  char buf[16];
  KeySym sym = 0;
  const int n = XLookupString(&ev, buf, sizeof buf, &sym, nullptr);
  int32_t mods = 0;
  if (ev.state & ShiftMask) mods |= kShift;
  if (ev.state & ControlMask) mods |= kCtrl;
  if (ev.state & Mod1Mask) mods |= kAlt;
  if (int32_t named = NamedKey(sym)) {
    k.keycode = named + mods;
    if (named == kTabKey && sym == XK_ISO_Left_Tab) k.keycode = kTabKey + kShift;
    return k;
  }
  // Letters and digits carry their upper-case code; with Ctrl or Alt they are shortcuts.
  KeySym lower = 0, upper = 0;
  XConvertCase(sym, &lower, &upper);
  if (upper >= XK_A && upper <= XK_Z) {
    k.keycode = static_cast<int32_t>('A' + (upper - XK_A));
  } else if (sym >= XK_0 && sym <= XK_9) {
    k.keycode = static_cast<int32_t>('0' + (sym - XK_0));
  } else if (sym == XK_space) {
    k.keycode = kSpaceKey;
  } else if (n == 1) {
    k.keycode = static_cast<unsigned char>(buf[0]);
  }
  if (mods & (kCtrl | kAlt)) {
    k.keycode += mods & (kCtrl | kAlt | (mods & kShift));
    return k;
  }
  // Latin-1 keysyms type the same byte in Windows-1252.
  if (n == 1 && static_cast<unsigned char>(buf[0]) >= 0x20 && buf[0] != 0x7F)
    k.text = std::string(1, buf[0]);
  return k;
}

}  // namespace rt
