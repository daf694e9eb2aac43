// The real POSIX calls behind the file layer's table.
#include "ntpaths/winfs/syscalls.h"

#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace winfs {
namespace {

int RealOpen(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}
int RealStatx(const char* path, int flags, unsigned mask, struct statx* out) {
  return ::statx(AT_FDCWD, path, flags, mask, out);
}
int RealMkdir(const char* path, mode_t mode) {
  return ::mkdir(path, mode);
}
int RealRenameNoReplace(const char* from, const char* to) {
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int RealFutimens(int fd, const struct timespec times[2]) {
  return ::futimens(fd, times);
}

const Syscalls kReal = {
    RealOpen,    ::close, RealStatx, RealMkdir, ::rmdir,      ::unlink,   RealRenameNoReplace,
    ::rename,    ::chdir, ::getcwd,  ::opendir, ::readdir,    ::closedir, ::flock,
    ::ftruncate, ::read,  ::write,   ::fsync,   RealFutimens, ::fchmod,
};

std::atomic<const Syscalls*> current{&kReal};

}  // namespace

const Syscalls& RealSyscalls() {
  return kReal;
}
const Syscalls& Sys() {
  return *current.load(std::memory_order_acquire);
}
void SetSyscalls(const Syscalls* table) {
  current.store(table ? table : &kReal, std::memory_order_release);
}

}  // namespace winfs
