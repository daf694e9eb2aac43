// Converting an old-layout tip file with UpgradeTipFile, copy and wait window included, on the
// headless backend. Each iteration converts a fresh copy of the same old file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tipstore/old_tip_file.h"
#include "tipstore/upgrade.h"

namespace {

// A temporary directory as the current directory, holding an old file of `records` tips.
class OldFileDirectory {
 public:
  explicit OldFileDirectory(int32_t records) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tipbench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    dir_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    ok_ = vistip::WriteOldTipFile(kOld, records, [](int32_t n, vistip::OldTipBuffer& r) {
            const std::string id = std::to_string(n);
            r.PROCEDURENAME = "Procedure" + std::to_string(n % 50);
            r.CONTROLNAME = "?Control" + id;
            r.CONTROLTYPE = n % 2 ? "BUTTON" : "ENTRY";
            r.HELPTIP = "A tip of an ordinary length for control " + id + ", with {b}markup{/b}.";
            r.SETTINGS = "[1]FONT=Arial,10,0,700;";
          }) == 0;
  }
  ~OldFileDirectory() {
    if (dir_.empty()) return;
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  bool ok() const { return ok_; }
  static constexpr const char* kOld = "Old.Tps";

 private:
  std::filesystem::path dir_, previous_;
  bool ok_ = false;
};

void BM_UpgradeTipFile(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const auto records = static_cast<int32_t>(state.range(0));
  OldFileDirectory files(records);
  if (!files.ok()) {
    state.SkipWithError("the old file could not be made");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(OldFileDirectory::kOld, "Vistip.Tps",
                               std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    vistip::UpgradeTipFile("Vistip.Tps");
  }
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_UpgradeTipFile)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
