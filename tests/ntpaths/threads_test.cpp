// Searches and name conversions on several threads at once give correct, independent results.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <set>
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

TEST_F(ThreadsTest, ConcurrentSearchesShareACachedListing) {
  constexpr int kThreads = 4, kFiles = 40, kRounds = 25;
  MakeDir("c/Shared");
  for (int f = 0; f < kFiles; ++f)
    MakeFile("c/Shared/Shared long name " + std::to_string(f) + ".txt");
  // Settled: last changed ten seconds ago, so its listing is cached and shared by the threads.
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  struct timespec times[2] = {{0, UTIME_OMIT}, {now.tv_sec - 10, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Host("c/Shared").c_str(), times, 0), 0);
  std::vector<int> errors(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &errors] {
      for (int round = 0; round < kRounds; ++round) {
        NtFindRecord r;
        uint32_t h = 0;
        int seen = 0;
        if (NTFINDFIRST("C:\\Shared\\*.txt", &r, &h) != 0) {
          ++errors[t];
          continue;
        }
        do ++seen;
        while (NTFINDNEXT(h, &r) == 0);
        if (seen != kFiles || NTFINDCLOSE(h) != 0) ++errors[t];
        int f = (t * kRounds + round) % kFiles;
        std::string name = "C:\\Shared\\Shared long name " + std::to_string(f) + ".txt";
        char shortName[NTPATHS_SHORT_BUF], longName[NTPATHS_MAX_PATH];
        if (NTLONGTOSHORTFILENAME(name.c_str(), shortName, 0) != 0 ||
            NTSHORTTOLONGFILENAME(shortName, longName) != 0 || name != longName)
          ++errors[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(errors[t], 0) << "thread " << t;
}

// Threads handing out aliases in one directory at once, while others keep creating files of
// the same group there, never give two files the same alias.
TEST_F(ThreadsTest, AliasesHandedOutAtOnceAreUnique) {
  constexpr int kThreads = 4, kFiles = 25;
  MakeDir("c/Crowd");
  std::vector<std::vector<std::string>> shortNames(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t, &shortNames] {
      for (int f = 0; f < kFiles; ++f) {
        std::string name = "Crowded name " + std::to_string(t) + "-" + std::to_string(f) + ".txt";
        int fd = open(Host("c/Crowd/" + name).c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        if (fd >= 0) close(fd);
        char out[NTPATHS_SHORT_BUF];
        std::string longPath = "C:\\Crowd\\" + name;
        shortNames[t].push_back(NTLONGTOSHORTFILENAME(longPath.c_str(), out, 0) == 0 ? out : "");
      }
    });
  }
  for (auto& th : threads) th.join();
  std::set<std::string> seen;
  for (int t = 0; t < kThreads; ++t) {
    for (int f = 0; f < kFiles; ++f) {
      const std::string& s = shortNames[t][f];
      EXPECT_EQ(s.rfind("C:\\Crowd\\CROW", 0), 0u) << s;
      EXPECT_TRUE(seen.insert(s).second) << s << " handed out twice";
      char longName[NTPATHS_MAX_PATH];
      ASSERT_EQ(NTSHORTTOLONGFILENAME(s.c_str(), longName), 0) << s;
      EXPECT_EQ(std::string(longName),
                "C:\\Crowd\\Crowded name " + std::to_string(t) + "-" + std::to_string(f) + ".txt");
    }
  }
}

}  // namespace
