// The handle table shared by open files and searches: 32-bit values that never repeat while
// the process runs (short of wrapping), so a stale handle is refused rather than misused.
#pragma once

#include <memory>

#include "ntpaths/winfs/winfs.h"

namespace winfs {

struct HandleObject {
  virtual ~HandleObject() = default;
};

HANDLE AddHandle(std::shared_ptr<HandleObject> object);
// The object of HANDLE, or null.
std::shared_ptr<HandleObject> GetHandle(HANDLE handle);
// Removes HANDLE from the table and gives its object, or null.
std::shared_ptr<HandleObject> TakeHandle(HANDLE handle);

}  // namespace winfs
