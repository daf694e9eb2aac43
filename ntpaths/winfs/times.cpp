// FILETIME conversions: to local time with the zone's rules for that very date (not today's
// offset), and to calendar fields.
#include "ntpaths/winfs/times.h"

#include "ntpaths/winfs/errors.h"

namespace winfs {
namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

constexpr std::uint64_t kMaxTicks = 0x7FFFFFFFFFFFFFFFull;

}  // namespace

FileTime ToFileTime(std::int64_t seconds, std::uint32_t nanoseconds) {
  std::int64_t s = seconds + kSecondsFrom1601To1970;
  if (s < 0) return FileTime{0, 0};
  return FromTicks(static_cast<std::uint64_t>(s) * kTicksPerSecond + nanoseconds / 100);
}

BOOL FileTimeToLocalFileTime(const FileTime* utc, FileTime* local) {
  if (!utc || !local) return SetLastError(kErrInvalidParameter), 0;
  std::uint64_t v = Ticks(*utc);
  if (v > kMaxTicks) return SetLastError(kErrInvalidParameter), 0;
  time_t t =
      static_cast<time_t>(static_cast<std::int64_t>(v / kTicksPerSecond) - kSecondsFrom1601To1970);
  struct tm tm;
  if (!localtime_r(&t, &tm)) return SetLastError(kErrInvalidParameter), 0;
  std::int64_t shifted = static_cast<std::int64_t>(v) + tm.tm_gmtoff * kTicksPerSecond;
  if (shifted < 0) return SetLastError(kErrInvalidParameter), 0;
  *local = FromTicks(static_cast<std::uint64_t>(shifted));
  return 1;
}

BOOL FileTimeToSystemTime(const FileTime* time, SystemTime* fields) {
  if (!time || !fields) return SetLastError(kErrInvalidParameter), 0;
  std::uint64_t v = Ticks(*time);
  if (v > kMaxTicks) return SetLastError(kErrInvalidParameter), 0;
  constexpr std::uint64_t kTicksPerDay = 86400ull * kTicksPerSecond;
  std::int64_t days1601 = static_cast<std::int64_t>(v / kTicksPerDay);
  std::uint64_t rest = v % kTicksPerDay;
  std::int64_t year;
  unsigned month, day;
  CivilFromDays(days1601 - 134774, &year, &month, &day);  // 1601-01-01 to 1970-01-01
  fields->year = static_cast<std::uint16_t>(year);
  fields->month = static_cast<std::uint16_t>(month);
  fields->day = static_cast<std::uint16_t>(day);
  fields->dayOfWeek = static_cast<std::uint16_t>((days1601 + 1) % 7);  // 1601-01-01: a Monday
  std::uint64_t secs = rest / kTicksPerSecond;
  fields->hour = static_cast<std::uint16_t>(secs / 3600);
  fields->minute = static_cast<std::uint16_t>(secs / 60 % 60);
  fields->second = static_cast<std::uint16_t>(secs % 60);
  fields->milliseconds = static_cast<std::uint16_t>(rest % kTicksPerSecond / 10000);
  return 1;
}

}  // namespace winfs
