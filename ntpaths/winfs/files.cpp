// Creating, opening, deleting and moving files and directories. Share modes are kept with
// flock, so they hold between processes too: a handle opened without sharing holds an
// exclusive lock, a sharing one a shared lock, and one that shares delete access none.
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "ntpaths/winfs/common.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/handles.h"
#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/syscalls.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {
namespace {

struct FileObject : HandleObject {
  explicit FileObject(int f) : HandleObject(Kind::kFile), fd(f) {}
  ~FileObject() override {
    if (fd >= 0) Sys().close(fd);
  }
  int fd;
};

bool ReadOnly(const struct statx& st) {
  return S_ISREG(st.stx_mode) && !(st.stx_mode & S_IWUSR);
}

// 32 when someone holds the file open without sharing delete access; 0 otherwise (also when
// the file cannot be opened to ask).
DWORD InUse(const std::string& posix) {
  int fd = Sys().open(posix.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0);
  if (fd < 0) return 0;
  DWORD code = 0;
  if (Sys().flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) code = kErrSharingViolation;
  Sys().close(fd);
  return code;
}

// Moves a file to another file system by copying it; on any failure the copy is removed and
// the original stays as it was.
DWORD CopyAcross(const std::string& from, const std::string& to, const struct statx& st) {
  const Syscalls& sys = Sys();
  int in = sys.open(from.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (in < 0) return FromErrno(errno);
  int out = sys.open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.stx_mode & 07777);
  if (out < 0) {
    DWORD code = FromErrno(errno, Missing::kPath);
    sys.close(in);
    return code;
  }
  DWORD code = 0;
  char buf[1 << 16];
  for (;;) {
    ssize_t n = sys.read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) code = FromErrno(errno);
      break;
    }
    for (ssize_t done = 0; done < n && !code;) {
      ssize_t w = sys.write(out, buf + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0)
        code = FromErrno(w < 0 ? errno : ENOSPC);
      else
        done += w;
    }
    if (code) break;
  }
  if (!code && sys.fsync(out) != 0) code = FromErrno(errno);
  if (!code) {
    struct timespec times[2] = {{st.stx_atime.tv_sec, st.stx_atime.tv_nsec},
                                {st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec}};
    sys.futimens(out, times);
  }
  if (sys.close(out) != 0 && !code) code = FromErrno(errno);
  sys.close(in);
  if (!code && sys.unlink(from.c_str()) != 0) code = FromErrno(errno);
  if (code) sys.unlink(to.c_str());
  return code;
}

// An entry made by the layer gets its alias at once, before anything else is made beside it.
// Failing to keep one takes nothing from the entry: it then simply has none.
void GiveAliasTo(const Resolved& r, const std::string& name) {
  if (r.drive.shortNames && !IsShortName(name)) GiveAliases(r.parentPosix, {name});
}

int OpenFlags(DWORD access) {
  bool r = access & kGenericRead, w = access & kGenericWrite;
  return (r && w) ? O_RDWR : w ? O_WRONLY : O_RDONLY;
}

}  // namespace

BOOL CreateDirectoryA(const char* path, const void*) {
  Target t = FullOf(path, false, false);
  if (t.error) return Fail(t.error);
  if (t.full.parts.empty()) return Fail(kErrAccessDenied);
  Resolved r = Resolve(t.full);
  if (r.error == 0) return Fail(kErrAlreadyExists);
  if (r.error != kErrFileNotFound) return Fail(r.error);
  if (Sys().mkdir(r.posix.c_str(), 0777) != 0) return Fail(FromErrno(errno, Missing::kPath));
  GiveAliasTo(r, r.lastName);
  return 1;
}

BOOL RemoveDirectoryA(const char* path) {
  Target t = FullOf(path, false, false);
  if (t.error) return Fail(t.error);
  if (t.full.parts.empty()) return Fail(kErrAccessDenied);
  Resolved r = Resolve(t.full);
  if (r.error) return Fail(r.error);
  struct statx st, here;
  if (int err = StatOf(r.posix, true, &st)) return Fail(FromErrno(err));
  if (!S_ISDIR(st.stx_mode)) return Fail(kErrDirectory);
  // The process holds its current directory open, as the original system does.
  if (StatOf(".", false, &here) == 0 && here.stx_ino == st.stx_ino &&
      here.stx_dev_major == st.stx_dev_major && here.stx_dev_minor == st.stx_dev_minor)
    return Fail(kErrSharingViolation);
  if (Sys().rmdir(r.posix.c_str()) != 0) {
    int err = errno;
    if (err == ENOTEMPTY || err == EEXIST) return Fail(kErrDirNotEmpty);
    if (err == ENOTDIR) return Fail(kErrDirectory);
    return Fail(FromErrno(err));
  }
  return 1;
}

BOOL DeleteFileA(const char* name) {
  Target t = FullOf(name, false, false);
  if (t.error) return Fail(t.error);
  if (t.full.parts.empty()) return Fail(kErrAccessDenied);
  if (t.full.trailingSeparator) return Fail(kErrInvalidName);
  Resolved r = Resolve(t.full);
  if (r.error) return Fail(r.error);
  struct statx st;
  if (int err = StatOf(r.posix, true, &st)) return Fail(FromErrno(err));
  if (S_ISDIR(st.stx_mode) || ReadOnly(st)) return Fail(kErrAccessDenied);
  if (DWORD code = InUse(r.posix)) return Fail(code);
  if (Sys().unlink(r.posix.c_str()) != 0) return Fail(FromErrno(errno));
  return 1;
}

