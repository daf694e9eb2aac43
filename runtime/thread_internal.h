// Inside the runtime: the runtime lock, each runtime thread's state and event queue.
// Not installed; used by the event loop, windows, input and backends.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

namespace rt {

class Window;

// The process-wide runtime lock, granted in arrival order so Yield lets every waiter run.
void LockRuntime();
void UnlockRuntime();

struct EventRec {
  int32_t event = 0;
  int32_t field = 0;
  int32_t keycode = 0;      // input events: the key or button; 0 for posted events
  uint64_t window_id = 0;  // 0: the thread's current window when the event is taken
};

struct ThreadState {
  int32_t number = 0;
  std::deque<EventRec> queue;       // under the runtime lock
  int wake_fd = -1;                 // eventfd: written by Post, polled by the event loop
  std::vector<Window*> windows;     // open windows, the current one last
  EventRec current;                 // the event being handled
  bool cycled = false;              // Cycle() called for the current event
  bool waiting = false;             // blocked in the event loop with nothing to do
  bool ended = false;
};

// The calling thread's state, or nullptr when it is not a runtime thread.
ThreadState* CurrentThreadState();
ThreadState* FindThread(int32_t number);
// Appends an event to a thread's queue and wakes it (runtime lock held).
void Enqueue(ThreadState& t, const EventRec& e);
// Wakes a thread's event loop without giving it an event (its windows need redrawing).
void WakeThread(int32_t number);
// Blocks the calling runtime thread, lock released, until its queue has an event, the backend's
// descriptor is readable or the timeout (ms, -1 = none) passes. Returns true if the backend
// descriptor was readable.
bool WaitForWork(ThreadState& t, int backend_fd, int timeout_ms);

int64_t NowMs();  // steady clock, milliseconds

}  // namespace rt
