// Runs the built `vistip` binary as a child process, as a tip author or a CI job would, and
// gives back its exit status and what it wrote.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vistip::testing {

struct Ran {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out, err;
};

struct RunOptions {
  std::string cwd;               // the child's working directory ("" the test's own)
  bool without_display = false;  // DISPLAY removed from its environment
  std::string input;             // written to its standard input
};

// Runs vistip with the arguments and waits for it to end.
Ran RunVistip(const std::vector<std::string>& args, const RunOptions& options = {});

// Starts vistip with the arguments (output to /dev/null) and returns its process id.
pid_t StartVistip(const std::vector<std::string>& args);
// Waits for a started vistip to end: its exit status, -1 when it did not exit normally, -2 when
// it was still running after the timeout (it is killed then).
int WaitVistip(pid_t pid, std::chrono::milliseconds timeout);
// Whether a started vistip is still running.
bool VistipRunning(pid_t pid);

// Runs vistip with standard output and error on a pseudo-terminal; what the terminal showed.
Ran RunVistipOnTerminal(const std::vector<std::string>& args, const std::string& cwd);

}  // namespace vistip::testing
