// Runtime threads: the arrival-ordered runtime lock, thread registry, START/POST/YIELD, and the
// waits used by event loops and test harnesses.
#include "runtime/thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>

#include "runtime/backend.h"
#include "runtime/thread_internal.h"
#include "runtime/window.h"

namespace rt {
namespace {

struct TicketLock {
  std::mutex m;
  std::condition_variable cv;
  uint64_t next = 0;
  uint64_t serving = 0;
};

TicketLock& Lock() {
  static TicketLock* lock = new TicketLock;  // never destroyed: threads may outlive statics
  return *lock;
}

struct Registry {
  std::map<int32_t, std::shared_ptr<ThreadState>> threads;  // under the runtime lock
  int32_t next_number = 1;
};

Registry& Threads() {
  static Registry* registry = new Registry;
  return *registry;
}

thread_local ThreadState* tls_state = nullptr;

std::shared_ptr<ThreadState> Register() {
  auto state = std::make_shared<ThreadState>();
  state->number = Threads().next_number++;
  state->wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  Threads().threads[state->number] = state;
  return state;
}

void Unregister(ThreadState& state) {
  // Windows the procedure left open close with their thread.
  while (!state.windows.empty()) state.windows.back()->Close();
  if (Backend* backend = ChosenBackend()) backend->ThreadEnding();
  state.ended = true;
  if (state.wake_fd >= 0) close(state.wake_fd);
  state.wake_fd = -1;
  Threads().threads.erase(state.number);
}

}  // namespace

void LockRuntime() {
  TicketLock& l = Lock();
  std::unique_lock<std::mutex> guard(l.m);
  const uint64_t ticket = l.next++;
  l.cv.wait(guard, [&] { return l.serving == ticket; });
}

void UnlockRuntime() {
  TicketLock& l = Lock();
  {
    std::lock_guard<std::mutex> guard(l.m);
    ++l.serving;
  }
  l.cv.notify_all();
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ThreadState* CurrentThreadState() {
  return tls_state;
}

ThreadState* FindThread(int32_t number) {
  auto it = Threads().threads.find(number);
  return it == Threads().threads.end() ? nullptr : it->second.get();
}

void Enqueue(ThreadState& t, const EventRec& e) {
  t.queue.push_back(e);
  t.waiting = false;
  if (t.wake_fd >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(t.wake_fd, &one, sizeof one);
  }
}

void WakeThread(int32_t number) {
  ThreadState* t = FindThread(number);
  if (t == nullptr || t->wake_fd < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(t->wake_fd, &one, sizeof one);
}

bool WaitForWork(ThreadState& t, int backend_fd, int timeout_ms) {
  if (!t.queue.empty()) return false;
  pollfd fds[2] = {{t.wake_fd, POLLIN, 0}, {backend_fd, POLLIN, 0}};
  const nfds_t count = backend_fd >= 0 ? 2 : 1;
  t.waiting = true;
  UnlockRuntime();
  int rc;
  do {
    rc = poll(fds, count, timeout_ms);
  } while (rc < 0 && errno == EINTR);
  if (rc > 0 && (fds[0].revents & POLLIN)) {
    uint64_t value;
    [[maybe_unused]] ssize_t n = read(t.wake_fd, &value, sizeof value);
  }
  LockRuntime();
  t.waiting = false;
  return rc > 0 && count == 2 && (fds[1].revents & POLLIN);
}

RuntimeThread::RuntimeThread() {
  LockRuntime();
  tls_state = Register().get();
}

RuntimeThread::~RuntimeThread() {
  Unregister(*tls_state);
  tls_state = nullptr;
  UnlockRuntime();
}

int32_t Start(std::function<void()> proc) {
  std::shared_ptr<ThreadState> state = Register();
  const int32_t number = state->number;
  std::thread([state, proc = std::move(proc)] {
    LockRuntime();
    tls_state = state.get();
    proc();
    Unregister(*state);
    tls_state = nullptr;
    UnlockRuntime();
  }).detach();
  return number;
}

int32_t Thread() {
  return tls_state ? tls_state->number : 0;
}

bool Post(int32_t event, int32_t field, int32_t thread) {
  ThreadState* target = thread == 0 ? tls_state : FindThread(thread);
  if (target == nullptr) return false;
  EventRec e;
  e.event = event;
  e.field = field;
  Enqueue(*target, e);
  return true;
}

void Yield() {
  UnlockRuntime();
  LockRuntime();
}

int32_t ThreadCount() {
  return static_cast<int32_t>(Threads().threads.size());
}

bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const int64_t deadline = NowMs() + timeout.count();
  for (;;) {
    if (pred()) return true;
    if (NowMs() >= deadline) return false;
    UnlockRuntime();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    LockRuntime();
  }
}

bool WaitIdle(std::chrono::milliseconds timeout) {
  return WaitFor(
      [] {
        for (auto& [number, t] : Threads().threads) {
          if (t.get() == tls_state) continue;
          if (!t->waiting || !t->queue.empty()) return false;
        }
        return true;
      },
      timeout);
}

bool Join(int32_t thread, std::chrono::milliseconds timeout) {
  return WaitFor([thread] { return FindThread(thread) == nullptr; }, timeout);
}

}  // namespace rt
