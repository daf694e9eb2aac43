// A private X server for tests: starts Xvfb on a free display number, points $DISPLAY at it and
// stops it at the end, or when this process ends, whichever comes first. Tests that need it skip
// with a clear message where Xvfb is missing.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

namespace testsupport {

class Xvfb {
 public:
  Xvfb() {
    const std::string program = PathOf("Xvfb");
    if (program.empty()) return;
    for (int n = 90 + getpid() % 100; n < 400; ++n) {
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      if (std::filesystem::exists(lock)) continue;
      display_ = ":" + std::to_string(n);
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      const char* argv[] = {"Xvfb", display_.c_str(), "-screen", "0",  "1280x1024x24", "-nolisten",
                            "tcp",  "-noreset",       "-dpi",    "96", nullptr};
      pid_ = Spawn(program, argv);
      if (pid_ == 0) return;
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

  static bool Found(const std::string& program) { return !PathOf(program).empty(); }

 private:
  // The program's file in $PATH, or "".
  static std::string PathOf(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
      const std::string file = (dir.empty() ? "." : dir) + "/" + program;
      if (access(file.c_str(), X_OK) == 0) return file;
    }
    return "";
  }

  // Starts the server as a child that gets SIGTERM when this process ends: a process that keeps
  // X connections open to its end must not see its server go first, as Xlib then ends it with
  // status 1. The child calls nothing but what is safe after fork in a threaded process.
  static pid_t Spawn(const std::string& program, const char* const* argv) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (getppid() != parent) _exit(1);  // the parent ended before the signal was set
      execv(program.c_str(), const_cast<char* const*>(argv));
      _exit(127);
    }
    return pid > 0 ? pid : 0;
  }

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