BOOL MoveFileA(const char* existing, const char* target) {
  Target from = FullOf(existing, false, false);
  if (from.error) return Fail(from.error);
  Target to = FullOf(target, false, false);
  if (to.error) return Fail(to.error);
  if (from.full.parts.empty() || to.full.parts.empty()) return Fail(kErrAccessDenied);
  Resolved rs = Resolve(from.full);
  if (rs.error) return Fail(rs.error);
  struct statx st;
  if (int err = StatOf(rs.posix, true, &st)) return Fail(FromErrno(err));
  Resolved rd = Resolve(to.full);
  if (rd.error == 0) {
    // Only a change of case of the same item may land on an existing name.
    struct statx other;
    if (StatOf(rd.posix, true, &other) != 0 || other.stx_ino != st.stx_ino ||
        other.stx_dev_major != st.stx_dev_major || other.stx_dev_minor != st.stx_dev_minor)
      return Fail(kErrAlreadyExists);
  } else if (rd.error != kErrFileNotFound) {
    return Fail(rd.error);
  }
  std::string dest = JoinPosix(rd.parentPosix, to.full.parts.back());
  if (dest == rs.posix) return 1;
  if (S_ISREG(st.stx_mode))
    if (DWORD code = InUse(rs.posix)) return Fail(code);
  const Syscalls& sys = Sys();
  const std::string& newName = to.full.parts.back();
  if (sys.renameNoReplace(rs.posix.c_str(), dest.c_str()) == 0) {
    GiveAliasTo(rd, newName);
    return 1;
  }
  int err = errno;
  if (err == EINVAL || err == ENOSYS) {
    // A file system without the no-replace rename: ask first, then rename.
    struct statx there;
    if (StatOf(dest, true, &there) == 0) return Fail(kErrAlreadyExists);
    if (sys.rename(rs.posix.c_str(), dest.c_str()) == 0) {
      GiveAliasTo(rd, newName);
      return 1;
    }
    err = errno;
  }
  if (err == EXDEV) {
    if (!S_ISREG(st.stx_mode)) return Fail(kErrNotSameDevice);
    if (DWORD code = CopyAcross(rs.posix, dest, st)) return Fail(code);
    GiveAliasTo(rd, newName);
    return 1;
  }
  return Fail(FromErrno(err, Missing::kPath));
}

HANDLE CreateFileA(const char* name, DWORD access, DWORD share, const void*, DWORD disposition,
                   DWORD, HANDLE) {
  if (disposition < kCreateNew || disposition > kTruncateExisting)
    return FailHandle(kErrInvalidParameter);
  if (disposition == kTruncateExisting && !(access & kGenericWrite))
    return FailHandle(kErrInvalidParameter);
  Target t = FullOf(name, false, false);
  if (t.error) return FailHandle(t.error);
  if (t.full.parts.empty()) return FailHandle(kErrAccessDenied);
  if (t.full.trailingSeparator) return FailHandle(kErrInvalidName);
  Resolved r = Resolve(t.full);
  if (r.error && r.error != kErrFileNotFound) return FailHandle(r.error);
  const Syscalls& sys = Sys();
  bool exists = r.error == 0;
  int flags = OpenFlags(access) | O_CLOEXEC | O_NOCTTY;
  int fd;
  if (exists) {
    struct statx st;
    if (int err = StatOf(r.posix, false, &st)) return FailHandle(FromErrno(err));
    if (S_ISDIR(st.stx_mode)) return FailHandle(kErrAccessDenied);
    if (disposition == kCreateNew) return FailHandle(kErrFileExists);
    if ((access & kGenericWrite) && ReadOnly(st)) return FailHandle(kErrAccessDenied);
    fd = sys.open(r.posix.c_str(), flags, 0);
    if (fd < 0) return FailHandle(FromErrno(errno));
  } else {
    if (disposition == kOpenExisting || disposition == kTruncateExisting)
      return FailHandle(kErrFileNotFound);
    fd = sys.open(r.posix.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
      return FailHandle(errno == EEXIST ? kErrFileExists : FromErrno(errno, Missing::kPath));
    GiveAliasTo(r, r.lastName);
  }
  int lock = (share & kShareDelete) ? 0 : share ? LOCK_SH : LOCK_EX;
  if (lock && sys.flock(fd, lock | LOCK_NB) != 0) {
    DWORD code = FromErrno(errno);
    sys.close(fd);
    return FailHandle(code);
  }
  // Emptying waits for the lock, so a file that someone else holds is never cut short.
  if (exists && (disposition == kCreateAlways || disposition == kTruncateExisting) &&
      sys.ftruncate(fd, 0) != 0) {
    DWORD code = FromErrno(errno);
    sys.close(fd);
    return FailHandle(code);
  }
  HANDLE h = AddHandle(std::make_shared<FileObject>(fd));
  // As on the original system, success on an existing file says so in the last-error value.
  SetLastError(exists && (disposition == kCreateAlways || disposition == kOpenAlways)
                   ? kErrAlreadyExists
                   : kErrSuccess);
  return h;
}

BOOL CloseHandle(HANDLE handle) {
  auto taken = TakeHandle(handle, HandleObject::Kind::kFile);
  if (!taken) return Fail(kErrInvalidHandle);
  auto* object = static_cast<FileObject*>(taken.get());
  int fd = object->fd;
  object->fd = -1;
  if (Sys().close(fd) != 0) return Fail(FromErrno(errno));
  return 1;
}

}  // namespace winfs
