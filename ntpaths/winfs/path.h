// Windows path syntax, without the file system: drive letters, "\" and "/" as separators,
// "." and "..", paths relative to a drive's current directory, and the full form of a path.
// Pure functions; the current directories come from the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace winfs {

// A path as written.
struct ParsedPath {
  enum class Kind : std::uint8_t {
    kEmpty,          // ""
    kDriveAbsolute,  // C:\x
    kDriveRelative,  // C:x (relative to drive C's current directory)
    kRootRelative,   // \x (root of the current drive)
    kRelative,       // x (relative to the current directory)
    kUnc,            // \\server\share\x
  };
  Kind kind = Kind::kEmpty;
  char drive = 0;                  // upper-case letter for the drive kinds
  std::vector<std::string> parts;  // components as written, empty ones left out
  bool trailingSeparator = false;
};

ParsedPath ParsePath(std::string_view text);

// A full path: a drive (or a network share) and its normalized components.
struct FullPath {
  char drive = 0;  // 'A'..'Z'; 0 for a network path
  std::string server, share;
  std::vector<std::string> parts;
  bool trailingSeparator = false;

  bool IsUnc() const { return drive == 0; }
  // The current directory when the process's working directory lies outside every drive.
  bool IsNowhere() const { return drive == 0 && server.empty(); }
  // "C:\a\b", "C:\" for a root, "\\server\share\a" for a network path.
  std::string Format() const;
  FullPath Parent() const;  // without the last component
};

// The current directory of a drive (0: the current drive), as a full path.
using CurrentDirFn = std::function<FullPath(char drive)>;

// One component as the full form keeps it: a single trailing dot removed, and for the last
// component every trailing dot and blank.
std::string NormalizePart(std::string part, bool last);

// The full form of a path: combined with the current directory it is relative to, "." and ".."
// resolved (never above the root), a single trailing dot of a component removed and trailing
// dots and blanks of the last component removed. KEEP_LAST_RAW leaves the last component as
// written (a search pattern such as "*." keeps its dot).
FullPath MakeFull(const ParsedPath& parsed, const CurrentDirFn& currentDir, bool keepLastRaw);

// 0, or the system's code for a path the file functions must refuse: 123 for a character that
// no name may hold (wildcards only in the last component, and only when WILDCARDS_IN_LAST),
// 206 for a component longer than 255 characters or a full path of 260 or more.
std::uint32_t CheckNames(const FullPath& path, bool wildcardsInLast);

}  // namespace winfs
