// User input, the same for every backend and for the test harness: a mouse press at a point,
// a key, text, focus and size changes become the runtime's events (alerts, accepted, selected,
// focus, sized), and edit the focused entry. Coordinates are pixels in the window's client area.
#pragma once

#include <cstdint>
#include <string_view>

namespace rt {

class Window;

namespace input {

// A press of mouse button 1 (left) or 2 (right) at a point.
void MouseDown(Window& w, int32_t button, double px, double py);
// A key with modifier bits (codes.h); text is what it types (Windows-1252), may be empty.
void Key(Window& w, int32_t keycode, std::string_view text = {});
void TypeText(Window& w, std::string_view text);
// Moves the keyboard focus to a field: the entry left is accepted if it changed (or rejected if
// its picture refuses it), the new one is selected.
void FocusField(Window& w, int32_t field);
// The window gained or lost the input focus (from the window manager, or the headless rules).
void WindowFocus(Window& w, bool gained);
// The user resized the window (pixels).
void Resized(Window& w, double width_px, double height_px);
// The user asked to close the window (its close control).
void CloseRequest(Window& w);
// The user chose a row of a list or drop combo (1-based).
void ChooseRow(Window& w, int32_t field, int32_t row);
// The field under a point, as a press there would hit it (0: the window itself).
int32_t HitTest(const Window& w, double px, double py);

}  // namespace input
}  // namespace rt
