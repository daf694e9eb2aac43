// The failing call table behind SyscallFault.
#include "tests/ntpaths/fault_syscalls.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "ntpaths/winfs/syscalls.h"

struct SyscallFaultPlan {
  std::string call;
  int err = 0;
  int countdown = 0;  // uses left before the first failure
  int remaining = 0;  // failures left
  int failures = 0;
};

namespace {

std::vector<SyscallFaultPlan*> plans;

const winfs::Syscalls& Real() {
  return winfs::RealSyscalls();
}

bool Trip(const char* call) {
  for (SyscallFaultPlan* plan : plans) {
    if (plan->call != call || plan->remaining == 0) continue;
    if (--plan->countdown > 0) continue;
    plan->countdown = 1;
    --plan->remaining;
    ++plan->failures;
    errno = plan->err;
    return true;
  }
  return false;
}

int Open(const char* p, int f, mode_t m) {
  return Trip("open") ? -1 : Real().open(p, f, m);
}
int Close(int fd) {
  return Trip("close") ? -1 : Real().close(fd);
}
int Statx(const char* p, int f, unsigned m, struct statx* s) {
  return Trip("statx") ? -1 : Real().statx(p, f, m, s);
}
int Mkdir(const char* p, mode_t m) {
  return Trip("mkdir") ? -1 : Real().mkdir(p, m);
}
int Rmdir(const char* p) {
  return Trip("rmdir") ? -1 : Real().rmdir(p);
}
int Unlink(const char* p) {
  return Trip("unlink") ? -1 : Real().unlink(p);
}
int RenameNoReplace(const char* a, const char* b) {
  return Trip("renameNoReplace") ? -1 : Real().renameNoReplace(a, b);
}
int Rename(const char* a, const char* b) {
  return Trip("rename") ? -1 : Real().rename(a, b);
}
int Chdir(const char* p) {
  return Trip("chdir") ? -1 : Real().chdir(p);
}
char* Getcwd(char* b, size_t n) {
  return Trip("getcwd") ? nullptr : Real().getcwd(b, n);
}
DIR* Opendir(const char* p) {
  return Trip("opendir") ? nullptr : Real().opendir(p);
}
struct dirent* Readdir(DIR* d) {
  return Trip("readdir") ? nullptr : Real().readdir(d);
}
int Closedir(DIR* d) {
  return Real().closedir(d);
}
int Flock(int fd, int op) {
  return Trip("flock") ? -1 : Real().flock(fd, op);
}
int Ftruncate(int fd, off_t n) {
  return Trip("ftruncate") ? -1 : Real().ftruncate(fd, n);
}
ssize_t Read(int fd, void* b, size_t n) {
  return Trip("read") ? -1 : Real().read(fd, b, n);
}
ssize_t Write(int fd, const void* b, size_t n) {
  return Trip("write") ? -1 : Real().write(fd, b, n);
}
int Fsync(int fd) {
  return Trip("fsync") ? -1 : Real().fsync(fd);
}
int Futimens(int fd, const struct timespec t[2]) {
  return Trip("futimens") ? -1 : Real().futimens(fd, t);
}
int Fchmod(int fd, mode_t m) {
  return Trip("fchmod") ? -1 : Real().fchmod(fd, m);
}

ssize_t GetxattrAt(int fd, const char* n, const char* a, void* v, size_t s) {
  return Trip("getxattrAt") ? -1 : Real().getxattrAt(fd, n, a, v, s);
}
int Setxattr(const char* p, const char* a, const void* v, size_t s, int f) {
  return Trip("setxattr") ? -1 : Real().setxattr(p, a, v, s, f);
}

const winfs::Syscalls kFaulty = {
    Open,  Close,  Statx,    Mkdir,   Rmdir,      Unlink,  RenameNoReplace, Rename,
    Chdir, Getcwd, Opendir,  Readdir, Closedir,   Flock,   Ftruncate,       Read,
    Write, Fsync,  Futimens, Fchmod,  GetxattrAt, Setxattr};

}  // namespace

SyscallFault::SyscallFault(std::string call, int err, int nth, int times)
    : plan_(new SyscallFaultPlan{std::move(call), err, nth, times, 0}) {
  plans.push_back(plan_);
  winfs::SetSyscalls(&kFaulty);
}

SyscallFault::~SyscallFault() {
  plans.erase(std::find(plans.begin(), plans.end(), plan_));
  if (plans.empty()) winfs::SetSyscalls(nullptr);
  delete plan_;
}

int SyscallFault::failures() const {
  return plan_->failures;
}
