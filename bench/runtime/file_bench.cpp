// Record-file driver speed on a tip file of 100,000 records: GET by key, OPEN, and 100,000 ADDs
// in one STREAM/FLUSH batch.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>

#include "tests/runtime/file_test_fixture.h"

namespace {

using filetest::TipFile;

constexpr int kRecords = 100000;

std::string Proc(int i) {
  return "BrowseProcedure" + std::to_string(i % 500);
}
std::string Control(int i) {
  return "?Control" + std::to_string(i);
}
std::string Type(int i) {
  return "TYPE" + std::to_string(i % 40);
}

// Adds the bench's records, the way the upgrade does: one batch.
bool FillFile(TipFile& tip) {
  if (tip->Create() != 0 || tip->Open(rt::kOpenExclusive) != 0 || tip->Stream() != 0) {
    return false;
  }
  const std::string text =
      "A tip of a typical length, with a [B]bold[/B] word and a link to "
      "another tip; it runs over two lines of the tip window.";
  for (int i = 0; i < kRecords; ++i) {
    tip.SetTip(Proc(i), Control(i), Type(i));
    tip.SetMemo(0, text);
    tip.SetMemo(1, "FONT=MS Sans Serif,8");
    tip.SetMemo(2, std::string("\0\0", 2));
    if (tip->Add() != 0) return false;
  }
  return tip->Flush() == 0 && tip->Close() == 0;
}

// One file of 100,000 records for the reading benchmarks, made on first use.
const std::string& SharedFile() {
  static filetest::TempDir* dir = new filetest::TempDir;
  static const std::string path = [] {
    std::string file = dir->Path("Vistip.Tps");
    TipFile tip(file);
    return FillFile(tip) ? file : std::string();
  }();
  return path;
}

void BM_GetByKey(benchmark::State& state) {
  TipFile tip(SharedFile());
  if (tip->Open(rt::kOpenShared) != 0) {
    state.SkipWithError("cannot open the bench file");
    return;
  }
  const size_t key = static_cast<size_t>(state.range(0));
  std::mt19937 random(42);
  std::uniform_int_distribution<int> pick(0, kRecords - 1);
  for (auto _ : state) {
    int i = pick(random);
    tip.SetText(0, 50, Proc(i));  // the key fields, as a lookup fills them
    tip.SetText(50, 50, Control(i));
    tip.SetText(100, 20, Type(i));
    if (tip->Get(key) != 0) {
      state.SkipWithError("GET failed");
      return;
    }
  }
}
BENCHMARK(BM_GetByKey)
    ->ArgName("key")
    ->Arg(filetest::kProcedureKey)
    ->Arg(filetest::kTypeKey)
    ->Arg(filetest::kControlKey)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_OpenLargeFile(benchmark::State& state) {
  TipFile tip(SharedFile());
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    int32_t rc = tip->Open(rt::kOpenShared);
    auto elapsed = std::chrono::steady_clock::now() - start;
    if (rc != 0) {
      state.SkipWithError("OPEN failed");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
    tip->Close();
  }
}
BENCHMARK(BM_OpenLargeFile)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_StreamAdd100k(benchmark::State& state) {
  filetest::TempDir dir;
  for (auto _ : state) {
    TipFile tip(dir.Path("batch.tps"));
    if (!FillFile(tip)) {
      state.SkipWithError("batch failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_StreamAdd100k)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
