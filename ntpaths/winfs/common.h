// Steps shared by the file functions: failing with a code, taking a caller's path to its
// checked full form, and reading an item's attributes.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "ntpaths/winfs/path.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {

inline BOOL Fail(DWORD code) {
  SetLastError(code);
  return 0;
}
inline HANDLE FailHandle(DWORD code) {
  SetLastError(code);
  return kInvalidHandle;
}

struct Target {
  DWORD error = 0;
  FullPath full;
};
// The full form of TEXT with the checks of every file function: 87 for a null pointer, 3 for
// an empty path, then CheckNames.
Target FullOf(const char* text, bool keepLastRaw, bool wildcardsInLast);

// statx of PATH (following links unless NOFOLLOW); 0 or an errno.
int StatOf(const std::string& path, bool nofollow, struct statx* st);

}  // namespace winfs
