// The packed date and time of host programs (the MS-DOS layout), from a UTC file time.
#include "ntpaths/steps.h"

namespace ntpaths {

std::uint32_t PackDosDateTime(const winfs::SystemTime& t) {
  if (t.year < 1980 || t.year > 2107) return 0;
  std::uint32_t date = static_cast<std::uint32_t>((t.year - 1980) * 512 + t.month * 32 + t.day);
  std::uint32_t time = static_cast<std::uint32_t>(t.hour * 2048 + t.minute * 32 + t.second / 2);
  return date * 65536 + time;
}

std::uint32_t PackFileTime(const winfs::FileTime& utc) {
  winfs::FileTime local;
  winfs::SystemTime fields;
  if (!winfs::FileTimeToLocalFileTime(&utc, &local) ||
      !winfs::FileTimeToSystemTime(&local, &fields)) {
    // An unconvertible time packs as 0; its error is not the caller's.
    winfs::SetLastError(0);
    return 0;
  }
  return PackDosDateTime(fields);
}

}  // namespace ntpaths
