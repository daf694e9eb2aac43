// Where an entry's 8.3 alias is kept: an extended attribute of the entry itself recording the
// alias, the directory it was given in and the name it was given for; an index of them on the
// directory; and the directory lock under which new aliases are chosen, so that no two
// entries of a directory get the same one.
#pragma once

#include <string>

namespace winfs {

// A directory's identity (device and inode) in the form the records hold.
std::string DirIdOf(unsigned devMajor, unsigned devMinor, unsigned long long inode);

// What the record of one entry says.
struct StoredAlias {
  enum class State {
    kNone,        // no record (or none can be read)
    kValid,       // ALIAS was given to this name in this directory
    kOtherName,   // given to another name or in another directory: the entry was moved,
                  // renamed, copied with its attributes, or is a second link to the same file
    kUnreadable,  // the attribute could not be read (an I/O error, no memory): it may hold one
  };
  State state = State::kNone;
  std::string alias;
};

// The record of the entry NAME of the directory DIR_ID, read at PATH from DIRFD (the directory
// open with O_PATH and NAME, or AT_FDCWD and the entry's full path).
StoredAlias ReadStoredAlias(int dirfd, const std::string& path, const std::string& dirId,
                            const std::string& name);

// Keeps ALIAS with the entry at POSIX, named NAME in the directory DIR_ID; 0 or an errno
// (ENOTSUP where the file system keeps no user attributes, EROFS, EACCES, EPERM for a link).
int StoreAlias(const std::string& posix, const std::string& dirId, const std::string& name,
               const std::string& alias);

// The directory's index of its aliases, kept in attributes of the directory beside the
// records: which name ALIAS was given to. It lets a lookup skip reading the directory, but is a
// hint only: the entry's own record decides. Empty when the index does not hold ALIAS.
std::string IndexedName(const std::string& dir, const std::string& alias);
// Notes in DIR's index that ALIAS was given to NAME. Where the directory's attributes are full
// (or cannot be written) the alias is simply not indexed, and lookups read the directory.
void IndexAlias(const std::string& dir, const std::string& alias, const std::string& name);

// An exclusive flock on a directory, held while its new aliases are chosen and stored. Every
// process and thread that hands out aliases takes it, each through its own descriptor.
class DirLock {
 public:
  explicit DirLock(const std::string& dir);
  ~DirLock();
  DirLock(const DirLock&) = delete;
  DirLock& operator=(const DirLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace winfs
