// errno to the system's error codes. The choice for each follows what the original system
// reports for the same situation (a directory that is not empty is 145, a full disk 112, ...).
#include "ntpaths/winfs/errors.h"

#include <cerrno>

namespace winfs {

std::uint32_t FromErrno(int err, Missing missing) {
  switch (err) {
    case 0:
      return kErrSuccess;
    case ENOENT:
      return missing == Missing::kItem ? kErrFileNotFound : kErrPathNotFound;
    case ENOTDIR:
      return kErrPathNotFound;  // a component on the way is not a directory
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrAccessDenied;  // the system refuses file operations on directories so
    case EEXIST:
      return kErrAlreadyExists;
    case ENOTEMPTY:
      return kErrDirNotEmpty;
    case ENOSPC:
    case EDQUOT:
      return kErrDiskFull;
    case EROFS:
      return kErrWriteProtect;
    case EXDEV:
      return kErrNotSameDevice;
    case ENAMETOOLONG:
      return kErrFilenameExcedRange;
    case ELOOP:
      return kErrCantResolveFilename;
    case EMFILE:
    case ENFILE:
      return kErrTooManyOpenFiles;
    case ENOMEM:
      return kErrNotEnoughMemory;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
      return kErrSharingViolation;
    case EINVAL:
      return kErrInvalidParameter;
    case EBADF:
      return kErrInvalidHandle;
    case EFBIG:
    case EOVERFLOW:
      return kErrFileTooLarge;
    case ENOTSUP:
      return kErrNotSupported;
    case EIO:
      return kErrIoDevice;
    default:
      return kErrGenFailure;
  }
}

}  // namespace winfs
