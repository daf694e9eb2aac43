// The drive map (letters to POSIX directories) and the current directories: the current
// drive's is the process's working directory as getcwd gives it at each call, the other
// drives' are kept one per drive. Read from NTPATHS_DRIVES on first use; guarded by one lock.
#pragma once

#include <optional>
#include <string>

#include "ntpaths/winfs/path.h"

namespace winfs {

struct DriveInfo {
  std::string root;        // POSIX directory, absolute, no trailing slash except for "/"
  std::string realRoot;    // the same without symbolic links, as getcwd would give it
  bool shortNames = true;  // false: the drive keeps no 8.3 aliases ("noshort")
};

// The drive that LETTER names, if it is mapped.
std::optional<DriveInfo> Drive(char letter);

// The current directory of LETTER (0: of the current drive), as a full path. When the process's
// working directory lies outside every mapped drive, the current drive's is "nowhere": a
// full path without drive or server (FullPath::IsNowhere).
FullPath CurrentDirectory(char letter);
// Makes PATH the current directory of its drive and that drive the current one, once the process
// has been moved to it (the working directory it now has is remembered).
void SetCurrentDirectoryState(const FullPath& path);

// The POSIX form of a full path on a mapped drive whose components are the names on disk.
std::string JoinPosix(const std::string& root, const std::string& name);

}  // namespace winfs
