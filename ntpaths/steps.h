// The internal steps of the ntpaths functions, declared for the tests and fuzz targets:
// TakeLastError, ExpandLastComponent, MakeShortName and the packing of file dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ntpaths/winfs/winfs.h"

namespace ntpaths {

inline constexpr std::uint32_t kShortBuffer = 144;       // NTLONGTOSHORTFILENAME result
inline constexpr std::uint32_t kCurrentDirBuffer = 256;  // NTGETCURRENTDIR result

// Reads the thread's last-error value, sets it to 0 and returns what was read.
std::int32_t TakeLastError();

// What ExpandLastComponent did to its path.
enum class Expansion { kNotFound = 0, kExpanded = 1, kTooLong = 2 };
// Replaces the last component of PATH (a buffer of 260 bytes) with the long name of the item it
// names; a result that would not fit leaves PATH unchanged.
Expansion ExpandLastComponent(char* path);

// Builds a short-name-like path by rule, without the file system, into OUT (144 bytes).
void MakeShortName(const char* longName, char* out);
std::string MakeShortName(std::string_view longName);

// The packed MS-DOS date and time: date * 65536 + time; 0 outside 1980..2107.
std::uint32_t PackDosDateTime(const winfs::SystemTime& t);
// The packed local date and time of a UTC file time; 0 when it cannot be converted.
std::uint32_t PackFileTime(const winfs::FileTime& utc);

}  // namespace ntpaths
