// Windows-style path names made local: separators and the drive map.
#include "platform/windows_path.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace vistip {
namespace {

using DriveRoots = std::array<std::optional<std::string>, 26>;

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsDriveLetter(char c) {
  return UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z';
}

DriveRoots DefaultRoots() {
  DriveRoots roots;
  roots['C' - 'A'] = "/";
  return roots;
}

// Items "L=directory" separated by ";"; an item of another form makes the whole map unreadable.
DriveRoots ReadDriveMap(std::string_view map) {
  DriveRoots roots = DefaultRoots();
  while (!map.empty()) {
    const size_t end = std::min(map.find(';'), map.size());
    std::string_view item = map.substr(0, end);
    map.remove_prefix(std::min(end + 1, map.size()));
    if (item.empty()) continue;
    if (item.size() < 2 || item[1] != '=' || !IsDriveLetter(item[0])) return DefaultRoots();
    std::optional<std::string>& root = roots[UpperAscii(item[0]) - 'A'];
    std::string_view dir = item.substr(2);
    constexpr std::string_view kNoShort = ",noshort";
    if (dir.ends_with(kNoShort)) dir.remove_suffix(kNoShort.size());
    while (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
    if (dir.empty()) {
      root.reset();
    } else {
      root = std::string(dir);
    }
  }
  return roots;
}

}  // namespace

std::string LocalPathFromWindows(std::string_view path, std::string_view drive_map) {
  std::string local(path);
  std::replace(local.begin(), local.end(), '\\', '/');
  if (local.size() < 2 || local[1] != ':' || !IsDriveLetter(local[0])) return local;
  const std::optional<std::string> root = ReadDriveMap(drive_map)[UpperAscii(local[0]) - 'A'];
  if (!root) return local;
  std::string rest = local.substr(2);
  if (rest.empty() || rest.front() != '/') rest.insert(0, "/");
  return *root == "/" ? rest : *root + rest;
}

std::string LocalPathFromWindows(std::string_view path) {
  const char* map = std::getenv(kDriveMapVariable);
  return LocalPathFromWindows(path, map ? map : "");
}

}  // namespace vistip
