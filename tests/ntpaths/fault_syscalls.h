// Makes one POSIX call of the file layer fail with a chosen errno, through the layer's
// replaceable call table: the Nth use of the named call (counted from now) and the TIMES-1
// uses after it fail; every other call goes to the real one. Several faults may be armed at
// once (a rename that reports another file system, then a full disk); the real table comes
// back when the last one ends. Used by one thread at a time.
#pragma once

#include <string>

struct SyscallFaultPlan;

class SyscallFault {
 public:
  SyscallFault(std::string call, int err, int nth = 1, int times = 1);
  ~SyscallFault();
  SyscallFault(const SyscallFault&) = delete;
  SyscallFault& operator=(const SyscallFault&) = delete;
  // How often the named call failed so far.
  int failures() const;

 private:
  struct SyscallFaultPlan* plan_;
};
