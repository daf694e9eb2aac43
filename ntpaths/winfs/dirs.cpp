// The current directory, the full form of a path and its short (8.3) form.
#include <cerrno>
#include <cstring>

#include "ntpaths/winfs/common.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/syscalls.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {
namespace {

// Copies S into BUFFER of SIZE bytes as the system's string functions do: the length without
// the terminator when it fits, else the size needed (terminator included) and nothing written.
DWORD CopyOut(const std::string& s, char* buffer, DWORD size) {
  if (!buffer || size <= s.size()) return static_cast<DWORD>(s.size() + 1);
  std::memcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<DWORD>(s.size());
}

// The short form of the item NAME found in the POSIX directory DIR: the name itself when it
// already is 8.3, else its alias; empty when it has none.
std::string ShortFormIn(const std::string& dir, const std::string& name) {
  if (IsShortName(name)) return name;
  std::string alias = KeptAlias(dir, name);
  if (!alias.empty()) return alias;
  WithListing(dir, true, [&](DirListing& listing) {
    long i = listing.FindName(name);
    if (i >= 0) alias = listing.AliasOf(static_cast<size_t>(i));
  });
  return alias;
}

}  // namespace

BOOL SetCurrentDirectoryA(const char* path) {
  Target t = FullOf(path, false, false);
  if (t.error) return Fail(t.error);
  Resolved r = Resolve(t.full);
  if (r.error) return Fail(r.error);
  struct statx st;
  if (int err = StatOf(r.posix, false, &st)) return Fail(FromErrno(err));
  if (!S_ISDIR(st.stx_mode)) return Fail(kErrDirectory);
  if (Sys().chdir(r.posix.c_str()) != 0) return Fail(FromErrno(errno));
  FullPath now = t.full;
  now.trailingSeparator = false;
  SetCurrentDirectoryState(now);
  return 1;
}

DWORD GetCurrentDirectoryA(DWORD size, char* buffer) {
  FullPath here = CurrentDirectory(0);
  if (here.IsNowhere()) return Fail(kErrPathNotFound);
  return CopyOut(here.Format(), buffer, size);
}

DWORD GetFullPathNameA(const char* path, DWORD size, char* buffer, char** filePart) {
  if (!path) return Fail(kErrInvalidParameter);
  if (!*path) return Fail(kErrPathNotFound);
  ParsedPath parsed = ParsePath(path);
  FullPath full = MakeFull(parsed, CurrentDirectory, false);
  if (full.IsNowhere() && parsed.kind != ParsedPath::Kind::kUnc) return Fail(kErrPathNotFound);
  std::string s = full.Format();
  if (s.size() >= kMaxPath) return Fail(kErrFilenameExcedRange);
  DWORD n = CopyOut(s, buffer, size);
  if (n == s.size() && filePart) {
    *filePart = (full.parts.empty() || full.trailingSeparator)
                    ? nullptr
                    : buffer + s.size() - full.parts.back().size();
  }
  return n;
}

DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) {
  if (!longPath) return Fail(kErrInvalidParameter);
  if (!*longPath) return Fail(kErrPathNotFound);
  ParsedPath parsed = ParsePath(longPath);
  if (parsed.kind == ParsedPath::Kind::kUnc) return Fail(kErrBadNetPath);
  // Where the walk starts, and the prefix that stays as written.
  FullPath base;
  std::string out;
  switch (parsed.kind) {
    case ParsedPath::Kind::kDriveAbsolute:
      base.drive = parsed.drive;
      out.assign({longPath[0], ':', '\\'});
      break;
    case ParsedPath::Kind::kDriveRelative:
      base = CurrentDirectory(parsed.drive);
      out.assign({longPath[0], ':'});
      break;
    case ParsedPath::Kind::kRootRelative:
      base = CurrentDirectory(0);
      base.parts.clear();
      out.assign(1, '\\');
      break;
    default:
      base = CurrentDirectory(0);
      break;
  }
  auto drive = Drive(base.drive);
  if (!drive) return Fail(kErrPathNotFound);
  FullPath written = base;
  written.parts.clear();
  for (size_t i = 0; i < parsed.parts.size(); ++i) {
    std::string part = NormalizePart(parsed.parts[i], i + 1 == parsed.parts.size());
    if (part == "." || part == "..") continue;
    written.parts.push_back(part);
    // A drive that keeps no 8.3 names has no short form for a name that is not one already.
    if (!drive->shortNames && !IsShortName(part)) return Fail(kErrInvalidParameter);
  }
  if (DWORD code = CheckNames(written, false)) return Fail(code);
  Resolved here = Resolve(base);
  if (here.error) return Fail(here.error == kErrFileNotFound ? kErrPathNotFound : here.error);
  FullPath onDisk = base;
  std::string dir = here.posix;
  for (size_t i = 0; i < parsed.parts.size(); ++i) {
    bool last = i + 1 == parsed.parts.size();
    std::string part = NormalizePart(parsed.parts[i], last);
    if (part == "." || part == "..") {
      if (part == ".." && !onDisk.parts.empty()) {
        onDisk.parts.pop_back();
        Resolved up = Resolve(onDisk);
        if (up.error) return Fail(kErrPathNotFound);
        dir = up.posix;
      }
      out += part;
    } else {
      Found f = FindInDirectory(dir, part, drive->shortNames);
      if (f.error) return Fail(f.error == kErrFileNotFound && !last ? kErrPathNotFound : f.error);
      std::string shortForm = ShortFormIn(dir, f.name);
      if (shortForm.empty()) return Fail(kErrInvalidParameter);
      out += shortForm;
      onDisk.parts.push_back(f.name);
      dir = f.posix;
    }
    if (!last || parsed.trailingSeparator) out += '\\';
  }
  if (out.size() >= kMaxPath) return Fail(kErrFilenameExcedRange);
  return CopyOut(out, shortPath, size);
}

}  // namespace winfs
