// An event posted to another runtime thread's window and answered back: the round trip of
// POST between two event loops, through the runtime lock and the threads' wake-ups.
#include <benchmark/benchmark.h>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace {

constexpr int32_t kPing = 0x500;
constexpr int32_t kPong = 0x501;

void BM_PostRoundTrip(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread self;
  const int32_t me = rt::Thread();
  bool ready = false;
  // The echo thread answers every ping with a pong to the benchmark's thread.
  const int32_t echo = rt::Start([&] {
    rt::Window w(rt::WindowDesc{});
    w.Open();
    ready = true;
    while (w.Accept())
      if (rt::Event() == kPing) rt::Post(kPong, 0, me);
  });
  rt::WaitFor([&] { return ready; });
  rt::Window w(rt::WindowDesc{});
  w.Open();
  rt::WaitIdle();
  while (w.Accept() && rt::Event() != rt::kEventGainFocus) {
  }
  for (auto _ : state) {
    rt::Post(kPing, 0, echo);
    while (w.Accept() && rt::Event() != kPong) {
    }
  }
  rt::Post(rt::kEventCloseWindow, 0, echo);
  rt::Join(echo);
}
BENCHMARK(BM_PostRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
