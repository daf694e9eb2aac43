// Runtime threads: START numbers, POST waking another thread's loop, and a stress run of
// windows with timers posting to each other, every event arriving exactly once.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

constexpr int32_t kPing = 0x500;  // a user event; its field carries a sequence number

TEST(Threads, StartNumbersThreadsAndPostWakesTheirLoop) {
  UseHeadlessBackend();
  RuntimeThread main_thread;
  const int32_t self = Thread();
  EXPECT_GE(self, 1);
  std::vector<int32_t> got;
  bool running = false;
  const int32_t t = Start([&] {
    Window w(WindowDesc{});
    w.Open();
    running = true;
    while (w.Accept()) {
      if (Event() == kPing) got.push_back(Field());
    }
  });
  EXPECT_GT(t, self);
  ASSERT_TRUE(WaitFor([&] { return running; }));
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(Post(kPing, 7, t));
  ASSERT_TRUE(WaitFor([&] { return !got.empty(); }));
  EXPECT_EQ(got, std::vector<int32_t>{7});
  ASSERT_TRUE(Post(kEventCloseWindow, 0, t));
  EXPECT_TRUE(Join(t));
  EXPECT_FALSE(Post(kPing, 1, t));  // the thread has gone
}

TEST(Threads, EightWindowsWithTimersPostToEachOtherExactlyOnce) {
  UseHeadlessBackend();
  RuntimeThread main_thread;
  constexpr int kThreads = 8;
  constexpr int kPerThread = 400;
  std::vector<int32_t> numbers(kThreads, 0);
  std::map<int32_t, std::vector<int>> received;  // receiver index -> count per sequence
  int started = 0, finished = 0;
  for (int i = 0; i < kThreads; ++i) {
    numbers[i] = Start([&, i] {
      WindowDesc d;
      d.timer = 1;  // every 10 ms
      Window w(d);
      w.Open();
      ++started;
      std::vector<int>& seen = received[i];
      seen.assign(kThreads * kPerThread, 0);
      int sent = 0;
      while (w.Accept()) {
        if (Event() == kPing) ++seen[Field()];
        if (Event() == kEventTimer || Event() == kPing) {
          // Send a few events per turn to the next threads, then let others run.
          for (int k = 0; k < 8 && sent < kPerThread; ++k, ++sent) {
            const int target = (i + 1 + sent % (kThreads - 1)) % kThreads;
            Post(kPing, i * kPerThread + sent, numbers[target]);
          }
          Yield();
        }
        if (Event() == kEventTimer && sent == kPerThread) ++finished, w.SetPropInt(0, kPropTimer, 0);
      }
    });
  }
  ASSERT_TRUE(WaitFor([&] { return finished == kThreads; }, std::chrono::seconds(30)));
  ASSERT_TRUE(WaitIdle());
  // Each event was sent once to one receiver; count them all.
  std::vector<int> total(kThreads * kPerThread, 0);
  for (auto& [receiver, seen] : received)
    for (size_t s = 0; s < seen.size(); ++s) total[s] += seen[s];
  for (size_t s = 0; s < total.size(); ++s) ASSERT_EQ(total[s], 1) << "event " << s;
  for (int32_t n : numbers) Post(kEventCloseWindow, 0, n);
  for (int32_t n : numbers) EXPECT_TRUE(Join(n));
  EXPECT_EQ(started, kThreads);
}

}  // namespace
}  // namespace rt
