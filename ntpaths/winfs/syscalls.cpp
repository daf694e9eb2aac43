// The real POSIX calls behind the file layer's table.
#include "ntpaths/winfs/syscalls.h"

#include <linux/types.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
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

// getxattrat came with Linux 6.13 and has no C library wrapper yet; older kernels answer
// ENOSYS, and the attribute is then read through the descriptor's /proc path.
constexpr long kGetxattratCall = 464;
struct XattrArgs {
  __aligned_u64 value;
  __u32 size;
  __u32 flags;
};
ssize_t RealGetxattrAt(int dirfd, const char* name, const char* attr, void* value, size_t size) {
  static std::atomic<bool> missing{false};
  if (!missing.load(std::memory_order_relaxed)) {
    XattrArgs args{reinterpret_cast<__u64>(value), static_cast<__u32>(size), 0};
    long n = ::syscall(kGetxattratCall, dirfd, name, AT_SYMLINK_NOFOLLOW, attr, &args, sizeof args);
    if (n >= 0 || errno != ENOSYS) return n;
    missing.store(true, std::memory_order_relaxed);
  }
  if (dirfd == AT_FDCWD) return ::lgetxattr(name, attr, value, size);
  char path[4200];
  int len = std::snprintf(path, sizeof path, "/proc/self/fd/%d/%s", dirfd, name);
  if (len < 0 || static_cast<size_t>(len) >= sizeof path) {
    errno = ENAMETOOLONG;
    return -1;
  }
  return ::lgetxattr(path, attr, value, size);
}
int RealSetxattr(const char* path, const char* attr, const void* value, size_t size, int flags) {
  return ::lsetxattr(path, attr, value, size, flags);
}

const Syscalls kReal = {
    RealOpen,     ::close, RealStatx, RealMkdir, ::rmdir,      ::unlink,   RealRenameNoReplace,
    ::rename,     ::chdir, ::getcwd,  ::opendir, ::readdir,    ::closedir, ::flock,
    ::ftruncate,  ::read,  ::write,   ::fsync,   RealFutimens, ::fchmod,   RealGetxattrAt,
    RealSetxattr,
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
