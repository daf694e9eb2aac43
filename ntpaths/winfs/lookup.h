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

#include "ntpaths/winfs/alias_store.h"
#include "ntpaths/winfs/drives.h"
#include "ntpaths/winfs/path.h"
#include "ntpaths/winfs/short_names.h"

namespace winfs {

// The names of one directory (without "." and ".."), with their aliases read from where they
// are kept, and given on first sight to entries that have none yet.
// Not thread-safe; one listing belongs to one call or one search.
class DirListing {
 public:
  // Reads DIR; 0 or an errno.
  int Read(const std::string& dir, bool shortNames);

  size_t size() const { return entries_.size(); }
  const std::string& dir() const { return dir_; }
  const std::string& Name(size_t i) const { return entries_[i].name; }
  bool NeedsAlias(size_t i) const { return entries_[i].needsAlias; }

  // The entry named NAME without regard to case (the exact bytes win), or -1.
  long FindName(std::string_view name) const;
  // The entry whose alias is NAME, or -1. Entries of NAME's group without an alias get theirs
  // first, so that an alias typed for a file never listed before finds it.
  long FindAlias(std::string_view name);
  // The alias of entry I, given now if it has none yet; empty when it needs none, the drive
  // keeps none, or none can be kept with it.
  const std::string& AliasOf(size_t i);
  // Reads, or gives, every entry's alias at once.
  void AssignAll();

 private:
  friend class AliasChooser;
  struct Entry {
    std::string name;
    bool needsAlias = false;
    bool recordRead = false;
    bool settled = false;  // has its alias, or none can be kept with it
    StoredAlias stored;
  };
  // Reads the stored aliases of the entries INDEX that have not been read yet.
  void ReadRecords(const std::vector<size_t>& index);
  // Gives aliases to the entries INDEX (read, without a valid one) under the directory's lock.
  void Settle(const std::vector<size_t>& index);
  // The upper-case names of the entries that already are 8.3 names.
  const std::unordered_set<std::string>& RealShortNames();

  std::string dir_;
  std::string dirId_;
  bool shortNames_ = true;
  std::vector<Entry> entries_;
  bool realShortKnown_ = false;
  std::unordered_set<std::string> realShort_;
};

// Gives the entries NAMES of the POSIX directory DIR their aliases where they have none, under
// the directory's lock and on a fresh reading of it; returns each name's alias (empty for none).
std::vector<std::string> GiveAliases(const std::string& dir, const std::vector<std::string>& names);

// The alias kept with the entry NAME of DIR, read from its record alone; empty when it has none.
std::string KeptAlias(const std::string& dir, const std::string& name);
// The name of the entry of DIR that holds the alias ALIAS (any case), found through the
// directory's index and checked against that entry's record; empty when the index cannot say.
std::string IndexedHolder(const std::string& dir, std::string_view alias);

// Runs FN on the listing of the POSIX directory DIR; 0 or an errno. A directory whose content
// has not changed for two seconds is kept in a small cache and read again only when a stat of
// it shows a change: any change after that sets its modification time past the kept one, however
// coarse the file system's clock. FN runs under the cached listing's own lock.
int WithListing(const std::string& dir, bool shortNames,
                const std::function<void(DirListing&)>& fn);
// Turns the cache on or off (it is on); for measurements and tests.
void SetListingCacheEnabled(bool enabled);

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
