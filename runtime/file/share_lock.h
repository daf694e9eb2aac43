// Share modes across processes and across File objects of one process: locks on a byte range
// of the database file that SQLite never uses, held through one open file description per
// opener, so two openers in one process are as distinct as two processes.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "runtime/file/names.h"
#include "runtime/file/status.h"

namespace rt::file {

// What an opener does with the file and what it denies to others.
struct ShareMode {
  bool read = true;
  bool write = true;
  bool deny_read = false;
  bool deny_write = false;
};

// Splits an open mode (access nibble 0 read or 2 read/write; sharing nibble 1 deny all,
// 2 deny write, 3 deny read, 4 deny none); other modes are refused with 90.
Status ParseMode(uint8_t mode, ShareMode& out);

// The share-mode claim of one opener on one file. Acquire opens a lock descriptor for the file,
// checks that it is a regular file the caller may use as asked (a file with no write permission
// bit is read-only even for the superuser, and writing needs a writable directory for the
// journal), then claims the mode; 5 when another opener's claim conflicts. Movable, not
// copyable; the destructor releases.
//
// Lock descriptors are never closed while this process may hold SQLite's locks on the same file
// (closing any descriptor of a file drops all of the process's POSIX locks on it): released
// descriptors stay in a per-file pool until the last user of that file in this process lets go.
class ShareLock {
 public:
  ShareLock() = default;
  ~ShareLock() { Release(); }
  ShareLock(ShareLock&& other) noexcept;
  ShareLock& operator=(ShareLock&& other) noexcept;
  ShareLock(const ShareLock&) = delete;
  ShareLock& operator=(const ShareLock&) = delete;

  Status Acquire(const FilePath& file, const ShareMode& mode);
  void Release();
  void Abandon() { fd_ = -1; }  // a copy inherited across fork(): the claim is the parent's

 private:
  int fd_ = -1;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
};

}  // namespace rt::file
