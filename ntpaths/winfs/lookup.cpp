// Directory listings with aliases, and path resolution.
#include "ntpaths/winfs/lookup.h"

#include <cerrno>
#include <set>

#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/names.h"
#include "ntpaths/winfs/syscalls.h"

namespace winfs {

int DirListing::Read(const std::string& dir, bool shortNames) {
  dir_ = dir;
  shortNames_ = shortNames;
  entries_.clear();
  realShort_.clear();
  assigned_.clear();
  DIR* d = Sys().opendir(dir.c_str());
  if (!d) return errno;
  int err = 0;
  for (;;) {
    errno = 0;
    struct dirent* e = Sys().readdir(d);
    if (!e) {
      err = errno;
      break;
    }
    std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    Entry entry;
    entry.name.assign(name);
    entry.inode = e->d_ino;
    entry.type = e->d_type;
    if (IsShortName(name)) {
      realShort_.insert(ToUpper(name));
    } else if (shortNames) {
      entry.needsAlias = true;
      entry.stem = StemOf(name);
    }
    entries_.push_back(std::move(entry));
  }
  Sys().closedir(d);
  return err;
}

long DirListing::FindName(std::string_view name) const {
  long found = -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == name) return static_cast<long>(i);
    if (EqualsNoCase(entries_[i].name, name) &&
        (found < 0 || entries_[i].name < entries_[static_cast<size_t>(found)].name))
      found = static_cast<long>(i);
  }
  return found;
}

CreationKey KeyOfStat(const struct statx& st) {
  CreationKey k;
  if (st.stx_mask & STATX_BTIME) {
    k.seconds = st.stx_btime.tv_sec;
    k.nanoseconds = st.stx_btime.tv_nsec;
  }
  k.inode = st.stx_ino;
  return k;
}

bool DirListing::IsTaken(const std::string& alias) const {
  return realShort_.count(alias) > 0 || assigned_.count(alias) > 0;
}

const CreationKey& DirListing::KeyOf(size_t i) {
  Entry& e = entries_[i];
  if (!e.keyKnown) {
    struct statx st;
    std::string path = JoinPosix(dir_, e.name);
    if (Sys().statx(path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_INO, &st) == 0) {
      e.key = KeyOfStat(st);
    } else {
      e.key = CreationKey{0, 0, e.inode};
    }
    e.keyKnown = true;
  }
  return e.key;
}

void DirListing::SetKey(size_t i, const CreationKey& key) {
  entries_[i].key = key;
  entries_[i].keyKnown = true;
}

void DirListing::AssignGroup(const std::string& prefix, const std::string& ext, int digits) {
  std::vector<AliasCandidate> storage;
  std::vector<size_t> index;
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& e = entries_[i];
    if (!e.needsAlias || e.aliasDone || e.stem.ext != ext) continue;
    if (StemPrefix(e.stem.base, digits) != prefix) continue;
    storage.push_back(AliasCandidate{&e.name, e.stem, KeyOf(i), {}});
    index.push_back(i);
  }
  std::vector<AliasCandidate*> cands;
  for (auto& c : storage) cands.push_back(&c);
  // Numbers already handed out count as taken: the entries left over from an earlier, smaller
  // group then overflow again exactly as they did the first time.
  AssignAliases(cands, digits, [this](const std::string& a) { return IsTaken(a); });
  for (size_t k = 0; k < storage.size(); ++k) {
    Entry& e = entries_[index[k]];
    // An entry left without a number here may still get one with more digits.
    if (!storage[k].alias.empty() || digits == 6) {
      e.alias = std::move(storage[k].alias);
      e.aliasDone = true;
      if (!e.alias.empty()) assigned_.insert(e.alias);
    }
  }
}

const std::string& DirListing::AliasOf(size_t i) {
  Entry& e = entries_[i];
  for (int digits = 1; e.needsAlias && !e.aliasDone && digits <= 6; ++digits)
    AssignGroup(StemPrefix(e.stem.base, digits), e.stem.ext, digits);
  return e.alias;
}

