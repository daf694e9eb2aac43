// Directory searches. A search reads its directory once when it starts and then hands out the
// matches in the system's order (".", "..", then by name without regard to case); a wildcard
// pattern is matched against both the long name and the alias of each entry.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <vector>

#include "ntpaths/winfs/common.h"
#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/handles.h"
#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/names.h"
#include "ntpaths/winfs/syscalls.h"
#include "ntpaths/winfs/times.h"
#include "ntpaths/winfs/wildcard.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {
namespace {

// What a search keeps of one match: its names in the search's own text, and its attributes,
// times and size. The records are built from it one at a time.
struct EntryInfo {
  std::uint32_t attributes = 0;
  FileTime creation{}, access{}, write{};
  std::uint64_t size = 0;
};

struct Match {
  std::uint32_t nameAt, nameLength, aliasAt, aliasLength;
  EntryInfo info;
};

struct SearchObject : HandleObject {
  SearchObject() : HandleObject(Kind::kSearch) {}
  void Add(std::string_view name, std::string_view alias, const EntryInfo& info) {
    Match m{static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(name.size()), 0,
            static_cast<std::uint32_t>(alias.size()), info};
    text.append(name);
    m.aliasAt = static_cast<std::uint32_t>(text.size());
    text.append(alias);
    matches.push_back(m);
  }
  void Fill(size_t i, FindData* d) const {
    const Match& m = matches[i];
    std::memset(d, 0, sizeof *d);
    d->attributes = m.info.attributes;
    d->creationTime = m.info.creation;
    d->lastAccessTime = m.info.access;
    d->lastWriteTime = m.info.write;
    d->sizeHigh = static_cast<std::uint32_t>(m.info.size >> 32);
    d->sizeLow = static_cast<std::uint32_t>(m.info.size);
    std::memcpy(d->fileName, text.data() + m.nameAt, std::min<size_t>(m.nameLength, kMaxPath - 1));
    std::memcpy(d->alternateFileName, text.data() + m.aliasAt, std::min<size_t>(m.aliasLength, 13));
  }
  std::mutex mu;
  std::string text;
  std::vector<Match> matches;
  size_t next = 0;
};

FileTime TimeOf(const struct statx_timestamp& t) {
  return ToFileTime(t.tv_sec, t.tv_nsec);
}

// The attributes, times and size of one entry from its stat; LINK_ONLY when a link's target
// could not be reached.
EntryInfo InfoOf(std::string_view name, const struct statx& st, bool linkOnly) {
  EntryInfo d;
  if (S_ISDIR(st.stx_mode)) {
    d.attributes = kAttrDirectory;
  } else {
    d.attributes = S_ISREG(st.stx_mode) ? kAttrArchive : kAttrSystem;
    if (!(st.stx_mode & S_IWUSR)) d.attributes |= kAttrReadOnly;
    d.size = st.stx_size;
  }
  if (linkOnly) d.attributes |= kAttrReparsePoint;
  if (name.size() > 1 && name[0] == '.' && name != "..") d.attributes |= kAttrHidden;
  d.creation = TimeOf((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime);
  d.access = TimeOf(st.stx_atime);
  d.write = TimeOf(st.stx_mtime);
  return d;
}

// Stats an entry, following a link; a link that leads nowhere is reported as itself.
int StatEntry(const std::string& posix, struct statx* st, bool* linkOnly) {
  *linkOnly = false;
  int err = StatOf(posix, false, st);
  if (err == ENOENT || err == ELOOP) {
    if (StatOf(posix, true, st) == 0) {
      *linkOnly = true;
      return 0;
    }
  }
  return err;
}

// A search for one name (no wildcards) in DIR.
DWORD FindOne(const std::string& dir, const std::string& name, bool shortNames,
              SearchObject* results) {
  std::string found;
  struct statx st;
  bool linkOnly = false;
  int err = StatEntry(JoinPosix(dir, name), &st, &linkOnly);
  std::string alias;
  if (err == 0) {
    found = name;
    if (shortNames && !IsShortName(found)) alias = KeptAlias(dir, found);
  } else if (err != ENOENT) {
    return FromErrno(err, Missing::kPath);
  } else if (shortNames) {
    found = IndexedHolder(dir, name);
    if (!found.empty()) {
      alias = ToUpper(name);
      err = StatEntry(JoinPosix(dir, found), &st, &linkOnly);
      if (err) return FromErrno(err, Missing::kPath);
    }
  }
  bool needsListing = found.empty() || (shortNames && !IsShortName(found) && alias.empty());
  if (needsListing) {
    int e = WithListing(dir, shortNames, [&](DirListing& listing) {
      long i = found.empty() ? listing.FindAlias(name) : -1;  // the alias first, as above
      if (i < 0) i = listing.FindName(found.empty() ? name : found);
      if (i < 0) return;
      found = listing.Name(static_cast<size_t>(i));
      alias = listing.AliasOf(static_cast<size_t>(i));
    });
    if (e) return FromErrno(e, Missing::kPath);
    if (found.empty()) return kErrFileNotFound;
    if (err != 0) {
      if (int e2 = StatEntry(JoinPosix(dir, found), &st, &linkOnly)) return FromErrno(e2);
    }
  }
  results->Add(found, alias, InfoOf(found, st, linkOnly));
  return 0;
}

// A wildcard search in DIR; "." and ".." are listed except in a drive's root.
DWORD FindAll(const std::string& dir, const std::string& parentDir, bool atRoot,
              const std::string& pattern, bool shortNames, SearchObject* results) {
  if (!atRoot) {
    struct statx st;
    if (MatchesPattern(pattern, ".") && StatOf(dir, false, &st) == 0)
      results->Add(".", "", InfoOf(".", st, false));
    if (MatchesPattern(pattern, "..") && StatOf(parentDir, false, &st) == 0)
      results->Add("..", "", InfoOf("..", st, false));
  }
  int e = WithListing(dir, shortNames, [&](DirListing& listing) {
    const size_t n = listing.size();
    std::vector<char> byLong(n), stated(n);
    std::vector<EntryInfo> infos(n);
    std::string path = dir + "/";
    const size_t base = path.size();
    for (size_t i = 0; i < n; ++i) {
      byLong[i] = MatchesPattern(pattern, listing.Name(i));
      if (!byLong[i] && !listing.NeedsAlias(i)) continue;
      path.resize(base);
      path += listing.Name(i);
      bool link;
      struct statx st;
      if (StatEntry(path, &st, &link) != 0) continue;
      stated[i] = 1;
      infos[i] = InfoOf(listing.Name(i), st, link);
    }
    listing.AssignAll();
    // The system's order: by the upper-case form of the names, then by their bytes.
    std::string folded;
    std::vector<std::uint32_t> at(n + 1);
    for (size_t i = 0; i < n; ++i) {
      at[i] = static_cast<std::uint32_t>(folded.size());
      for (char c : listing.Name(i))
        folded += static_cast<char>(FoldUpper(static_cast<unsigned char>(c)));
    }
    at[n] = static_cast<std::uint32_t>(folded.size());
    auto key = [&](size_t i) { return std::string_view(folded).substr(at[i], at[i + 1] - at[i]); };
    std::vector<size_t> order;
    order.reserve(n);
    for (size_t i = 0; i < n; ++i)
      if (stated[i]) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      int c = key(a).compare(key(b));
      return c != 0 ? c < 0 : listing.Name(a) < listing.Name(b);
    });
    results->matches.reserve(results->matches.size() + order.size());
    for (size_t i : order) {
      const std::string& alias = listing.AliasOf(i);
      if (!byLong[i] && (alias.empty() || !MatchesPattern(pattern, alias))) continue;
      results->Add(listing.Name(i), alias, infos[i]);
    }
  });
  if (e) return FromErrno(e, Missing::kPath);
  return results->matches.empty() ? kErrFileNotFound : 0;
}

}  // namespace

