// The fault-injecting VFS: every call goes to the wrapped VFS except the writes and creating
// opens that an armed fault fails.
#include "tests/faults/failing_vfs.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

namespace vistip::faults {
namespace {

struct Plan {
  bool armed = false;
  Fault fault = Fault::kDiskFull;
  int writes_left = 0;  // writes before the first failing one
  int failures = 0;
  std::string name_part;
};

Plan plan;
sqlite3_vfs* real = nullptr;

// An open file of the shim: the real file's handle follows the shim's own.
struct ShimFile {
  sqlite3_file base;
  sqlite3_file* real;
  const char* name;  // SQLite keeps it valid until the file is closed
};

sqlite3_file* Real(sqlite3_file* f) {
  return reinterpret_cast<ShimFile*>(f)->real;
}

bool Targeted(const char* name) {
  return plan.name_part.empty() ||
         (name != nullptr && std::string_view(name).find(plan.name_part) != std::string_view::npos);
}

int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  if (plan.armed && plan.fault != Fault::kPermissionDenied &&
      Targeted(reinterpret_cast<ShimFile*>(f)->name) && plan.writes_left-- <= 0) {
    ++plan.failures;
    if (plan.fault == Fault::kDiskFull) return SQLITE_FULL;
    Real(f)->pMethods->xWrite(Real(f), data, amount / 2, offset);
    return SQLITE_IOERR_WRITE;
  }
  return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}

int Close(sqlite3_file* f) {
  const int rc = Real(f)->pMethods->xClose(Real(f));
  sqlite3_free(Real(f));
  return rc;
}

// The other methods of a file pass straight through.
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) {
  return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) {
  return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
  return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) {
  return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

// Version 1 methods: no shared memory (the driver keeps a rollback journal) and no mmap.
const sqlite3_io_methods kMethods = {1,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSize,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
  auto* shim = reinterpret_cast<ShimFile*>(file);
  shim->base.pMethods = nullptr;
  if (plan.armed && plan.fault == Fault::kPermissionDenied && (flags & SQLITE_OPEN_CREATE) &&
      Targeted(name)) {
    ++plan.failures;
    errno = EACCES;
    return SQLITE_CANTOPEN;
  }
  shim->real = static_cast<sqlite3_file*>(sqlite3_malloc(real->szOsFile));
  if (shim->real == nullptr) return SQLITE_NOMEM;
  std::memset(shim->real, 0, static_cast<size_t>(real->szOsFile));
  const int rc = real->xOpen(real, name, shim->real, flags, out_flags);
  if (shim->real->pMethods == nullptr) {
    sqlite3_free(shim->real);
    return rc;
  }
  shim->name = name;
  shim->base.pMethods = &kMethods;
  return rc;
}

int Delete(sqlite3_vfs*, const char* name, int sync_dir) {
  return real->xDelete(real, name, sync_dir);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
  return real->xAccess(real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return real->xFullPathname(real, name, size, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) {
  return real->xDlOpen(real, name);
}
void DlError(sqlite3_vfs*, int size, char* out) {
  real->xDlError(real, size, out);
}
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))() {
  return real->xDlSym(real, handle, symbol);
}
void DlClose(sqlite3_vfs*, void* handle) {
  real->xDlClose(real, handle);
}
int Randomness(sqlite3_vfs*, int size, char* out) {
  return real->xRandomness(real, size, out);
}
int Sleep(sqlite3_vfs*, int microseconds) {
  return real->xSleep(real, microseconds);
}
int CurrentTime(sqlite3_vfs*, double* out) {
  return real->xCurrentTime(real, out);
}
int GetLastError(sqlite3_vfs*, int size, char* out) {
  return real->xGetLastError ? real->xGetLastError(real, size, out) : 0;
}

// Registered as the default VFS when the test program starts, so that every connection the
// driver opens goes through the shim.
sqlite3_vfs shim_vfs{};

bool Install() {
  real = sqlite3_vfs_find(nullptr);
  shim_vfs.iVersion = 1;
  shim_vfs.szOsFile = static_cast<int>(sizeof(ShimFile));
  shim_vfs.mxPathname = real->mxPathname;
  shim_vfs.zName = "vistip-faults";
  shim_vfs.xOpen = Open;
  shim_vfs.xDelete = Delete;
  shim_vfs.xAccess = Access;
  shim_vfs.xFullPathname = FullPathname;
  shim_vfs.xDlOpen = DlOpen;
  shim_vfs.xDlError = DlError;
  shim_vfs.xDlSym = DlSym;
  shim_vfs.xDlClose = DlClose;
  shim_vfs.xRandomness = Randomness;
  shim_vfs.xSleep = Sleep;
  shim_vfs.xCurrentTime = CurrentTime;
  shim_vfs.xGetLastError = GetLastError;
  return sqlite3_vfs_register(&shim_vfs, 1) == SQLITE_OK;
}

const bool installed = Install();

}  // namespace

FailingVfs::FailingVfs(Fault fault, int nth, std::string name_part) {
  if (!installed) __builtin_trap();
  plan = Plan{true, fault, nth - 1, 0, std::move(name_part)};
}

FailingVfs::~FailingVfs() {
  plan.armed = false;
}

int FailingVfs::failures() const {
  return plan.failures;
}

}  // namespace vistip::faults
