// `vistip list` and `vistip export` of 100,000 tips against the sqlite3 command-line program
// reading the same file (`sqlite3 FILE 'select * from records'`), each run as a process with
// its output to /dev/null, in the same run; the counters give vistip's time over sqlite3's.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/tools/typical_tips.h"
#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/tip_file_io.h"

extern char** environ;

namespace vistip {
namespace {

constexpr int kTips = 100000;

// Runs a program with its output to /dev/null; the wall time in seconds, or -1 on a failure.
double TimedRun(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ListAndExportAgainstSqlite3(benchmark::State& state) {
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  const TypicalTipFile tip_file(state, kTips);
  const std::string file = tip_file.path();
  double peer = 0, list = 0, exported = 0;
  for (auto _ : state) {
    const double p = TimedRun({"sqlite3", file, "select * from records"});
    const double l = TimedRun({VISTIP_PATH, "list", file});
    const double e = TimedRun({VISTIP_PATH, "export", file});
    if (p < 0 || l < 0 || e < 0) {
      state.SkipWithError("a run failed");
      break;
    }
    peer += p;
    list += l;
    exported += e;
    state.SetIterationTime(l);
  }
  state.counters["sqlite3_s"] = peer / static_cast<double>(state.iterations());
  state.counters["list_s"] = list / static_cast<double>(state.iterations());
  state.counters["export_s"] = exported / static_cast<double>(state.iterations());
  state.counters["list_ratio"] = list / peer;
  state.counters["export_ratio"] = exported / peer;
}
BENCHMARK(ListAndExportAgainstSqlite3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace vistip
