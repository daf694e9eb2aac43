// Name clipping and checks, temporary names beside a file, and the durable rename into place.
#include "runtime/file/names.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <ctime>

#include "runtime/errors.h"

namespace rt::file {
namespace {

// SQLite keeps the rollback journal beside the file as "<name>-journal".
constexpr size_t kJournalSuffix = sizeof("-journal") - 1;
constexpr size_t kMaxComponent = NAME_MAX - kJournalSuffix;
constexpr size_t kMaxPath = PATH_MAX - kJournalSuffix - 3;  // room for the "./" prefix

constexpr std::string_view kTempPrefix = ".vtnew-";
// A temporary untouched this long is no longer being written.
constexpr time_t kStaleTempSeconds = 600;

// The process that made a temporary named ".vtnew-<pid>-<n>" (or its "-journal"), or 0 when
// the name is not one.
pid_t TempOwner(std::string_view name) {
  if (!name.starts_with(kTempPrefix)) return 0;
  name.remove_prefix(kTempPrefix.size());
  if (name.ends_with("-journal")) name.remove_suffix(kJournalSuffix);
  pid_t pid = 0;
  const auto [rest, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
  const std::string_view counter = name.substr(static_cast<size_t>(rest - name.data()));
  if (ec != std::errc{} || counter.size() < 2 || counter[0] != '-' ||
      counter.find_first_not_of("0123456789", 1) != std::string_view::npos)
    return 0;
  return pid;
}

// Removes the temporaries that a killed process left in `dir`: named for a process that no
// longer runs here and untouched for ten minutes. The age spares the temporary of a process on
// another machine that shares the directory and is still writing it.
void RemoveStaleTemps(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return;
  const time_t now = time(nullptr);
  while (const dirent* e = readdir(d)) {
    const pid_t owner = TempOwner(e->d_name);
    if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    const std::string path = dir + "/" + e->d_name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        now - st.st_mtime >= kStaleTempSeconds)
      unlink(path.c_str());
  }
  closedir(d);
}

// 3 unless the file's directory exists.
Status CheckDirectory(const FilePath& file) {
  struct stat st;
  if (stat(file.dir.c_str(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? Code(kPathNotFound) : SystemError(errno, file.dir);
  }
  return S_ISDIR(st.st_mode) ? Ok() : Code(kPathNotFound);
}

}  // namespace

std::string_view ClipName(std::string_view raw) {
  size_t end = raw.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : raw.substr(0, end + 1);
}

Status ResolveName(std::string_view raw, FilePath& out) {
  std::string_view name = ClipName(raw);
  if (name.empty() || name.size() > kMaxPath || name.find('\0') != std::string_view::npos ||
      name.back() == '/') {
    return Code(kInvalidFile);
  }
  size_t slash = name.rfind('/');
  std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (base.size() > kMaxComponent || base == "." || base == "..") return Code(kInvalidFile);

  out.name = std::string(name);
  out.path = name.front() == '/' ? out.name : "./" + out.name;
  if (slash == std::string_view::npos) {
    out.dir = ".";
  } else {
    out.dir = slash == 0 ? "/" : std::string(name.substr(0, slash));
  }
  return Ok();
}

Status OpenFailure(const FilePath& file, int err) {
  if (err == ENOENT) {
    Status dir = CheckDirectory(file);
    return dir.ok() ? Code(kFileNotFound) : dir;
  }
  return SystemError(err, file.name);
}

Status CreateTempBeside(const FilePath& file, std::string& temp_path) {
  static std::atomic<unsigned> counter{0};
  RemoveStaleTemps(file.dir);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = file.dir + "/" + std::string(kTempPrefix) + std::to_string(getpid()) + "-" +
                std::to_string(++counter);
    int fd = open(temp_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      close(fd);  // a new inode: no SQLite connection can hold locks on it yet
      return Ok();
    }
    if (errno != EEXIST) return OpenFailure(file, errno);
  }
  return SystemError(EEXIST, temp_path);
}

Status ReplaceWith(const std::string& from, const FilePath& file) {
  if (rename(from.c_str(), file.path.c_str()) != 0) return SystemError(errno, file.name);
  int dir = open(file.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return SystemError(errno, file.dir);
  int rc = fsync(dir);
  int err = errno;
  close(dir);
  return rc == 0 ? Ok() : SystemError(err, file.dir);
}

void RemoveTemp(const std::string& path) {
  unlink(path.c_str());
  unlink((path + "-journal").c_str());
}

}  // namespace rt::file
