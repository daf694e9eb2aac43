// What the tools' fault tests do to tip files on disk: read and checksum their bytes, spoil
// them as a failing disk would, hold SQLite's write lock from another process, and give them a
// small file system of their own (a tmpfs mounted by the test) that fills up or turns read-only.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip::testing {

std::string FileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// FNV-1a of the file's bytes, in hex ("missing" when there is no file): before and after.
std::string Checksum(const std::string& path);

// Every vistip command that takes a tip file, its arguments written with the placeholders FILE,
// TEXT (a text form) and OUT (a PNG to write); dump, render and show ask for Form0 / Control1 /
// ENTRY, a tip of ManyTips.
const std::vector<std::vector<std::string>>& EveryFileCommand();

// A vistip command line written with the placeholders FILE, TEXT and OUT, filled in.
std::vector<std::string> Args(const std::vector<std::string>& command, const std::string& file,
                              const std::string& text = "", const std::string& out = "");

// `count` tips of a few hundred bytes each, named Form<n / 20> / Control<n> / ENTRY.
std::vector<TipText> ManyTips(int count, const std::string& text_prefix = "Tip");

// Overwrites one leaf page of the records table, in the middle of the file's records, with a
// pattern that is no b-tree page (the file must be closed).
void OverwriteRecordsPage(const std::string& file);

// A child process of the test that holds SQLite's write lock (RESERVED, as a writer in the
// middle of its transaction) on a file until the holder is destroyed.
class WriteLockHolder {
 public:
  explicit WriteLockHolder(const std::string& file);
  ~WriteLockHolder();
  WriteLockHolder(const WriteLockHolder&) = delete;
  WriteLockHolder& operator=(const WriteLockHolder&) = delete;
  bool holding() const { return holding_; }

 private:
  pid_t child_ = -1;
  int release_ = -1;  // closing it lets the child go
  bool holding_ = false;
};

// A tmpfs of `kib` KiB mounted on `dir` (created) for the test's life. Mounting needs root;
// `mounted()` says whether it worked and `error()` why not.
class SmallDisk {
 public:
  SmallDisk(const std::string& dir, int kib);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }
  // Fills the disk with a file of its own, then gives back `free_kib` KiB of it.
  void Fill(int free_kib);
  // Remounts the file system read-only.
  bool MakeReadOnly();

 private:
  std::string dir_;
  bool mounted_ = false;
  std::string error_;
};

}  // namespace vistip::testing
