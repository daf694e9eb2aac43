// The person-like driver of windows used by tests and tools.
#include "runtime/harness.h"

#include "runtime/input.h"
#include "runtime/thread.h"
#include "runtime/thread_internal.h"

namespace rt::harness {

bool Settle(std::chrono::milliseconds timeout) {
  return WaitIdle(timeout);
}

Window* WaitForWindow(const std::function<bool(const Window&)>& pred,
                      std::chrono::milliseconds timeout) {
  Window* found = nullptr;
  WaitFor(
      [&] {
        for (Window* w : OpenWindows())
          if (pred(*w)) return (found = w) != nullptr;
        return false;
      },
      timeout);
  return found;
}

Window* WaitForCaption(std::string_view caption, std::chrono::milliseconds timeout) {
  return WaitForWindow([caption](const Window& w) { return w.caption() == caption; }, timeout);
}

Window* CurrentWindowOf(int32_t thread) {
  ThreadState* t = FindThread(thread);
  return t && !t->windows.empty() ? t->windows.back() : nullptr;
}

void ClickAt(Window& w, int32_t x_du, int32_t y_du, int32_t button) {
  input::MouseDown(w, button, (x_du + 0.5) * w.PxPerDuX(), (y_du + 0.5) * w.PxPerDuY());
  Settle();
}

void Click(Window& w, int32_t field, int32_t button) {
  const Control* c = w.Find(field);
  if (c == nullptr) return;
  const double px = (c->x + w.AutoWidth(*c) / 2.0) * w.PxPerDuX();
  const double py = (c->y + w.AutoHeight(*c) / 2.0) * w.PxPerDuY();
  input::MouseDown(w, button, px, py);
  Settle();
}

void RightClick(Window& w, int32_t field) {
  Click(w, field, kMouseRight);
}

bool ClickButton(Window& w, std::string_view text) {
  for (const auto& c : w.controls()) {
    if (c->type == kCreateButton && c->text == text && w.Visible(*c)) {
      Click(w, c->field);
      return true;
    }
  }
  return false;
}

void Press(Window& w, int32_t keycode) {
  input::Key(w, keycode);
  Settle();
}

void Type(Window& w, std::string_view text) {
  input::TypeText(w, text);
  Settle();
}

void Focus(Window& w, int32_t field) {
  input::FocusField(w, field);
  Settle();
}

void FocusAway(Window& w) {
  input::WindowFocus(w, false);
  Settle();
}

void FocusBack(Window& w) {
  input::WindowFocus(w, true);
  Settle();
}

void Resize(Window& w, int32_t width_du, int32_t height_du) {
  input::Resized(w, width_du * w.PxPerDuX(), height_du * w.PxPerDuY());
  Settle();
}

void CloseWindow(Window& w) {
  input::CloseRequest(w);
  Settle();
}

void ChooseRow(Window& w, int32_t field, int32_t row) {
  input::ChooseRow(w, field, row);
  Settle();
}

std::string ShownText(const Window& w, int32_t field) {
  const Control* c = w.Find(field);
  return c ? w.DisplayText(*c) : std::string();
}

bool Shown(const Window& w, int32_t field) {
  const Control* c = w.Find(field);
  return c && !w.hidden() && w.Visible(*c);
}

int32_t FieldWithText(const Window& w, std::string_view text) {
  for (const auto& c : w.controls())
    if (w.DisplayText(*c) == text) return c->field;
  return 0;
}

}  // namespace rt::harness
