// The handle table shared by open files and searches: 32-bit values that never repeat while
// the process runs (short of wrapping), so a stale handle is refused rather than misused.
#pragma once

#include <memory>

#include "ntpaths/winfs/winfs.h"

namespace winfs {

struct HandleObject {
  enum class Kind { kFile, kSearch };
  explicit HandleObject(Kind k) : kind(k) {}
  virtual ~HandleObject() = default;
  const Kind kind;
};

HANDLE AddHandle(std::shared_ptr<HandleObject> object);
// The object of HANDLE if it is of KIND, or null.
std::shared_ptr<HandleObject> GetHandle(HANDLE handle, HandleObject::Kind kind);
// Removes HANDLE from the table if it is of KIND and gives its object, or null.
std::shared_ptr<HandleObject> TakeHandle(HANDLE handle, HandleObject::Kind kind);

}  // namespace winfs
