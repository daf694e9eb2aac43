// Drives windows the way a person does, for tests and tools: clicks on fields or points, keys,
// typing, focus and size changes; then waits until the windows' threads have handled it.
// Call from a runtime thread other than the threads of the windows it drives.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/codes.h"
#include "runtime/window.h"

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {
// Forces the headless backend (tests, rendering); must be called before any window opens.
void UseHeadlessBackend();
}  // namespace rt

namespace rt::harness {

// Waits until every other runtime thread has handled all it was given.
bool Settle(std::chrono::milliseconds timeout = std::chrono::seconds(5));

// The open window that satisfies pred, waiting for it to appear; nullptr on timeout.
Window* WaitForWindow(const std::function<bool(const Window&)>& pred,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5));
Window* WaitForCaption(std::string_view caption,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5));
// The current window of a runtime thread (the one its loop serves), or nullptr.
Window* CurrentWindowOf(int32_t thread);

void Click(Window& w, int32_t field, int32_t button = kMouseLeft);  // middle of the field
void RightClick(Window& w, int32_t field);
void ClickAt(Window& w, int32_t x_du, int32_t y_du, int32_t button = kMouseLeft);
// Clicks the visible button whose text is `text` ("&No"); false when there is none.
bool ClickButton(Window& w, std::string_view text);
void Press(Window& w, int32_t keycode);
void Type(Window& w, std::string_view text);  // into the focused field
void Focus(Window& w, int32_t field);
void FocusAway(Window& w);  // the window loses the input focus to something outside
void FocusBack(Window& w);  // and gets it back
void Resize(Window& w, int32_t width_du, int32_t height_du);
void CloseWindow(Window& w);
void ChooseRow(Window& w, int32_t field, int32_t row);

// What the window shows.
std::string ShownText(const Window& w, int32_t field);
bool Shown(const Window& w, int32_t field);  // exists and is drawn
int32_t FieldWithText(const Window& w, std::string_view text);  // 0 when none

}  // namespace rt::harness
#pragma GCC visibility pop
