// `vistip check` on a file of 10,000 typical tips: each compiled at its width, its settings and
// links examined. Every tip's text differs, so no wrapped layout is reused from another.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/tools/typical_tips.h"
#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/tip_check.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

constexpr int kTips = 10000;

void CheckTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const auto dir =
      std::filesystem::temp_directory_path() / ("vistip-check-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "tips.tps").string();
  if (!ImportTips(file, TypicalTips(kTips)).ok) state.SkipWithError("cannot write the tip file");
  for (auto _ : state) {
    const CheckResult r = CheckTipFile(file);
    if (!r.ok || r.tips != kTips || !r.problems.empty())
      state.SkipWithError((r.error + (r.problems.empty() ? "" : r.problems[0].message)).c_str());
    benchmark::DoNotOptimize(r.problems.size());
  }
  state.counters["tips"] = kTips;
  std::filesystem::remove_all(dir);
}
BENCHMARK(CheckTenThousandTips)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vistip
