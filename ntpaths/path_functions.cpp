// The eight path name functions of ntpaths: thin steps over the Windows file functions, each
// taking its error code right after the failing call. Buffers are bounded everywhere: a path
// that would outgrow its buffer is refused with 206 instead of overrunning it.
#include <cstring>

#include "ntpaths.h"
#include "ntpaths/steps.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/winfs.h"

namespace ntpaths {

using namespace winfs;

std::int32_t TakeLastError() {
  DWORD code = GetLastError();
  SetLastError(0);
  return static_cast<std::int32_t>(code);
}

Expansion ExpandLastComponent(char* path) {
  SetLastError(0);
  FindData found;
  std::memset(&found, 0, sizeof found);
  HANDLE search = FindFirstFileA(path, &found);
  if (search == kInvalidHandle) return Expansion::kNotFound;
  char* slash = std::strrchr(path, '\\');
  size_t keep = slash ? static_cast<size_t>(slash - path) + 1 : 0;
  size_t n = strnlen(found.fileName, kMaxPath - 1);
  Expansion result = Expansion::kExpanded;
  if (keep + n >= kMaxPath) {
    result = Expansion::kTooLong;
  } else {
    std::memcpy(path + keep, found.fileName, n);
    path[keep + n] = 0;
  }
  FindClose(search);
  return result;
}

namespace {

std::int32_t Refuse(std::int32_t code) {
  SetLastError(0);
  return code;
}

// The result of a single system call: 0, or its error code.
std::int32_t Outcome(BOOL ok) {
  return ok ? 0 : TakeLastError();
}

void FixBareDrive(char* shortName) {
  if (shortName[0] && shortName[1] == ':' && shortName[2] == 0) {
    shortName[2] = '\\';
    shortName[3] = 0;
  }
}

// The k-th backslash of PATH, not counting its first character; null when there is none.
char* KthBackslash(char* path, int k) {
  char* p = path[0] ? path + 1 : path;
  for (;;) {
    p = std::strchr(p, '\\');
    if (!p || --k == 0) return p;
    ++p;
  }
}

// Creates FILE empty with the create step's access and sharing. It opens an existing file
// instead of replacing it, so a lookup that failed for another reason never empties a file.
HANDLE CreateWithoutDestroying(const char* file) {
  return CreateFileA(file, kGenericRead | kGenericWrite, 0, nullptr, kOpenAlways, kAttrNormal, 0);
}

}  // namespace
}  // namespace ntpaths

using namespace ntpaths;
using namespace winfs;

