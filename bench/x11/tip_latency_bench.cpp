// From the "What's This" pick to the tip drawn on an X server: a host form under a private Xvfb
// is right-clicked and its menu item picked with real mouse input (xdotool); the time runs from
// the moment VTWATCH hands the pick to the host until the tip's pixels read back from the
// server show it drawn. The tip window builds on its first timer tick (100 ms) by design.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/support/xvfb.h"
#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

void PickToTipDrawn(benchmark::State& state) {
  // Never stopped: the runtime's connections close only when the process ends, and the server
  // ends with it.
  static const auto* const xvfb = new testsupport::Xvfb;
  if (!xvfb->running() || !testsupport::Xvfb::Found("xdotool")) {
    state.SkipWithError("Xvfb or xdotool is not installed");
    return;
  }
  rt::RuntimeThread thread;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vistip_x11_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path old_dir = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  if (BuildSampleTips(dir / "tips.tps")) {
    X11Host host("tips.tps", 280, 260);
    if (!host.WaitShown()) state.SkipWithError("the host form did not appear");
    for (auto _ : state) {
      rt::Window* tip = ShowTipFor(host, kCustomer);
      const auto drawn = std::chrono::steady_clock::now();
      if (tip == nullptr) {
        state.SkipWithError("no tip came up");
        break;
      }
      state.SetIterationTime(std::chrono::duration<double>(drawn - host.picked_at()).count());
      const int32_t t = tip->thread();
      rt::harness::CloseWindow(*tip);
      rt::Join(t);
      // A pause between picks, as a person makes: the form settles before the next right-click.
      rt::WaitFor([] { return false; }, std::chrono::milliseconds(300));
    }
  }
  std::filesystem::current_path(old_dir);
  std::filesystem::remove_all(dir);
}
BENCHMARK(PickToTipDrawn)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace x11test
