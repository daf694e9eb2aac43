// Runtime threads. As on the original platform they are non-preemptive: one process-wide
// runtime lock is held by whichever runtime thread runs, and released only while it waits
// (its event loop, a modal dialog, Yield). Shared state is therefore used without locks of its
// own. Each thread has its own event queue; Post from any runtime thread wakes the target.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "runtime/export.h"

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// Makes the calling OS thread a runtime thread for its lifetime, holding the runtime lock.
// The first runtime thread of the process (normally the host's main thread) is number 1.
class VTRT_EXPORT RuntimeThread {
 public:
  RuntimeThread();
  ~RuntimeThread();
  RuntimeThread(const RuntimeThread&) = delete;
  RuntimeThread& operator=(const RuntimeThread&) = delete;
};

// START: runs proc on a new runtime thread; returns its number. The new thread runs once the
// caller waits.
int32_t Start(std::function<void()> proc);
// THREAD(): the calling runtime thread's number (0 for a thread that is not a runtime thread).
int32_t Thread();
// POST: queues an event for the current window of a thread (0: the calling thread).
// Returns false when there is no such thread.
bool Post(int32_t event, int32_t field = 0, int32_t thread = 0);
// YIELD: lets every other runnable runtime thread run before the caller goes on.
void Yield();
// Number of runtime threads now running.
int32_t ThreadCount();

// For tests and harnesses: releases the runtime lock until pred() holds (checked with the lock
// held) or the timeout passes; returns pred()'s last value.
bool WaitFor(const std::function<bool()>& pred,
             std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Waits until every other runtime thread is blocked waiting with no event queued for it.
bool WaitIdle(std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Waits until the thread has ended.
bool Join(int32_t thread, std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace rt
#pragma GCC visibility pop
