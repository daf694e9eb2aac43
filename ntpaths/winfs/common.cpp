// Shared steps of the file functions.
#include "ntpaths/winfs/common.h"

#include <cerrno>

#include "ntpaths/winfs/drives.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/syscalls.h"

namespace winfs {

Target FullOf(const char* text, bool keepLastRaw, bool wildcardsInLast) {
  Target t;
  if (!text) {
    t.error = kErrInvalidParameter;
    return t;
  }
  if (!*text) {
    t.error = kErrPathNotFound;
    return t;
  }
  t.full = MakeFull(ParsePath(text), CurrentDirectory, keepLastRaw);
  t.error = CheckNames(t.full, wildcardsInLast);
  return t;
}

int StatOf(const std::string& path, bool nofollow, struct statx* st) {
  unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
  if (Sys().statx(path.c_str(), nofollow ? AT_SYMLINK_NOFOLLOW : 0, mask, st) == 0) return 0;
  return errno;
}

}  // namespace winfs
