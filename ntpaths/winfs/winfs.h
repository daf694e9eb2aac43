// The Windows file functions ntpaths is written against, built over POSIX: Windows path syntax
// with mapped drives, case-insensitive names, 8.3 aliases, DOS wildcards and the system's codes.
// Thread-safe: last-error is per thread; drives, current directories and handles are guarded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace winfs {

using DWORD = std::uint32_t;
using BOOL = int;
using HANDLE = std::uint32_t;  // host programs keep handles as 32-bit values

inline constexpr HANDLE kInvalidHandle = 0xFFFFFFFFu;
inline constexpr DWORD kMaxPath = 260;  // full path, terminator included

// Access, share and disposition values of CreateFileA.
inline constexpr DWORD kGenericRead = 0x80000000u;
inline constexpr DWORD kGenericWrite = 0x40000000u;
inline constexpr DWORD kShareRead = 1, kShareWrite = 2, kShareDelete = 4;
inline constexpr DWORD kCreateNew = 1, kCreateAlways = 2, kOpenExisting = 3, kOpenAlways = 4,
                       kTruncateExisting = 5;
inline constexpr DWORD kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrSystem = 0x04,
                       kAttrDirectory = 0x10, kAttrArchive = 0x20, kAttrNormal = 0x80,
                       kAttrReparsePoint = 0x400;

struct FileTime {
  std::uint32_t low;
  std::uint32_t high;
};

struct SystemTime {
  std::uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};

// The system's find-data record: 318 bytes of fields, 320 with the tail padding.
struct FindData {
  std::uint32_t attributes;
  FileTime creationTime;
  FileTime lastAccessTime;
  FileTime lastWriteTime;
  std::uint32_t sizeHigh;
  std::uint32_t sizeLow;
  std::uint32_t reserved0;
  std::uint32_t reserved1;
  char fileName[kMaxPath];
  char alternateFileName[14];
};
static_assert(sizeof(FindData) == 320);

void SetLastError(DWORD code);
DWORD GetLastError();

BOOL CreateDirectoryA(const char* path, const void* security);
BOOL RemoveDirectoryA(const char* path);
BOOL SetCurrentDirectoryA(const char* path);
DWORD GetCurrentDirectoryA(DWORD size, char* buffer);
BOOL DeleteFileA(const char* name);
BOOL MoveFileA(const char* existing, const char* target);
DWORD GetFullPathNameA(const char* path, DWORD size, char* buffer, char** filePart);
DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size);
HANDLE CreateFileA(const char* name, DWORD access, DWORD share, const void* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
HANDLE FindFirstFileA(const char* pattern, FindData* data);
BOOL FindNextFileA(HANDLE search, FindData* data);
BOOL FindClose(HANDLE search);
BOOL FileTimeToLocalFileTime(const FileTime* utc, FileTime* local);
BOOL FileTimeToSystemTime(const FileTime* time, SystemTime* fields);

// Configuration of the drive map, in the syntax of the NTPATHS_DRIVES variable:
// "C=/;D=/srv/data;N=/mnt/share,noshort". Resets every drive's current directory to its root
// and makes the current drive the one holding the process's working directory (else C:).
// Returns false (and changes nothing) when the text cannot be read.
bool ConfigureDrives(std::string_view drive_map);
// Forgets the configuration; the next call reads NTPATHS_DRIVES again.
void ResetDrives();

}  // namespace winfs
