// Directory listings with aliases, and path resolution.
#include "ntpaths/winfs/lookup.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <mutex>

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
  struct statx st;
  if (Sys().statx(dir.c_str(), 0, STATX_INO, &st) != 0) return errno;
  dirId_ = DirIdOf(st.stx_dev_major, st.stx_dev_minor, st.stx_ino);
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
    entry.needsAlias = shortNames && !IsShortName(entry.name);
    entry.settled = !entry.needsAlias;
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
  if (aliases) {
    f.name = IndexedHolder(dir, name);
    if (!f.name.empty()) {
      f.posix = JoinPosix(dir, f.name);
      return f;
    }
  }
  int err = WithListing(dir, aliases, [&](DirListing& listing) {
    // An alias handed out wins over a name that differs from it only in case (one made later
    // behind the layer's back), as the index lookup above decides too.
    long i = aliases ? listing.FindAlias(name) : -1;
    if (i < 0) i = listing.FindName(name);
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
    r.error = path.IsNowhere() ? kErrPathNotFound : kErrBadNetPath;
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
