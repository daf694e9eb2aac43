// For tests that start real programs: an environment variable set for one test, a wait on a
// condition, and the zombie children of this process (children ended but never waited for).
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// An environment variable set (or, for nullptr, unset) for one test and restored afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Polls pred until it holds or the timeout passes; returns its last value.
inline bool WaitUntil(const std::function<bool()>& pred,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// A /proc file's text, or "" when its process went away meanwhile (reading a vanished
// process's file fails with ESRCH, which a stream would throw).
inline std::string ReadProcFile(const std::filesystem::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char buf[1024];
  const ssize_t n = read(fd, buf, sizeof buf);
  close(fd);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Children of this process that have ended but were not waited for.
inline std::vector<pid_t> ZombieChildren() {
  std::vector<pid_t> zombies;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadProcFile(entry.path() / "stat");
    const size_t paren = stat.rfind(')');  // the command name may hold blanks and parentheses
    if (paren == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(stat.c_str() + paren + 1, " %c %d", &state, &ppid) != 2) continue;
    if (ppid == getpid() && state == 'Z') zombies.push_back(std::stoi(name));
  }
  return zombies;
}

// Zombies, given a reaper a moment to do its work: a child that has just ended is a zombie
// until its reaper's wait returns.
inline std::vector<pid_t> LastingZombies() {
  std::vector<pid_t> zombies;
  WaitUntil([&] {
    zombies = ZombieChildren();
    return zombies.empty();
  });
  return zombies;
}

}  // namespace testsupport
