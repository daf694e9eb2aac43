// ntpaths speed: listing a 10,000-entry directory through NTFINDFIRST/NEXT against plain
// readdir + stat in the same run (the ratio is reported as a counter), and NTSHORTTOLONGFILENAME
// of a six-component alias path through directories of 1,000 entries each.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "ntpaths.h"
#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/winfs.h"

namespace {

namespace fs = std::filesystem;

const char* const kWords[] = {"alpha", "bravo", "charlie", "delta", "echo",   "foxtrot", "golf",
                              "hotel", "india", "juliet",  "kilo",  "lima",   "mike",    "november",
                              "oscar", "papa",  "quebec",  "romeo", "sierra", "tango"};

// The tree, made once: C:\Big with 10,000 files; C:\Level 1 ...\Level 6 ..., each directory
// holding 999 other entries of varied names ("deep"), and the same with 999 siblings that all
// share the alias prefix of the path's component ("crowded": an alias lookup there reads the
// kept aliases of the whole group until it meets the one asked for). Every entry is made with
// plain POSIX calls, so the first lookups give all of them their aliases, in name order: the
// chain's directory ("... of the chain") sorts before its siblings and is ~1.
struct Tree {
  std::string root;
  std::string deepShort, deepLong, crowdedShort, crowdedLong;

  // NTPATHS_BENCH_TREE names a directory to keep the tree in between runs (for profiling).
  Tree() {
    const char* keep = std::getenv("NTPATHS_BENCH_TREE");
    kept = keep != nullptr;
    bool made = kept && fs::exists(std::string(keep) + "/Big");
    if (kept) {
      root = keep;
      fs::create_directories(root);
    } else {
      std::string tmpl = (fs::temp_directory_path() / "ntpaths-bench-XXXXXX").string();
      if (!mkdtemp(tmpl.data())) std::abort();
      root = tmpl;
    }
    if (!made) {
      fs::create_directory(root + "/Big");
      for (int i = 0; i < 10000; ++i)
        Touch(root + "/Big/Listed file number " + std::to_string(i) + ".txt");
    }
    Chain("Deep", false, !made, &deepShort, &deepLong);
    Chain("Crowded", true, !made, &crowdedShort, &crowdedLong);
    if (!winfs::ConfigureDrives("C=" + root)) std::abort();
    // Directories unchanged for two seconds are listed from the cache; let the new tree settle
    // as the directories of a running program usually are. The uncached cases below measure
    // every listing read afresh.
    if (!made) sleep(3);
  }
  ~Tree() {
    if (!kept) fs::remove_all(root);
  }
  bool kept = false;

  static void Touch(const std::string& path) { std::ofstream(path) << "x"; }

