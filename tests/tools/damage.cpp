// The tools' fault helpers: bytes and checksums, a spoiled records page, a lock-holding child
// process and a test's own tmpfs.
#include "tests/tools/damage.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vistip::testing {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Checksum(const std::string& path) {
  if (!std::filesystem::exists(path)) return "missing";
  uint64_t h = 14695981039346656037ull;
  for (const char c : FileBytes(path)) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

const std::vector<std::vector<std::string>>& EveryFileCommand() {
  static const std::vector<std::vector<std::string>> kCommands = {
      {"list", "FILE"},
      {"export", "FILE"},
      {"check", "FILE"},
      {"dump", "FILE", "Form0", "Control1", "ENTRY"},
      {"render", "FILE", "Form0", "Control1", "ENTRY", "-o", "OUT"},
      {"show", "FILE", "Form0", "Control1", "ENTRY"},
      {"import", "FILE", "TEXT"},
      {"import", "--replace", "FILE", "TEXT"},
      {"sync", "FILE", "TEXT"},
      {"sync", "--dry-run", "FILE", "TEXT"},
      {"upgrade", "FILE"},
  };
  return kCommands;
}

std::vector<std::string> Args(const std::vector<std::string>& command, const std::string& file,
                              const std::string& text, const std::string& out) {
  std::vector<std::string> args;
  for (const std::string& a : command)
    args.push_back(a == "FILE" ? file : a == "TEXT" ? text : a == "OUT" ? out : a);
  return args;
}

std::vector<TipText> ManyTips(int count, const std::string& text_prefix) {
  std::vector<TipText> tips;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    TipText t;
    t.procedure = "Form" + std::to_string(i / 20);
    t.control = "Control" + n;
    t.type = "ENTRY";
    t.date = 82000 + i;
    t.text = text_prefix + " " + n + "\r\nThe value of field " + n +
             " as it is filed; it is given when the record is first entered and kept.\r\n"
             "<B1> Look it up\r\n<HR>\r\nSee the manual";
    t.settings = "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find " + n + "\xAB";
    tips.push_back(std::move(t));
  }
  return tips;
}

void OverwriteRecordsPage(const std::string& file) {
  sqlite3* db = nullptr;
  std::vector<int64_t> pages;
  int64_t page_size = 0;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT pageno FROM dbstat WHERE name = 'records' AND pagetype = 'leaf' "
                       "ORDER BY pageno",
                       -1, &q, nullptr);
    while (q != nullptr && sqlite3_step(q) == SQLITE_ROW)
      pages.push_back(sqlite3_column_int64(q, 0));
    sqlite3_finalize(q);
    sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &q, nullptr);
    if (q != nullptr && sqlite3_step(q) == SQLITE_ROW) page_size = sqlite3_column_int64(q, 0);
    sqlite3_finalize(q);
  }
  sqlite3_close(db);
  ASSERT_FALSE(pages.empty()) << file << ": no records pages found";
  std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp((pages[pages.size() / 2] - 1) * page_size);
  const std::string pattern(static_cast<size_t>(page_size), '\x5A');
  f.write(pattern.data(), static_cast<std::streamsize>(pattern.size()));
  ASSERT_TRUE(f.good());
}

WriteLockHolder::WriteLockHolder(const std::string& file) {
  int ready[2], release[2];
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(release, O_CLOEXEC) != 0) return;
  child_ = fork();
  if (child_ == 0) {
    // The child: only SQLite and the pipes, then gone without running the parent's exit code.
    close(ready[0]);
    close(release[1]);
    sqlite3* db = nullptr;
    const bool locked =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    const char answer = locked ? 'y' : 'n';
    if (write(ready[1], &answer, 1) != 1) _exit(1);
    char c;
    while (read(release[0], &c, 1) > 0) {
    }
    _exit(0);
  }
  close(ready[1]);
  close(release[0]);
  release_ = release[1];
  char answer = 'n';
  holding_ = child_ > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
  close(ready[0]);
}

WriteLockHolder::~WriteLockHolder() {
  if (release_ >= 0) close(release_);
  if (child_ > 0) waitpid(child_, nullptr, 0);
}

SmallDisk::SmallDisk(const std::string& dir, int kib) : dir_(dir) {
  std::filesystem::create_directories(dir);
  const std::string options = "size=" + std::to_string(kib) + "k";
  mounted_ = mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
  if (!mounted_) error_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk() {
  if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
}

void SmallDisk::Fill(int free_kib) {
  const std::string filler = dir_ + "/filler";
  const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const std::string block(4096, 'f');
  off_t size = 0;
  ssize_t n;
  while ((n = write(fd, block.data(), block.size())) > 0) size += n;
  if (ftruncate(fd, std::max<off_t>(0, size - off_t{free_kib} * 1024)) != 0) {
  }
  close(fd);
}

bool SmallDisk::MakeReadOnly() {
  return mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace vistip::testing
