// The second process of the tip store tests: the helper program (tipstore_helper) started with
// a command, its standard input and output connected to the test.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vistip::testing {

class HelperProcess {
 public:
  // Starts the helper with these arguments ("hold", "Vistip.Tps", ...).
  explicit HelperProcess(const std::vector<std::string>& args);
  ~HelperProcess();  // kills the helper if it still runs
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  bool started() const { return pid_ > 0; }
  std::string ReadLine();    // the next line it writes, without "\n"; "" at its end
  void CloseInput();         // the helper's signal to finish
  void Kill();               // SIGKILL, then reaped
  int Wait(int timeout_ms);  // its exit status, or -1 (then killed) when it runs on

 private:
  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
};

}  // namespace vistip::testing
