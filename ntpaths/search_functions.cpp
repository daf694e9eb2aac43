// The three directory search functions of ntpaths: the system's search with each record's
// last-write time packed into the host programs' date-and-time form.
#include <cstring>

#include "ntpaths.h"
#include "ntpaths/steps.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/winfs.h"

using namespace ntpaths;
using namespace winfs;

namespace {

static_assert(sizeof(FindData) == sizeof(NtFindRecord));
static_assert(offsetof(FindData, lastWriteTime) == offsetof(NtFindRecord, lastWriteDateTime));
static_assert(offsetof(FindData, fileName) == offsetof(NtFindRecord, name));
static_assert(offsetof(FindData, alternateFileName) == offsetof(NtFindRecord, shortName));

// Packs the record's last-write time in place; the upper half at offset 24 stays as reported.
void PackLastWrite(const FindData& found, NtFindRecord* record) {
  std::memcpy(record, &found, sizeof *record);
  record->lastWriteDateTime = PackFileTime(found.lastWriteTime);
}

}  // namespace

extern "C" {

int32_t NTFINDFIRST(const char* pattern, NtFindRecord* record, uint32_t* handle) {
  SetLastError(0);
  if (!record || !handle) {
    if (handle) *handle = 0;
    return kErrInvalidParameter;
  }
  std::memset(record, 0, sizeof *record);
  FindData found;
  std::memset(&found, 0, sizeof found);
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == kInvalidHandle) {
    *handle = 0;
    return TakeLastError();
  }
  PackLastWrite(found, record);
  *handle = search;
  return 0;
}

int32_t NTFINDNEXT(uint32_t handle, NtFindRecord* record) {
  SetLastError(0);
  if (!record) return kErrInvalidParameter;
  std::memset(record, 0, sizeof *record);
  FindData found;
  std::memset(&found, 0, sizeof found);
  if (!FindNextFileA(handle, &found)) return TakeLastError();
  PackLastWrite(found, record);
  return 0;
}

int32_t NTFINDCLOSE(uint32_t handle) {
  SetLastError(0);
  return FindClose(handle) ? 0 : TakeLastError();
}

}  // extern "C"
