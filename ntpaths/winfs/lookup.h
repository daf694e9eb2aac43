// Finding Windows names in POSIX directories: exact name first, then without regard to case,
// then as an 8.3 alias; and resolving a full path on a mapped drive to its POSIX path.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ntpaths/winfs/drives.h"
#include "ntpaths/winfs/path.h"
#include "ntpaths/winfs/short_names.h"

namespace winfs {

// The names of one directory (without "." and ".."), with their aliases worked out on demand.
// Not thread-safe; one listing belongs to one call or one search.
class DirListing {
 public:
  // Reads DIR; 0 or an errno.
  int Read(const std::string& dir, bool shortNames);

  size_t size() const { return entries_.size(); }
  const std::string& dir() const { return dir_; }
  const std::string& Name(size_t i) const { return entries_[i].name; }
  bool NeedsAlias(size_t i) const { return entries_[i].needsAlias; }
  // The entry's type as the directory reports it (DT_REG, DT_DIR, DT_LNK, DT_UNKNOWN, ...).
  unsigned char Type(size_t i) const { return entries_[i].type; }

  // The entry named NAME without regard to case (the exact bytes win), or -1.
  long FindName(std::string_view name) const;
  // The entry whose alias is NAME, or -1.
  long FindAlias(std::string_view name);
  // The alias of entry I; empty when it needs none or the drive keeps none.
  const std::string& AliasOf(size_t i);
  // Gives entry I its creation key from a stat already made, sparing a second one.
  void SetKey(size_t i, const CreationKey& key);
  // Works out every alias at once.
  void AssignAll();

 private:
  struct Entry {
    std::string name;
    std::uint64_t inode = 0;
    unsigned char type = 0;
    bool needsAlias = false;
    bool aliasDone = false;
    bool keyKnown = false;
    bool stemKnown = false;
    int overflowDigits = 0;  // got no number with up to this many digits
    CreationKey key;
    AliasStem stem;
    std::string alias;
  };
  const CreationKey& KeyOf(size_t i);
  const AliasStem& StemAt(size_t i);
  bool IsTaken(const std::string& alias);
  // Numbers the aliases of the entries whose prefix for DIGITS digits is PREFIX with EXT.
  void AssignGroup(const std::string& prefix, const std::string& ext, int digits);

  std::string dir_;
  bool shortNames_ = true;
  std::vector<Entry> entries_;
  bool realShortKnown_ = false;
  std::unordered_set<std::string> realShort_;  // upper-case 8.3 names present
  std::unordered_set<std::string> assigned_;   // aliases handed out so far
};

// Runs FN on the listing of the POSIX directory DIR; 0 or an errno. A directory whose content
// has not changed for two seconds is kept in a small cache and read again only when a stat of
// it shows a change: any change after that sets its modification time past the kept one, however
// coarse the file system's clock. FN runs under the cached listing's own lock.
int WithListing(const std::string& dir, bool shortNames,
                const std::function<void(DirListing&)>& fn);
// Turns the cache on or off (it is on); for measurements and tests.
void SetListingCacheEnabled(bool enabled);

// The creation key of a stat result.
CreationKey KeyOfStat(const struct statx& st);

// The outcome of a lookup: 0, or the system's code (2 when the item is absent).
struct Found {
  std::uint32_t error = 0;
  std::string posix;  // the item's POSIX path
  std::string name;   // its name on disk
};
Found FindInDirectory(const std::string& dir, std::string_view name, bool aliases);

// A full path resolved against its drive. On error 2 (only the last item is absent) POSIX
// and LAST_NAME hold the path the item would have and its name as given.
struct Resolved {
  std::uint32_t error = 0;
  DriveInfo drive;
  std::string posix;
  std::string parentPosix;
  std::string lastName;
};
Resolved Resolve(const FullPath& path);

}  // namespace winfs
