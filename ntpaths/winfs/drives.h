// The drive map (letters to POSIX directories) and one current directory per drive, as the
// original system keeps them. Read from NTPATHS_DRIVES on first use; guarded by one lock.
#pragma once

#include <optional>
#include <string>

#include "ntpaths/winfs/path.h"

namespace winfs {

struct DriveInfo {
  std::string root;        // POSIX directory, absolute, no trailing slash except for "/"
  bool shortNames = true;  // false: the drive keeps no 8.3 aliases ("noshort")
};

// The drive that LETTER names, if it is mapped.
std::optional<DriveInfo> Drive(char letter);

// The current directory of LETTER (0: of the current drive), as a full path.
FullPath CurrentDirectory(char letter);
// Makes PATH the current directory of its drive and that drive the current one.
void SetCurrentDirectoryState(const FullPath& path);

// The POSIX form of a full path on a mapped drive whose components are the names on disk.
std::string JoinPosix(const std::string& root, const std::string& name);

}  // namespace winfs
