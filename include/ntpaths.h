/* ntpaths: long file names with the Windows file system's rules, for host programs.
   Eleven plain C functions; every one returns 0 or a system error code (a 32-bit value). */
#ifndef NTPATHS_H
#define NTPATHS_H

#include <stddef.h>
#include <stdint.h>

/* Conventions, once for all functions:
   - Strings are NUL-terminated 8-bit strings in the host's ANSI code page (Windows-1252).
   - Output buffers are the caller's; their minimum sizes are given beside each function.
   - A result of 0 is success; anything else is the system's error code for the failure
     (2 file not found, 3 path not found, 5 access denied, 18 no more files, 32 sharing
     violation, 80 file exists, 87 invalid parameter, 112 disk full, 123 invalid name,
     145 directory not empty, 183 already exists, 206 name too long, ...). The thread's
     last-error value is 0 again when a function returns.
   - The functions keep no state between calls and may be called from any thread; a search
     handle must not be used by two threads at once. */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define NTPATHS_API __attribute__((visibility("default")))
#else
#define NTPATHS_API
#endif

/* A system file time: 100-nanosecond units since 1 January 1601, UTC, as two halves. */
typedef struct NtFileTime {
  uint32_t low;
  uint32_t high;
} NtFileTime;

/* The 320-byte search record filled by NTFINDFIRST and NTFINDNEXT (cleared before each step).
   It is the system's find-data record, except that the low half of the last-write time holds
   the packed local date and time: date * 65536 + time in the MS-DOS layout
   (date = (year-1980)*512 + month*32 + day, time = hour*2048 + minute*32 + second/2).
   The packed value is 0 when the time cannot be converted or lies outside 1980..2107. */
#pragma pack(push, 1)
typedef struct NtFindRecord {
  uint32_t attributes;        /*   0: 1 read-only, 2 hidden, 4 system, 10H directory, 20H archive */
  NtFileTime creationTime;    /*   4: UTC */
  NtFileTime lastAccessTime;  /*  12: UTC */
  uint32_t lastWriteDateTime; /*  20: packed local date and time */
  uint32_t lastWriteTimeHigh; /*  24: upper half of the UTC last-write time, as reported */
  uint32_t sizeHigh;          /*  28 */
  uint32_t sizeLow;           /*  32 */
  uint32_t reserved[2];       /*  36 */
  char name[260];             /*  44: long name */
  char shortName[14];         /* 304: 8.3 alias; empty when the long name already is 8.3 */
  uint8_t padding[2];         /* 318: zero */
} NtFindRecord;
#pragma pack(pop)

#ifdef __cplusplus
#define NTPATHS_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define NTPATHS_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
NTPATHS_STATIC_ASSERT(sizeof(NtFindRecord) == 320, "search record is 320 bytes");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, creationTime) == 4, "creation time at 4");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, lastAccessTime) == 12, "last access at 12");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, lastWriteDateTime) == 20, "packed time at 20");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, lastWriteTimeHigh) == 24, "write time high at 24");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, sizeHigh) == 28, "size high at 28");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, sizeLow) == 32, "size low at 32");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, reserved) == 36, "reserved at 36");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, name) == 44, "name at 44");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, shortName) == 304, "short name at 304");
NTPATHS_STATIC_ASSERT(offsetof(NtFindRecord, padding) == 318, "padding at 318");

/* Buffer sizes the functions rely on. */
#define NTPATHS_MAX_PATH 260   /* full paths, terminator included */
#define NTPATHS_SHORT_BUF 144  /* NTLONGTOSHORTFILENAME result */
#define NTPATHS_CURDIR_BUF 256 /* NTGETCURRENTDIR result */

/* Ordinal 1: creates a directory. */
NTPATHS_API int32_t NTMAKEDIRECTORY(const char* path);
/* Ordinal 2: removes an empty directory. */
NTPATHS_API int32_t NTREMOVEDIRECTORY(const char* path);
/* Ordinal 3: changes the current directory; on success PATH (a buffer of at least 260 bytes)
   receives the new current directory as a full path. */
NTPATHS_API int32_t NTCHANGEDIRECTORY(char* path);
/* Ordinal 4: deletes a file. */
NTPATHS_API int32_t NTDELETEFILE(const char* name);
/* Ordinal 5: the current directory of DRIVE (0 current drive, 1 A, 2 B, 3 C, ...) without its
   drive: "\" for a root, "DATA\TIPS" for C:\DATA\TIPS. RESULT holds at least 256 bytes. */
NTPATHS_API int32_t NTGETCURRENTDIR(int32_t drive, char* result);
/* Ordinal 6: renames or moves a file or directory; fails when NEW_NAME exists. */
NTPATHS_API int32_t NTRENAMEFILE(const char* old_name, const char* new_name);
/* Ordinal 7: the short (8.3) form of LONG_NAME into SHORT_NAME (at least 144 bytes); with
   CREATE nonzero a missing file is created empty first. An existing file is never emptied. */
NTPATHS_API int32_t NTLONGTOSHORTFILENAME(const char* long_name, char* short_name, int32_t create);
/* Ordinal 8: the full long form of SHORT_NAME into LONG_NAME (at least 260 bytes); 2 when the
   item does not exist, with the buffer holding the path as far as it could be expanded. */
NTPATHS_API int32_t NTSHORTTOLONGFILENAME(const char* short_name, char* long_name);
/* Ordinal 9: starts a search for PATTERN (a path whose last part may hold * and ?); on success
   stores the search handle through HANDLE, else stores 0 there. */
NTPATHS_API int32_t NTFINDFIRST(const char* pattern, NtFindRecord* record, uint32_t* handle);
/* Ordinal 10: the next match of a search; 18 at the end. */
NTPATHS_API int32_t NTFINDNEXT(uint32_t handle, NtFindRecord* record);
/* Ordinal 11: ends a search. */
NTPATHS_API int32_t NTFINDCLOSE(uint32_t handle);

#ifdef __cplusplus
}
#endif

#endif /* NTPATHS_H */
