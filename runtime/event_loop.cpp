// The event loop of a window (ACCEPT), the current event's accessors, CYCLE, the process-wide
// key code and key aliases.
#include <algorithm>
#include <map>

#include "runtime/backend.h"
#include "runtime/thread_internal.h"
#include "runtime/window.h"

namespace rt {
namespace {

int32_t g_keycode = 0;                 // under the runtime lock
std::map<int32_t, int32_t> g_aliases;  // under the runtime lock

const EventRec& Current() {
  static const EventRec none;
  ThreadState* t = CurrentThreadState();
  return t ? t->current : none;
}

}  // namespace

// Runs in Window's friend context: the loop needs the window's closing state and timer.
class EventLoop {
 public:
  static bool Accept(Window& w) {
    ThreadState* t = CurrentThreadState();
    if (t == nullptr || !w.open_) return false;
    // The default action of the event just handled, unless a handler cycled it.
    if (t->current.event == kEventCloseWindow && t->current.window_id == w.id_ && !t->cycled)
      w.closing_ = true;
    t->current = EventRec{};
    t->cycled = false;
    if (w.closing_) return false;
    for (;;) {
      if (!w.open_) return false;
      if (TakeQueued(*t, w)) return true;
      const int64_t now = NowMs();
      if (w.timer_due_ms != 0 && now >= w.timer_due_ms) {
        w.RestartTimer();
        t->current = EventRec{kEventTimer, 0, 0, w.id_};
        return true;
      }
      Backend& backend = CurrentBackend();
      backend.BeforeWait();
      if (TakeQueued(*t, w)) return true;
      int timeout = w.timer_due_ms == 0 ? -1 : static_cast<int>(w.timer_due_ms - now);
      const int backend_timeout = backend.WaitTimeoutMs();
      if (backend_timeout >= 0 && (timeout < 0 || backend_timeout < timeout))
        timeout = backend_timeout;
      if (WaitForWork(*t, backend.WaitFd(), timeout)) backend.Pump();
    }
  }

 private:
  // Takes the first queued event for this window. Input addressed to another window of the
  // thread (one under a modal dialog) is dropped, as the platform refuses it.
  static bool TakeQueued(ThreadState& t, Window& w) {
    while (!t.queue.empty()) {
      EventRec e = t.queue.front();
      t.queue.pop_front();
      if (e.window_id != 0 && e.window_id != w.id_) continue;
      e.window_id = w.id_;
      if (e.keycode != 0) g_keycode = e.keycode;
      t.current = e;
      return true;
    }
    return false;
  }
};

bool Window::Accept() {
  return EventLoop::Accept(*this);
}

int32_t Event() {
  return Current().event;
}
int32_t Field() {
  return Current().field;
}
int32_t MouseX() {
  Window* w = CurrentWindow();
  return w ? w->mouse_x : 0;
}
int32_t MouseY() {
  Window* w = CurrentWindow();
  return w ? w->mouse_y : 0;
}
int32_t KeyCode() {
  return g_keycode;
}
void SetKeyCode(int32_t keycode) {
  g_keycode = keycode;
}

void Cycle() {
  if (ThreadState* t = CurrentThreadState()) t->cycled = true;
}

void Alias(int32_t from, int32_t to) {
  if (from == 0 && to == 0) {
    g_aliases.clear();
  } else if (from == to) {
    g_aliases.erase(from);
  } else {
    g_aliases[from] = to;
  }
}

int32_t Aliased(int32_t keycode) {
  auto it = g_aliases.find(keycode);
  return it == g_aliases.end() ? keycode : it->second;
}

}  // namespace rt
