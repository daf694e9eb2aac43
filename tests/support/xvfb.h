// A private X server for tests: starts Xvfb on a free display number, points $DISPLAY at it and
// stops it at the end. Tests that need it skip with a clear message where Xvfb is missing.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace testsupport {

class Xvfb {
 public:
  Xvfb() {
    if (!Found("Xvfb")) return;
    for (int n = 90 + getpid() % 100; n < 400; ++n) {
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      if (std::filesystem::exists(lock)) continue;
      display_ = ":" + std::to_string(n);
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      const char* argv[] = {"Xvfb", display_.c_str(), "-screen", "0",  "1280x1024x24", "-nolisten",
                            "tcp",  "-noreset",       "-dpi",    "96", nullptr};
      if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        pid_ = 0;
        return;
      }
      for (int i = 0; i < 200 && !std::filesystem::exists(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
      if (std::filesystem::exists(socket)) {
        setenv("DISPLAY", display_.c_str(), 1);
        return;
      }
      Stop();
    }
  }
  ~Xvfb() { Stop(); }
  bool running() const { return pid_ != 0; }
  const std::string& display() const { return display_; }

  static bool Found(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
  }

 private:
  void Stop() {
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
  pid_t pid_ = 0;
  std::string display_;
};

}  // namespace testsupport
