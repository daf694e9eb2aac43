// Windows-style path names, as the development environment's settings hold them, made into
// local ones: every "\" reads as "/", and a leading drive letter as the directory that the
// drive map gives it (the map ntpaths reads, from the same environment variable).
#pragma once

#include <string>
#include <string_view>

namespace vistip {

// The environment variable of the drive map: "C=/;D=/srv/data;N=/mnt/share,noshort".
inline constexpr const char* kDriveMapVariable = "NTPATHS_DRIVES";

// The local form of a Windows path under drive_map (the variable's syntax). C: is "/" unless
// the map says otherwise, "L=" unmaps a letter, ",noshort" is ignored, and a map that cannot
// be read is ignored as a whole. "X:\a" and "X:a" both become <root of X>/a; a drive the map
// does not name stays as written (with "/"), so the file simply will not open. Names without
// a drive stay relative; letter case is kept.
std::string LocalPathFromWindows(std::string_view path, std::string_view drive_map);
// The same with the drive map from kDriveMapVariable (unset: only C: = "/").
std::string LocalPathFromWindows(std::string_view path);

}  // namespace vistip
