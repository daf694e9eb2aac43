// A SQLite VFS shim for fault tests: it wraps the system's default VFS and, while a fault is
// armed, fails chosen writes or journal opens the way a full disk, a denied permission or an
// interrupted (torn) write does. Installed as the default VFS, so the record-file driver runs on
// it unchanged. Used by one thread at a time.
#pragma once

#include <string>

namespace vistip::faults {

enum class Fault {
  kDiskFull,          // the Nth write fails with SQLITE_FULL, writing nothing
  kInterruptedWrite,  // the Nth write puts down half its bytes, then fails with an I/O error
  kPermissionDenied,  // creating a journal or a new file fails with EACCES
};

// While it lives, `fault` strikes at the Nth write (from 1, counted from its construction) and
// every write after it; for kPermissionDenied, every open that would create a file. A non-empty
// `name_part` limits it to files whose path holds that text (a journal's path holds its
// database's). Files already open stay readable.
class FailingVfs {
 public:
  explicit FailingVfs(Fault fault, int nth = 1, std::string name_part = "");
  ~FailingVfs();
  FailingVfs(const FailingVfs&) = delete;
  FailingVfs& operator=(const FailingVfs&) = delete;

  // How many writes or opens the fault has failed so far.
  int failures() const;
};

}  // namespace vistip::faults
