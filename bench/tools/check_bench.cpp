// `vistip check` on a file of 10,000 typical tips: each compiled at its width, its settings and
// links examined; and what the command adds to that, the review of settings values and calls.
// Every tip's text differs, so no wrapped layout is reused from another.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/tools/typical_tips.h"
#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/settings_review.h"
#include "tools/tip_check.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

constexpr int kTips = 10000;

void CheckTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const TypicalTipFile tip_file(state, kTips);
  const std::string file = tip_file.path();
  for (auto _ : state) {
    const CheckResult r = CheckTipFile(file);
    if (!r.ok || r.tips != kTips || !r.problems.empty())
      state.SkipWithError((r.error + (r.problems.empty() ? "" : r.problems[0].message)).c_str());
    benchmark::DoNotOptimize(r.problems.size());
  }
  state.counters["tips"] = kTips;
}
BENCHMARK(CheckTenThousandTips)->Unit(benchmark::kMillisecond)->Iterations(3);

// What `vistip check` adds to CheckTipFile: the tips it read searched for settings values with
// a hidden restart, and (with --calls) their calls listed.
void ReviewTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const TypicalTipFile tip_file(state, kTips);
  std::vector<TipText> tips;
  if (!ExportTips(tip_file.path(), tips).ok) state.SkipWithError("cannot read the tip file");
  for (auto _ : state) {
    CheckResult r;
    AddHiddenRestartProblems(tips, r);
    const std::vector<TipCall> calls = ListTipCalls(tips);
    if (!r.problems.empty() || calls.size() != kTips) state.SkipWithError("unexpected review");
    benchmark::DoNotOptimize(calls.size());
  }
  state.counters["tips"] = kTips;
}
BENCHMARK(ReviewTenThousandTips)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vistip