HANDLE FindFirstFileA(const char* pattern, FindData* data) {
  if (!data) return FailHandle(kErrInvalidParameter);
  // A bare drive ("C:") names that drive's current directory, not an entry to find: the search
  // fails, so that the drive part of a path being expanded comes back unchanged.
  ParsedPath parsed = ParsePath(pattern ? pattern : "");
  if (parsed.kind == ParsedPath::Kind::kDriveRelative && parsed.parts.empty())
    return FailHandle(kErrFileNotFound);
  // A wildcard pattern is matched as written ("*." finds the names without extension); a plain
  // name loses its trailing dots and blanks, as with every other function.
  bool wildcards = !parsed.parts.empty() && HasWildcards(parsed.parts.back());
  Target t = FullOf(pattern, wildcards, true);
  if (t.error) return FailHandle(t.error);
  // A bare drive or a root names no entry of a directory.
  if (t.full.parts.empty() || t.full.trailingSeparator) return FailHandle(kErrFileNotFound);
  FullPath parent = t.full.Parent();
  Resolved dir = Resolve(parent);
  if (dir.error) return FailHandle(dir.error == kErrFileNotFound ? kErrPathNotFound : dir.error);
  struct statx st;
  if (StatOf(dir.posix, false, &st) != 0 || !S_ISDIR(st.stx_mode))
    return FailHandle(kErrPathNotFound);
  const std::string& last = t.full.parts.back();
  auto search = std::make_shared<SearchObject>();
  DWORD code;
  if (HasWildcards(last)) {
    code = FindAll(dir.posix, dir.parentPosix, parent.parts.empty(), last, dir.drive.shortNames,
                   search.get());
  } else {
    code = FindOne(dir.posix, last, dir.drive.shortNames, search.get());
  }
  if (code) return FailHandle(code);
  search->Fill(0, data);
  search->next = 1;
  return AddHandle(search);
}

BOOL FindNextFileA(HANDLE handle, FindData* data) {
  if (!data) return Fail(kErrInvalidParameter);
  auto object = GetHandle(handle, HandleObject::Kind::kSearch);
  if (!object) return Fail(kErrInvalidHandle);
  auto* search = static_cast<SearchObject*>(object.get());
  std::lock_guard<std::mutex> g(search->mu);
  if (search->next >= search->matches.size()) return Fail(kErrNoMoreFiles);
  search->Fill(search->next++, data);
  return 1;
}

BOOL FindClose(HANDLE handle) {
  if (!TakeHandle(handle, HandleObject::Kind::kSearch)) return Fail(kErrInvalidHandle);
  return 1;
}

}  // namespace winfs
