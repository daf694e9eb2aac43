// Mapping of SQLite and system errors onto the runtime's file error codes.
#include "runtime/file/status.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include "runtime/errors.h"
#include "runtime/file.h"

namespace rt::file {
namespace {

bool IsAccessDenied(int err) {
  return err == EACCES || err == EPERM || err == EROFS;
}

}  // namespace

Status DriverError(std::string message) {
  return {kDriverError, "driver", std::move(message)};
}

Status SystemError(int err, std::string_view what) {
  switch (err) {
    case ENOENT:
      return Code(kFileNotFound);
    case ENOTDIR:
      return Code(kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return Code(kAccessDenied);
    case ENAMETOOLONG:
    case ELOOP:
      return Code(kInvalidFile);
    case EMFILE:
    case ENFILE:
      return Code(kNoFileHandles);
    default:
      return {kDriverError, "errno " + std::to_string(err),
              std::string(what) + ": " + std::strerror(err)};
  }
}

Status SqliteError(sqlite3* db, int rc, int32_t corrupt_code) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Code(kFileLocked);
    case SQLITE_READONLY:
      if (rc == SQLITE_READONLY) return Code(kAccessDenied);
      break;
    case SQLITE_CANTOPEN:
      // A journal or file the system refuses to create (a directory without write permission,
      // a read-only file system) is a denied access like any other.
      if (db != nullptr && IsAccessDenied(sqlite3_system_errno(db))) return Code(kAccessDenied);
      break;
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_PRIMARYKEY) return Code(kDuplicateKey);
      break;
    case SQLITE_CORRUPT:
      if (corrupt_code != kDriverError) return Code(corrupt_code);
      break;
    default:
      break;
  }
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return {kDriverError, std::to_string(rc), message != nullptr ? message : sqlite3_errstr(rc)};
}

int32_t Report(const Status& status) {
  if (status.code == kDriverError) {
    SetFileError(status.source_code, status.message);
  } else {
    SetError(status.code);
  }
  return status.code;
}

}  // namespace rt::file