extern "C" {

int32_t NTMAKEDIRECTORY(const char* path) {
  SetLastError(0);
  return Outcome(CreateDirectoryA(path, nullptr));
}

int32_t NTREMOVEDIRECTORY(const char* path) {
  SetLastError(0);
  return Outcome(RemoveDirectoryA(path));
}

int32_t NTDELETEFILE(const char* name) {
  SetLastError(0);
  return Outcome(DeleteFileA(name));
}

int32_t NTRENAMEFILE(const char* old_name, const char* new_name) {
  SetLastError(0);
  return Outcome(MoveFileA(old_name, new_name));
}

int32_t NTCHANGEDIRECTORY(char* path) {
  SetLastError(0);
  if (!SetCurrentDirectoryA(path)) return TakeLastError();
  DWORD n = GetCurrentDirectoryA(kMaxPath, path);
  if (n == 0) return TakeLastError();
  if (n >= kMaxPath) return Refuse(kErrFilenameExcedRange);
  return 0;
}

int32_t NTGETCURRENTDIR(int32_t drive, char* result) {
  if (!result) return Refuse(kErrInvalidParameter);
  char saved[kMaxPath];
  std::int32_t code = 0;
  if (drive != 0) {
    SetLastError(0);
    DWORD n = GetCurrentDirectoryA(kMaxPath, saved);
    if (n == 0) return TakeLastError();
    if (n >= kMaxPath) return Refuse(kErrFilenameExcedRange);
    char there[kMaxPath] = {static_cast<char>(drive + 64), ':', 0};
    code = NTCHANGEDIRECTORY(there);
  }
  if (code == 0) {
    SetLastError(0);
    char work[kMaxPath];
    DWORD n = GetCurrentDirectoryA(kMaxPath, work);
    if (n == 0) {
      code = TakeLastError();
    } else if (n >= kMaxPath) {
      code = Refuse(kErrFilenameExcedRange);
    } else {
      const char* from = work;  // a network path is copied whole
      if (work[1] == ':' && work[2] == '\\') {
        from = work[3] ? work + 3 : work + 2;  // "DATA\TIPS", or "\" for a root
      } else if (work[0] && work[1] == ':') {
        from = work + 2;
      }
      size_t len = strnlen(from, kCurrentDirBuffer - 1);
      std::memcpy(result, from, len);
      result[len] = 0;
    }
  }
  // The caller's directory comes back whatever happened, also after a failed change.
  if (drive != 0) NTCHANGEDIRECTORY(saved);
  return code;
}

int32_t NTSHORTTOLONGFILENAME(const char* short_name, char* long_name) {
  if (!long_name) return Refuse(kErrInvalidParameter);
  char* filePart = nullptr;
  DWORD n = GetFullPathNameA(short_name, kMaxPath, long_name, &filePart);
  if (n == 0) return TakeLastError();
  if (n >= kMaxPath) {
    long_name[0] = 0;
    return Refuse(kErrFilenameExcedRange);
  }
  for (int k = 1;; ++k) {
    char* slash = KthBackslash(long_name, k);
    if (!slash) break;
    char rest[kMaxPath];
    std::memcpy(rest, slash, std::strlen(slash) + 1);
    *slash = 0;
    Expansion e = ExpandLastComponent(long_name);
    size_t head = std::strlen(long_name), tail = std::strlen(rest);
    if (e == Expansion::kTooLong || head + tail >= kMaxPath) {
      if (head + tail < kMaxPath) std::memcpy(long_name + head, rest, tail + 1);
      return Refuse(kErrFilenameExcedRange);
    }
    std::memcpy(long_name + head, rest, tail + 1);
  }
  Expansion e = ExpandLastComponent(long_name);
  std::int32_t result = e == Expansion::kExpanded  ? 0
                        : e == Expansion::kTooLong ? kErrFilenameExcedRange
                                                   : kErrFileNotFound;
  SetLastError(0);
  return result;
}

int32_t NTLONGTOSHORTFILENAME(const char* long_name, char* short_name, int32_t create) {
  if (!short_name) return Refuse(kErrInvalidParameter);
  SetLastError(0);
  DWORD n = GetShortPathNameA(long_name, short_name, kShortBuffer);
  if (n != 0 && n < kShortBuffer) {
    FixBareDrive(short_name);
    return 0;
  }
  if (n != 0) {
    short_name[0] = 0;
    return Refuse(kErrFilenameExcedRange);
  }
  std::int32_t code = TakeLastError();
  if (!long_name) return code;
  if (code == static_cast<std::int32_t>(kErrInvalidParameter)) {
    MakeShortName(long_name, short_name);
    if (!create) return 0;
    HANDLE file = CreateWithoutDestroying(short_name);
    if (file == kInvalidHandle) return TakeLastError();
    CloseHandle(file);
    SetLastError(0);  // opening an existing file leaves "already exists" behind
    FixBareDrive(short_name);
    return 0;
  }
  if (!create) return kErrFileNotFound;
  HANDLE file = CreateWithoutDestroying(long_name);
  if (file == kInvalidHandle) return TakeLastError();
  std::int32_t result = NTLONGTOSHORTFILENAME(long_name, short_name, 0);
  CloseHandle(file);
  SetLastError(0);
  return result;
}

}  // extern "C"
