// Directory listings with aliases, and path resolution.
#include "ntpaths/winfs/lookup.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <mutex>
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
  realShortKnown_ = false;
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
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    Entry& entry = entries_.emplace_back();
    entry.name.assign(name);
    entry.inode = e->d_ino;
    entry.type = e->d_type;
    entry.needsAlias = shortNames && !IsShortName(entry.name);
  }
  Sys().closedir(d);
  return err;
}

const AliasStem& DirListing::StemAt(size_t i) {
  Entry& e = entries_[i];
  if (!e.stemKnown) {
    e.stem = StemOf(e.name);
    e.stemKnown = true;
  }
  return e.stem;
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

bool DirListing::IsTaken(const std::string& alias) {
  if (!realShortKnown_) {
    for (const Entry& e : entries_)
      if (!e.needsAlias && IsShortName(e.name)) realShort_.insert(ToUpper(e.name));
    realShortKnown_ = true;
  }
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
    // An entry that found no number among these digits before would find none again.
    if (!e.needsAlias || e.aliasDone || e.overflowDigits >= digits) continue;
    if (!StemMatches(e.name, prefix, digits, ext)) continue;
    storage.push_back(AliasCandidate{&e.name, StemAt(i), KeyOf(i), {}});
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
    } else {
      e.overflowDigits = digits;
    }
  }
}

const std::string& DirListing::AliasOf(size_t i) {
  Entry& e = entries_[i];
  for (int digits = 1; e.needsAlias && !e.aliasDone && digits <= 6; ++digits) {
    AliasStem stem = StemAt(i);
    AssignGroup(StemPrefix(stem.base, digits), stem.ext, digits);
  }
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
    for (size_t i = 0; i < entries_.size(); ++i) {
      if (!entries_[i].needsAlias || entries_[i].aliasDone || entries_[i].overflowDigits >= digits)
        continue;
      if (!StemMatches(entries_[i].name, q->prefix, q->digits, q->ext)) continue;
      prefixes.insert(StemPrefix(StemAt(i).base, digits));
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
    storage.push_back(AliasCandidate{&entries_[i].name, StemAt(i), KeyOf(i), {}});
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
  int err = WithListing(dir, aliases, [&](DirListing& listing) {
    long i = listing.FindName(name);
    if (i < 0 && aliases) i = listing.FindAlias(name);
    if (i >= 0) f.name = listing.Name(static_cast<size_t>(i));
  });
  if (err) {
    f.error = FromErrno(err, Missing::kPath);
  } else if (f.name.empty()) {
    f.error = kErrFileNotFound;
  } else {
    f.posix = JoinPosix(dir, f.name);
  }
  return f;
}

namespace {

struct DirStamp {
  std::uint64_t ino = 0;
  std::uint32_t devMajor = 0, devMinor = 0;
  std::int64_t mtimeSec = 0, ctimeSec = 0;
  std::uint32_t mtimeNsec = 0, ctimeNsec = 0;
  std::uint64_t size = 0;
  bool operator==(const DirStamp&) const = default;
};

struct CacheSlot {
  std::string dir;
  bool shortNames = true;
  DirStamp stamp;
  std::uint64_t lastUse = 0;
  std::mutex mu;
  DirListing listing;
};

constexpr size_t kCacheSlots = 64;
constexpr size_t kCacheMaxEntries = 100000;
constexpr std::int64_t kSettleSeconds = 2;

struct ListingCache {
  std::mutex mu;
  bool enabled = true;
  std::uint64_t clock = 0;
  std::vector<std::shared_ptr<CacheSlot>> slots;
};

ListingCache& Cache() {
  static ListingCache cache;
  return cache;
}

}  // namespace

void SetListingCacheEnabled(bool enabled) {
  ListingCache& c = Cache();
  std::lock_guard<std::mutex> g(c.mu);
  c.enabled = enabled;
  c.slots.clear();
}

int WithListing(const std::string& dir, bool shortNames,
                const std::function<void(DirListing&)>& fn) {
  struct statx st;
  if (Sys().statx(dir.c_str(), 0, STATX_BASIC_STATS, &st) != 0) return errno;
  if (!S_ISDIR(st.stx_mode)) return ENOTDIR;
  DirStamp stamp{st.stx_ino,           st.stx_dev_major,    st.stx_dev_minor,
                 st.stx_mtime.tv_sec,  st.stx_ctime.tv_sec, st.stx_mtime.tv_nsec,
                 st.stx_ctime.tv_nsec, st.stx_size};
  struct timespec now;
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  bool settled = st.stx_mtime.tv_sec + kSettleSeconds < now.tv_sec;
  ListingCache& c = Cache();
  std::shared_ptr<CacheSlot> slot;
  bool enabled = false;
  if (settled) {
    std::lock_guard<std::mutex> g(c.mu);
    enabled = c.enabled;
    if (c.enabled) {
      for (auto& s : c.slots) {
        if (s->dir == dir && s->shortNames == shortNames) {
          if (s->stamp == stamp)
            slot = s;
          else
            s = nullptr;  // changed: forget it
        }
      }
      std::erase(c.slots, nullptr);
      if (slot) slot->lastUse = ++c.clock;
    }
  }
  if (slot) {
    std::lock_guard<std::mutex> g(slot->mu);
    fn(slot->listing);
    return 0;
  }
  if (!settled || !enabled) {
    // Not to be kept: read into this thread's own listing, whose storage is reused.
    thread_local DirListing scratch;
    if (int err = scratch.Read(dir, shortNames)) return err;
    fn(scratch);
    return 0;
  }
  auto fresh = std::make_shared<CacheSlot>();
  if (int err = fresh->listing.Read(dir, shortNames)) return err;
  fn(fresh->listing);
  if (fresh->listing.size() <= kCacheMaxEntries) {
    fresh->dir = dir;
    fresh->shortNames = shortNames;
    fresh->stamp = stamp;
    std::lock_guard<std::mutex> g(c.mu);
    if (c.enabled) {
      fresh->lastUse = ++c.clock;
      if (c.slots.size() >= kCacheSlots) {
        auto oldest = std::min_element(c.slots.begin(), c.slots.end(),
                                       [](auto& a, auto& b) { return a->lastUse < b->lastUse; });
        c.slots.erase(oldest);
      }
      c.slots.push_back(std::move(fresh));
    }
  }
  return 0;
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