long DirListing::FindAlias(std::string_view name) {
  if (!shortNames_) return -1;
  auto q = ParseAlias(name);
  if (!q) return -1;
  // Settle the groups of fewer digits first: the entries that overflow into this group come
  // from them.
  for (int digits = 1; digits <= q->digits; ++digits) {
    std::set<std::string> prefixes;
    for (const Entry& e : entries_) {
      if (e.needsAlias && !e.aliasDone && e.stem.ext == q->ext &&
          StemPrefix(e.stem.base, q->digits) == q->prefix)
        prefixes.insert(StemPrefix(e.stem.base, digits));
    }
    for (const auto& prefix : prefixes) AssignGroup(prefix, q->ext, digits);
  }
  std::string want = FormatAlias(q->prefix, q->number, q->ext);
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].aliasDone && entries_[i].alias == want) return static_cast<long>(i);
  return -1;
}

void DirListing::AssignAll() {
  if (!shortNames_) return;
  std::vector<AliasCandidate> storage;
  std::vector<size_t> index;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].needsAlias || entries_[i].aliasDone) continue;
    storage.push_back(AliasCandidate{&entries_[i].name, entries_[i].stem, KeyOf(i), {}});
    index.push_back(i);
  }
  std::vector<AliasCandidate*> cands;
  for (auto& c : storage) cands.push_back(&c);
  AssignAliases(cands, 6, [this](const std::string& a) { return IsTaken(a); });
  for (size_t k = 0; k < storage.size(); ++k) {
    entries_[index[k]].alias = std::move(storage[k].alias);
    entries_[index[k]].aliasDone = true;
    if (!entries_[index[k]].alias.empty()) assigned_.insert(entries_[index[k]].alias);
  }
}

Found FindInDirectory(const std::string& dir, std::string_view name, bool aliases) {
  Found f;
  std::string exact = JoinPosix(dir, std::string(name));
  struct statx st;
  if (Sys().statx(exact.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) == 0) {
    f.posix = std::move(exact);
    f.name.assign(name);
    return f;
  }
  if (errno != ENOENT) {
    f.error = FromErrno(errno, Missing::kPath);
    return f;
  }
  DirListing listing;
  if (int err = listing.Read(dir, aliases)) {
    f.error = FromErrno(err, Missing::kPath);
    return f;
  }
  long i = listing.FindName(name);
  if (i < 0 && aliases) i = listing.FindAlias(name);
  if (i < 0) {
    f.error = kErrFileNotFound;
    return f;
  }
  f.name = listing.Name(static_cast<size_t>(i));
  f.posix = JoinPosix(dir, f.name);
  return f;
}

Resolved Resolve(const FullPath& path) {
  Resolved r;
  if (path.IsUnc()) {
    r.error = kErrBadNetPath;
    return r;
  }
  auto drive = Drive(path.drive);
  if (!drive) {
    r.error = kErrPathNotFound;
    return r;
  }
  r.drive = *drive;
  struct statx st;
  if (Sys().statx(drive->root.c_str(), 0, STATX_TYPE, &st) != 0) {
    r.error = FromErrno(errno, Missing::kPath);
    return r;
  }
  if (!S_ISDIR(st.stx_mode)) {
    r.error = kErrPathNotFound;
    return r;
  }
  r.posix = drive->root;
  r.parentPosix = drive->root;
  for (size_t i = 0; i < path.parts.size(); ++i) {
    bool last = i + 1 == path.parts.size();
    Found f = FindInDirectory(r.posix, path.parts[i], drive->shortNames);
    r.parentPosix = r.posix;
    if (f.error) {
      r.error = (f.error == kErrFileNotFound && !last) ? kErrPathNotFound : f.error;
      r.lastName = path.parts[i];
      r.posix = JoinPosix(r.parentPosix, path.parts[i]);
      return r;
    }
    r.posix = std::move(f.posix);
    r.lastName = std::move(f.name);
  }
  return r;
}

}  // namespace winfs
