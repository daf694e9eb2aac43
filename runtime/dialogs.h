// The runtime's standard dialogs: POPUP, MESSAGE, STOP, FONTDIALOG and HELP. They are ordinary
// runtime windows: each of the first four opens on the calling thread and runs its own modal
// loop there (input for the windows under it is dropped meanwhile); the help viewer runs on a
// runtime thread of its own. Thread-safety: call from a runtime thread (runtime/thread.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/codes.h"

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// POPUP: a menu of the items of `items`, separated by "|". An item "-" is a separator (drawn as
// a rule, not counted); an item starting with "~" is shown greyed and cannot be chosen; "&"
// marks an item's mnemonic letter; empty items are left out and not counted. The menu opens at
// (x, y), dialog units of the calling thread's current window, or for kAtMouse at that window's
// last mouse position; it is kept on the screen. Returns the chosen item's number, counting
// items from 1 (disabled ones included, separators not), or 0 when the menu is dismissed (Esc,
// a click outside it, loss of focus). A menu with no items returns 0 at once without opening.
// Keys: Up, Down, Home, End move the highlight over the enabled items, Enter chooses it, a
// mnemonic letter (with or without Alt) chooses its item.
int32_t Popup(std::string_view items, int32_t x = kAtMouse, int32_t y = kAtMouse);

// MESSAGE: a message box with `text` ("|" breaks a line; long lines are wrapped), a caption, an
// icon (kIconAsterisk, kIconExclamation, kIconHand, kIconQuestion or kIconNone) and the buttons
// of `buttons` (kButtonOk | kButtonYes ..., shown in that order; none or only unknown bits give
// OK). The default button (the first one when `default_button` is not one of them) has the
// focus, so Enter presses it; each button's underlined letter presses it too. Returns the code
// of the pressed button; Esc or the close control give Cancel when there is one, else No when
// there is one, else the default button.
int32_t Message(std::string_view text, std::string_view caption = "", int32_t icon = kIconNone,
                int32_t buttons = kButtonOk, int32_t default_button = 0);

// For programs with nobody to answer a box (command-line tools): while a handler is set,
// MESSAGE and STOP open no window; the handler gets the text, a newline between the lines the box
// would start, and the caption, on the calling thread, and the call answers as Esc would. Returns
// the previous handler; an empty function restores the boxes.
using MessageHandler = std::function<void(std::string_view text, std::string_view caption)>;
MessageHandler SetMessageHandler(MessageHandler handler);

// STOP: shows `text` in the stop dialog, as it is ("|" breaks no line here; long lines are
// wrapped). "Ignore" (the default, also Esc) goes on and returns
// true; "Abort" ends the program through HALT with level 0 and does not return. Returns false
// only when the calling thread is not a runtime thread, so no dialog could be shown.
bool Stop(std::string_view text);

// FONTDIALOG: lets the user choose a typeface, a size in points, a colour (0BBGGRRH) and a style
// (weight | kFontItalic | kFontUnderline | kFontStrikeout; bold is weight 700), starting from
// the values given and showing a preview. "OK" writes the chosen values back and returns true;
// "Cancel", Esc or the close control return false and change nothing.
bool FontDialog(std::string_view title, std::string& typeface, int32_t& size, int32_t& color,
                int32_t& style);

// HELP: shows a topic of a help file (docs/help-format.md) in the help viewer, a window on its
// own runtime thread, opening it if need be; returns at once. The viewer takes the focus and
// gives it back to the window that had it when it closes. A missing topic shows the contents;
// a missing file shows a message in the viewer. A blank file means the viewer's present file.
void Help(std::string_view file, std::string_view topic);
// HELP with both arguments omitted: brings an open viewer to the front; otherwise nothing.
void Help();

}  // namespace rt
#pragma GCC visibility pop