  void Chain(const std::string& top, bool crowded, bool make, std::string* shortPath,
             std::string* longPath) {
    std::string dir = root + "/" + top;
    if (make) fs::create_directory(dir);
    *shortPath = "C:\\" + top;
    *longPath = "C:\\" + top;
    for (int level = 1; level <= 6; ++level) {
      std::string name = "Level " + std::to_string(level) + " folder of the chain";
      if (make) {
        fs::create_directory(dir + "/" + name);
      }
      for (int i = 0; make && i < 999; ++i) {
        std::string sibling =
            crowded ? "Level " + std::to_string(level) + " folder sibling " + std::to_string(i)
                    : std::string(kWords[i % 20]) + " " + kWords[(i / 20) % 20] + " note " +
                          std::to_string(i) + ".text";
        Touch(dir + "/" + sibling);
      }
      dir += "/" + name;
      *shortPath += "\\LEVEL" + std::to_string(level) + "~1";
      *longPath += "\\" + name;
    }
  }
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

size_t ListThroughNtpaths() {
  NtFindRecord r;
  uint32_t h = 0;
  size_t n = 0;
  if (NTFINDFIRST("C:\\Big\\*", &r, &h) != 0) std::abort();
  do {
    benchmark::DoNotOptimize(r);
    ++n;
  } while (NTFINDNEXT(h, &r) == 0);
  NTFINDCLOSE(h);
  return n;
}

size_t ListThroughReaddir(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  size_t n = 0;
  while (struct dirent* e = readdir(d)) {
    struct stat st;
    stat((dir + "/" + e->d_name).c_str(), &st);
    benchmark::DoNotOptimize(st);
    ++n;
  }
  closedir(d);
  return n;
}

void BM_ListingNtFind(benchmark::State& state) {
  TheTree();
  for (auto _ : state) benchmark::DoNotOptimize(ListThroughNtpaths());
  state.SetItemsProcessed(state.iterations() * 10002);
}
BENCHMARK(BM_ListingNtFind)->Unit(benchmark::kMillisecond);

void BM_ListingReaddirStat(benchmark::State& state) {
  std::string dir = TheTree().root + "/Big";
  for (auto _ : state) benchmark::DoNotOptimize(ListThroughReaddir(dir));
  state.SetItemsProcessed(state.iterations() * 10002);
}
BENCHMARK(BM_ListingReaddirStat)->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
  struct timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Both listings in each iteration, one after the other, so that the ratio comes from the same
// moments of the same run: "ratio" from the thread's CPU time (kernel time included), which a
// busy machine disturbs least, "wall_ratio" from the clock.
void BM_ListingRatio(benchmark::State& state) {
  std::string dir = TheTree().root + "/Big";
  double nt = 0, plain = 0, ntWall = 0, plainWall = 0;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    auto w0 = Clock::now();
    double c0 = ThreadSeconds();
    benchmark::DoNotOptimize(ListThroughReaddir(dir));
    auto w1 = Clock::now();
    double c1 = ThreadSeconds();
    benchmark::DoNotOptimize(ListThroughNtpaths());
    auto w2 = Clock::now();
    double c2 = ThreadSeconds();
    plain += c1 - c0;
    nt += c2 - c1;
    plainWall += std::chrono::duration<double>(w1 - w0).count();
    ntWall += std::chrono::duration<double>(w2 - w1).count();
  }
  state.counters["ratio"] = nt / plain;
  state.counters["wall_ratio"] = ntWall / plainWall;
}
BENCHMARK(BM_ListingRatio)->Unit(benchmark::kMillisecond);

void ShortToLong(benchmark::State& state, const std::string& in, const std::string& want) {
  char out[NTPATHS_MAX_PATH];
  if (NTSHORTTOLONGFILENAME(in.c_str(), out) != 0 || want != out) {
    state.SkipWithError(("wrong expansion: " + std::string(out)).c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(NTSHORTTOLONGFILENAME(in.c_str(), out));
}

void BM_ShortToLongSixComponents(benchmark::State& state) {
  ShortToLong(state, TheTree().deepShort, TheTree().deepLong);
}
BENCHMARK(BM_ShortToLongSixComponents)->Unit(benchmark::kMicrosecond);

void BM_ShortToLongSixCrowdedComponents(benchmark::State& state) {
  ShortToLong(state, TheTree().crowdedShort, TheTree().crowdedLong);
}
BENCHMARK(BM_ShortToLongSixCrowdedComponents)->Unit(benchmark::kMicrosecond);

void BM_ShortToLongSixComponentsUncached(benchmark::State& state) {
  TheTree();
  winfs::SetListingCacheEnabled(false);
  ShortToLong(state, TheTree().deepShort, TheTree().deepLong);
  winfs::SetListingCacheEnabled(true);
}
BENCHMARK(BM_ShortToLongSixComponentsUncached)->Unit(benchmark::kMicrosecond);

void BM_ShortToLongSixCrowdedComponentsUncached(benchmark::State& state) {
  TheTree();
  winfs::SetListingCacheEnabled(false);
  ShortToLong(state, TheTree().crowdedShort, TheTree().crowdedLong);
  winfs::SetListingCacheEnabled(true);
}
BENCHMARK(BM_ShortToLongSixCrowdedComponentsUncached)->Unit(benchmark::kMicrosecond);

// The lookup of an alias that the directory's index does not hold (its attributes are full, or
// the alias was given where they could not be written): the directory is read and the kept
// aliases of the crowded group are read until the one asked for turns up. A late sibling of
// the crowded top directory, whose alias has three digits.
void BM_ShortToLongCrowdedUnindexed(benchmark::State& state) {
  TheTree();
  std::string name = "C:\\Crowded\\Level 1 folder sibling 998";
  char shortName[NTPATHS_SHORT_BUF];
  if (NTLONGTOSHORTFILENAME(name.c_str(), shortName, 0) != 0) std::abort();
  winfs::SetListingCacheEnabled(false);
  ShortToLong(state, shortName, name);
  winfs::SetListingCacheEnabled(true);
  state.SetLabel(shortName);
}
BENCHMARK(BM_ShortToLongCrowdedUnindexed)->Unit(benchmark::kMicrosecond);

// Making a file through the layer in a directory of 1,000 names sharing its alias prefix (it
// gets its alias at once: the directory and the group's records are read under the lock), and
// deleting it again.
void BM_CreateInCrowdedDirectory(benchmark::State& state) {
  TheTree();
  const char* name = "C:\\Crowded\\Level 1 folder made now";
  char shortName[NTPATHS_SHORT_BUF];
  for (auto _ : state) {
    if (NTLONGTOSHORTFILENAME(name, shortName, 1) != 0 || NTDELETEFILE(shortName) != 0) {
      state.SkipWithError("create or delete failed");
      return;
    }
  }
  state.SetLabel(shortName);
}
BENCHMARK(BM_CreateInCrowdedDirectory)->Unit(benchmark::kMicrosecond);

void BM_ListingNtFindUncached(benchmark::State& state) {
  TheTree();
  winfs::SetListingCacheEnabled(false);
  for (auto _ : state) benchmark::DoNotOptimize(ListThroughNtpaths());
  winfs::SetListingCacheEnabled(true);
}
BENCHMARK(BM_ListingNtFindUncached)->Unit(benchmark::kMillisecond);

}  // namespace
