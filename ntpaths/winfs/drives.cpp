// Drive map configuration and the per-drive current directories.
#include "ntpaths/winfs/drives.h"

#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ntpaths/winfs/syscalls.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {
namespace {

struct State {
  bool configured = false;
  std::optional<DriveInfo> drives[26];
  std::vector<std::string> current[26];  // components of each drive's current directory
  char currentDrive = 'C';
  bool nowhere = false;    // the working directory lies outside every drive
  std::string workingDir;  // the working directory that the two above stand for
};

std::mutex& Lock() {
  static std::mutex mu;
  return mu;
}
State& TheState() {
  static State state;
  return state;
}

std::string WorkingDirectory() {
  char buf[4096];
  const char* cwd = Sys().getcwd(buf, sizeof buf);
  return cwd ? cwd : std::string();
}

std::string CleanRoot(std::string root) {
  if (root.empty() || root[0] != '/') root = WorkingDirectory() + "/" + root;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

bool Parse(std::string_view drive_map, std::optional<DriveInfo> (&out)[26]) {
  out[2] = DriveInfo{"/", "/", true};
  size_t i = 0;
  while (i <= drive_map.size()) {
    size_t end = drive_map.find(';', i);
    if (end == std::string_view::npos) end = drive_map.size();
    std::string_view item = drive_map.substr(i, end - i);
    i = end + 1;
    if (item.empty()) continue;
    if (item.size() < 2 || item[1] != '=') return false;
    char letter = static_cast<char>(item[0] & ~0x20);
    if (letter < 'A' || letter > 'Z') return false;
    std::string dir(item.substr(2));
    DriveInfo info;
    static constexpr std::string_view kNoShort = ",noshort";
    if (dir.size() >= kNoShort.size() &&
        std::string_view(dir).substr(dir.size() - kNoShort.size()) == kNoShort) {
      info.shortNames = false;
      dir.resize(dir.size() - kNoShort.size());
    }
    if (dir.empty()) {
      out[letter - 'A'].reset();
      continue;
    }
    info.root = CleanRoot(dir);
    char real[PATH_MAX];
    info.realRoot = ::realpath(info.root.c_str(), real) ? real : info.root;
    out[letter - 'A'] = info;
  }
  return true;
}

// Places the current drive and its directory on the working directory HERE: the mapped drive
// whose root holds it, the deepest one when roots nest; nowhere when none does.
void Follow(State& s, const std::string& here) {
  s.workingDir = here;
  size_t best = 0;
  int bestDrive = -1;
  for (int d = 0; d < 26; ++d) {
    if (!s.drives[d]) continue;
    const std::string& root = s.drives[d]->realRoot;
    bool inside = root == "/" || here == root ||
                  (here.compare(0, root.size(), root) == 0 && here[root.size()] == '/');
    if (inside && (bestDrive < 0 || root.size() > best)) best = root.size(), bestDrive = d;
  }
  s.nowhere = bestDrive < 0;
  if (s.nowhere) return;
  s.currentDrive = static_cast<char>('A' + bestDrive);
  std::vector<std::string>& parts = s.current[bestDrive];
  parts.clear();
  std::string rest = here.substr(best == 1 ? 0 : best);
  size_t i = 0;
  while (i < rest.size()) {
    size_t j = rest.find('/', i);
    if (j == std::string::npos) j = rest.size();
    if (j > i) parts.push_back(rest.substr(i, j - i));
    i = j + 1;
  }
}

// Brings the current drive's directory up to the working directory, where the process (or the
// host, with chdir) moved since the layer last looked. A working directory that cannot be read
// (removed) leaves the last one.
void Refresh(State& s) {
  std::string here = WorkingDirectory();
  if (!here.empty() && here != s.workingDir) Follow(s, here);
}

bool Configure(State& s, std::string_view drive_map) {
  std::optional<DriveInfo> drives[26];
  if (!Parse(drive_map, drives)) return false;
  for (int d = 0; d < 26; ++d) {
    s.drives[d] = drives[d];
    s.current[d].clear();
  }
  s.configured = true;
  s.workingDir.clear();
  Refresh(s);
  return true;
}

State& Configured() {
  State& s = TheState();
  if (!s.configured) {
    const char* env = std::getenv("NTPATHS_DRIVES");
    if (!env || !Configure(s, env)) Configure(s, "");
  }
  return s;
}

}  // namespace

std::optional<DriveInfo> Drive(char letter) {
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  std::lock_guard<std::mutex> g(Lock());
  return Configured().drives[letter - 'A'];
}

FullPath CurrentDirectory(char letter) {
  std::lock_guard<std::mutex> g(Lock());
  State& s = Configured();
  Refresh(s);
  FullPath p;
  if (!letter && s.nowhere) return p;
  p.drive = letter ? letter : s.currentDrive;
  if (p.drive >= 'A' && p.drive <= 'Z') p.parts = s.current[p.drive - 'A'];
  return p;
}

void SetCurrentDirectoryState(const FullPath& path) {
  if (path.drive < 'A' || path.drive > 'Z') return;
  std::string workingDir = WorkingDirectory();
  std::lock_guard<std::mutex> g(Lock());
  State& s = Configured();
  s.currentDrive = path.drive;
  s.current[path.drive - 'A'] = path.parts;
  s.nowhere = false;
  s.workingDir = std::move(workingDir);
}

std::string JoinPosix(const std::string& root, const std::string& name) {
  return root == "/" ? "/" + name : root + "/" + name;
}

bool ConfigureDrives(std::string_view drive_map) {
  std::lock_guard<std::mutex> g(Lock());
  return Configure(TheState(), drive_map);
}

void ResetDrives() {
  std::lock_guard<std::mutex> g(Lock());
  TheState() = State{};
}

}  // namespace winfs
