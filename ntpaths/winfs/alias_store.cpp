// Alias records in extended attributes, and the directory lock.
#include "ntpaths/winfs/alias_store.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "ntpaths/winfs/syscalls.h"

namespace winfs {
namespace {

// The record: the alias, the directory's identity and the name, each ended by a NUL.
constexpr const char* kAttribute = "user.ntpaths.alias";
// One attribute of the directory per indexed alias, holding the name.
constexpr std::string_view kIndexPrefix = "user.ntpaths.index.";

}  // namespace

std::string DirIdOf(unsigned devMajor, unsigned devMinor, unsigned long long inode) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%x:%x:%llx", devMajor, devMinor, inode);
  return buf;
}

StoredAlias ReadStoredAlias(int dirfd, const std::string& path, const std::string& dirId,
                            const std::string& name) {
  StoredAlias out;
  char buf[512];
  ssize_t n = Sys().getxattrAt(dirfd, path.c_str(), kAttribute, buf, sizeof buf);
  if (n < 0) {
    // A record longer than any this layer writes is not one of its own; an entry without the
    // attribute, or on a file system without any, has none; any other failure may hide one.
    if (errno == ERANGE)
      out.state = StoredAlias::State::kOtherName;
    else if (errno != ENODATA && errno != ENOTSUP && errno != EPERM)
      out.state = StoredAlias::State::kUnreadable;
    return out;
  }
  std::string_view v(buf, static_cast<size_t>(n));
  size_t a = v.find('\0');
  size_t d = a == std::string_view::npos ? a : v.find('\0', a + 1);
  out.state = StoredAlias::State::kOtherName;
  if (d == std::string_view::npos || v.back() != '\0') return out;
  if (v.substr(a + 1, d - a - 1) != dirId || v.substr(d + 1, v.size() - d - 2) != name) return out;
  out.state = StoredAlias::State::kValid;
  out.alias.assign(v.substr(0, a));
  return out;
}

int StoreAlias(const std::string& posix, const std::string& dirId, const std::string& name,
               const std::string& alias) {
  std::string value = alias;
  value += '\0';
  value += dirId;
  value += '\0';
  value += name;
  value += '\0';
  if (Sys().setxattr(posix.c_str(), kAttribute, value.data(), value.size(), 0) != 0) return errno;
  return 0;
}

std::string IndexedName(const std::string& dir, const std::string& alias) {
  std::string key = std::string(kIndexPrefix) + alias;
  char buf[300];
  ssize_t n = Sys().getxattrAt(AT_FDCWD, dir.c_str(), key.c_str(), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

void IndexAlias(const std::string& dir, const std::string& alias, const std::string& name) {
  std::string key = std::string(kIndexPrefix) + alias;
  Sys().setxattr(dir.c_str(), key.c_str(), name.data(), name.size(), 0);
}

DirLock::DirLock(const std::string& dir) {
  fd_ = Sys().open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd_ < 0) return;
  int rc;
  do rc = Sys().flock(fd_, LOCK_EX);
  while (rc != 0 && errno == EINTR);
  held_ = rc == 0;
}

DirLock::~DirLock() {
  if (fd_ >= 0) Sys().close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace winfs
