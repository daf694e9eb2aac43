// `vistip check` on a file of 10,000 typical tips: each compiled at its width, its settings and
// links examined; and what the command adds to that, the review of settings values and calls.
// Every tip's text differs, so no wrapped layout is reused from another.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/settings_review.h"
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

// The file of typical tips in a directory of its own, removed with it.
class TypicalTipFile {
 public:
  explicit TypicalTipFile(benchmark::State& state)
      : dir_(std::filesystem::temp_directory_path() /
             ("vistip-check-bench-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(dir_);
    if (!ImportTips(path(), TypicalTips()).ok) state.SkipWithError("cannot write the tip file");
  }
  ~TypicalTipFile() { std::filesystem::remove_all(dir_); }
  std::string path() const { return (dir_ / "tips.tps").string(); }

 private:
  std::filesystem::path dir_;
};

void CheckTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const TypicalTipFile tip_file(state);
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

// What `vistip check` adds to CheckTipFile: the file read again, its settings values searched for
// a hidden restart, and (with --calls) its calls listed.
void ReviewTenThousandTips(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const TypicalTipFile tip_file(state);
  for (auto _ : state) {
    std::vector<TipText> tips;
    CheckResult r;
    if (!ExportTips(tip_file.path(), tips).ok) state.SkipWithError("cannot read the tip file");
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
