// Share-mode claims as open-file-description locks, and the per-file pool of lock descriptors.
#include "runtime/file/share_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "runtime/errors.h"
#include "runtime/file.h"

namespace rt::file {
namespace {

// Far beyond SQLite's lock page (at 1 GiB) and beyond any database SQLite can grow.
constexpr off_t kShareBase = off_t{1} << 62;
constexpr off_t kHoldsRead = 0, kHoldsWrite = 1, kDeniesRead = 2, kDeniesWrite = 3;
constexpr off_t kShareBytes = 4;

struct flock ByteLock(short type, off_t byte, off_t len = 1) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kShareBase + byte;
  lock.l_len = len;
  return lock;  // l_pid stays 0, as open-file-description locks require
}

// A shared lock on one byte: the claim "I hold/deny this".
bool Claim(int fd, off_t byte) {
  struct flock lock = ByteLock(F_RDLCK, byte);
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another opener (another description, in any process) claims the byte.
bool ClaimedByOthers(int fd, off_t byte) {
  struct flock lock = ByteLock(F_WRLCK, byte);
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return true;
  return lock.l_type != F_UNLCK;
}

// Lock descriptors per file (device and inode) of this process, with the number of users.
class DescriptorPool {
 public:
  static DescriptorPool& Instance() {
    static DescriptorPool* pool = new DescriptorPool;  // outlives every static File
    return *pool;
  }

  // A descriptor for the file at `path`, spare or newly opened; counts one user.
  int Take(const char* path, struct stat& st, int& err) {
    std::lock_guard<std::mutex> guard(mu_);
    ForgetIfForked();
    if (stat(path, &st) != 0) {
      err = errno;
      return -1;
    }
    auto it = files_.find({st.st_dev, st.st_ino});
    if (it != files_.end() && !it->second.spare.empty()) {
      int fd = it->second.spare.back();
      it->second.spare.pop_back();
      ++it->second.users;
      return fd;
    }
    // Non-blocking, so that a FIFO in the file's place cannot hang the open.
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
      err = errno;
      return -1;
    }
    fstat(fd, &st);  // the file actually opened, should the name have been replaced meanwhile
    ++files_[{st.st_dev, st.st_ino}].users;
    return fd;
  }

  // Takes back a descriptor whose locks are released; closes the file's descriptors once it
  // has no user left, when no connection of this process can hold SQLite locks on it.
  void Give(int fd, dev_t dev, ino_t ino) {
    std::lock_guard<std::mutex> guard(mu_);
    ForgetIfForked();
    auto it = files_.find({dev, ino});
    if (it == files_.end()) return;  // inherited across fork(): the parent's business
    it->second.spare.push_back(fd);
    if (--it->second.users > 0) return;
    for (int spare : it->second.spare) close(spare);
    files_.erase(it);
  }

 private:
  struct Entry {
    int users = 0;
    std::vector<int> spare;
  };

  // A child of fork() shares the parent's open file descriptions, so it must not claim
  // through them; it starts a pool of its own (the inherited descriptors are left alone).
  void ForgetIfForked() {
    if (pid_ == getpid()) return;
    files_.clear();
    pid_ = getpid();
  }

  std::mutex mu_;
  std::map<std::pair<dev_t, ino_t>, Entry> files_;
  pid_t pid_ = getpid();
};

Status CheckWritable(const FilePath& file, const struct stat& st) {
  if ((st.st_mode & 0222) == 0) return Code(kAccessDenied);
  if (faccessat(AT_FDCWD, file.path.c_str(), W_OK, AT_EACCESS) != 0 ||
      faccessat(AT_FDCWD, file.dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    return errno == EACCES || errno == EROFS || errno == EPERM ? Code(kAccessDenied)
                                                               : SystemError(errno, file.name);
  }
  return Ok();
}

}  // namespace

Status ParseMode(uint8_t mode, ShareMode& out) {
  uint8_t access = mode & 0x0F;
  uint8_t sharing = mode & 0xF0;
  if ((access != kAccessRead && access != kAccessReadWrite) || sharing < kDenyAll ||
      sharing > kDenyNone) {
    return DriverError("invalid open mode " + std::to_string(mode));
  }
  out.read = true;
  out.write = access == kAccessReadWrite;
  out.deny_read = sharing == kDenyAll || sharing == kDenyRead;
  out.deny_write = sharing == kDenyAll || sharing == kDenyWrite;
  return Ok();
}

ShareLock::ShareLock(ShareLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), dev_(other.dev_), ino_(other.ino_) {}

ShareLock& ShareLock::operator=(ShareLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    dev_ = other.dev_;
    ino_ = other.ino_;
  }
  return *this;
}

Status ShareLock::Acquire(const FilePath& file, const ShareMode& mode) {
  Release();
  struct stat st {};
  int err = 0;
  int fd = DescriptorPool::Instance().Take(file.path.c_str(), st, err);
  if (fd < 0) return OpenFailure(file, err);
  fd_ = fd;
  dev_ = st.st_dev;
  ino_ = st.st_ino;

  Status status = S_ISREG(st.st_mode) ? Ok() : Code(kAccessDenied);
  if (status.ok() && mode.write) status = CheckWritable(file, st);
  if (!status.ok()) {
    Release();
    return status;
  }
  // Claim first, then look for conflicting claims: of two conflicting openers racing, the one
  // that looks second always sees the other, so both never succeed.
  bool claimed = Claim(fd_, kHoldsRead) && (!mode.write || Claim(fd_, kHoldsWrite)) &&
                 (!mode.deny_read || Claim(fd_, kDeniesRead)) &&
                 (!mode.deny_write || Claim(fd_, kDeniesWrite));
  bool conflict = !claimed || ClaimedByOthers(fd_, kDeniesRead) ||
                  (mode.write && ClaimedByOthers(fd_, kDeniesWrite)) ||
                  (mode.deny_read && ClaimedByOthers(fd_, kHoldsRead)) ||
                  (mode.deny_write && ClaimedByOthers(fd_, kHoldsWrite));
  if (conflict) {
    Release();
    return Code(kAccessDenied);
  }
  return Ok();
}

void ShareLock::Release() {
  if (fd_ < 0) return;
  struct flock unlock = ByteLock(F_UNLCK, 0, kShareBytes);
  fcntl(fd_, F_OFD_SETLK, &unlock);
  DescriptorPool::Instance().Give(std::exchange(fd_, -1), dev_, ino_);
}

}  // namespace rt::file
