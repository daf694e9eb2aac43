// Every POSIX call of the file layer goes through this one table, so that tests can put in a
// table whose entries fail on purpose (a full disk, a refused rename, an I/O error).
// The table in use is replaced only while no other thread uses the layer.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace winfs {

struct Syscalls {
  int (*open)(const char* path, int flags, mode_t mode);
  int (*close)(int fd);
  // statx at AT_FDCWD: the attributes, sizes, times and creation time of a path.
  int (*statx)(const char* path, int flags, unsigned mask, struct statx* out);
  int (*mkdir)(const char* path, mode_t mode);
  int (*rmdir)(const char* path);
  int (*unlink)(const char* path);
  // rename that fails with EEXIST when the target exists (renameat2 with RENAME_NOREPLACE).
  int (*renameNoReplace)(const char* from, const char* to);
  int (*rename)(const char* from, const char* to);
  int (*chdir)(const char* path);
  char* (*getcwd)(char* buffer, size_t size);
  DIR* (*opendir)(const char* path);
  struct dirent* (*readdir)(DIR* dir);
  int (*closedir)(DIR* dir);
  int (*flock)(int fd, int operation);
  int (*ftruncate)(int fd, off_t length);
  ssize_t (*read)(int fd, void* buffer, size_t count);
  ssize_t (*write)(int fd, const void* buffer, size_t count);
  int (*fsync)(int fd);
  int (*futimens)(int fd, const struct timespec times[2]);
  int (*fchmod)(int fd, mode_t mode);
  // The extended attribute ATTR of the entry NAME of the directory open as DIRFD (or of the
  // path NAME with AT_FDCWD), links not followed (getxattrat); the value's length or -1.
  ssize_t (*getxattrAt)(int dirfd, const char* name, const char* attr, void* value, size_t size);
  // lsetxattr: sets ATTR of PATH (a link itself, not its target).
  int (*setxattr)(const char* path, const char* attr, const void* value, size_t size, int flags);
};

// The table of the real calls.
const Syscalls& RealSyscalls();
// The table in use.
const Syscalls& Sys();
// Puts TABLE in use (it must outlive its use); nullptr restores the real calls.
void SetSyscalls(const Syscalls* table);

}  // namespace winfs
