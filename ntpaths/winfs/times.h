// File times: POSIX times to the system's FILETIME (100-ns units since 1601, UTC).
#pragma once

#include <cstdint>
#include <ctime>

#include "ntpaths/winfs/winfs.h"

namespace winfs {

inline constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
inline constexpr std::int64_t kTicksPerSecond = 10000000LL;

FileTime ToFileTime(std::int64_t seconds, std::uint32_t nanoseconds);
inline std::uint64_t Ticks(const FileTime& t) {
  return (static_cast<std::uint64_t>(t.high) << 32) | t.low;
}
inline FileTime FromTicks(std::uint64_t v) {
  return FileTime{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
}

}  // namespace winfs
