// `vistip check` on a file of 10,000 typical tips: each compiled at its width, its settings and
// links examined. Every tip's text differs, so no wrapped layout is reused from another.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/tip_check.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

constexpr int kTips = 10000;

std::vector<TipText> TypicalTips() {
  std::vector<TipText> tips;
  for (int i = 0; i < kTips; ++i) {
    const std::string n = std::to_string(i);
    TipText t;
    t.procedure = "Form" + std::to_string(i / 50);
    t.control = "Control" + n;
    t.type = "ENTRY";
    t.text = "Field " + n + "\r\nThe value of field " + n +
             " as it is filed; it is given when the record is first entered.\r\n\r\n"
             "<B1> Look it up\r\n<HR>\r\nSee <LNK:Control" +
             std::to_string((i + 1) % kTips) + ">\r\nSite <http://www.example.com/" + n + ">\r\n" +
             "<T1> Numbers are unique|<T1> and never reused";
    t.settings =
        "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find\xAB"
        "CALL;EXElookup.exe " +
        n + "\xAB[LNK1]LINKTIPPROC;Form" + std::to_string(((i + 1) % kTips) / 50) +
        "\xAB"
        "LINKTIPCTL;Control" +
        std::to_string((i + 1) % kTips) + "\xAB";
    tips.push_back(std::move(t));
  }
  return tips;
}

void CheckTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const auto dir =
      std::filesystem::temp_directory_path() / ("vistip-check-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "tips.tps").string();
  if (!ImportTips(file, TypicalTips()).ok) state.SkipWithError("cannot write the tip file");
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
