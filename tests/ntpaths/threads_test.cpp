// Searches and name conversions on several threads at once give correct, independent results.
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/ntpaths/fixture.h"

namespace {

class ThreadsTest : public DrivesTest {};

TEST_F(ThreadsTest, ConcurrentSearchesAreIndependent) {
  constexpr int kThreads = 4, kFiles = 30, kRounds = 20;
  for (int t = 0; t < kThreads; ++t) {
    MakeDir("c/Dir " + std::to_string(t));
    for (int f = 0; f < kFiles; ++f)
      MakeFile("c/Dir " + std::to_string(t) + "/Thread " + std::to_string(t) + " file " +
               std::to_string(f) + ".txt");
  }
  std::vector<int> errors(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &errors] {
      std::string prefix = "Thread " + std::to_string(t) + " file ";
      std::string pattern = "C:\\Dir " + std::to_string(t) + "\\*.txt";
      for (int round = 0; round < kRounds; ++round) {
        NtFindRecord r;
        uint32_t h = 0;
        int seen = 0;
        if (NTFINDFIRST(pattern.c_str(), &r, &h) != 0) {
          ++errors[t];
          continue;
        }
        do {
          if (std::string(r.name).rfind(prefix, 0) != 0 || r.shortName[0] == 0) ++errors[t];
          ++seen;
        } while (NTFINDNEXT(h, &r) == 0);
        if (seen != kFiles || NTFINDCLOSE(h) != 0) ++errors[t];
        char longName[NTPATHS_MAX_PATH];
        std::string shortPath = "C:\\DIR" + std::to_string(t) + "~1";
        if (NTSHORTTOLONGFILENAME(shortPath.c_str(), longName) != 0 ||
            std::string(longName) != "C:\\Dir " + std::to_string(t))
          ++errors[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(errors[t], 0) << "thread " << t;
}

}  // namespace
