// Shared helpers of the record-file driver tests: a temporary directory, a declaration shaped
// like the tip file with its buffers, child processes with pipes, and the sqlite3 tool.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/errors.h"
#include "runtime/file.h"

namespace filetest {

// A fresh directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vtfile-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path(std::string_view name) const { return path_ + "/" + std::string(name); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The tip file's declaration: a 127-byte record, three keys, three memos.
inline rt::FileDecl TipDecl() {
  using rt::FieldType;
  rt::FileDecl decl;
  decl.label = "VISTIP";
  decl.record_size = 127;
  decl.fields = {
      {"PROCEDURENAME", FieldType::kString, 0, 50}, {"CONTROLNAME", FieldType::kString, 50, 50},
      {"CONTROLTYPE", FieldType::kString, 100, 20}, {"LASTEDITDATE", FieldType::kLong, 120, 4},
      {"READONLY", FieldType::kByte, 124, 1},       {"ARCHIVE", FieldType::kByte, 125, 1},
      {"TIPSTYLE", FieldType::kByte, 126, 1}};
  decl.keys = {{"PROCEDURENAMEKEY", {0, 1}, true},
               {"CONTROLTYPEKEY", {2}, true},
               {"CONTROLNAMEKEY", {1, 0}, true}};
  decl.memos = {{"HELPTIP", 10000}, {"SETTINGS", 10000}, {"OTHER", 1000}};
  return decl;
}

inline constexpr size_t kProcedureKey = 0, kTypeKey = 1, kControlKey = 2;

// A declaration of the tip file with its own buffers and name variable (255 blank-padded
// characters, as the runtime's string variable holds it).
class TipFile {
 public:
  explicit TipFile(std::string_view name, rt::FileDecl decl = TipDecl())
      : record_(decl.record_size, std::byte{' '}), file_(Make(std::move(decl))) {
    SetName(name);
  }

  rt::File& file() { return file_; }
  rt::File* operator->() { return &file_; }

  void SetName(std::string_view name) {
    name_.assign(255, ' ');
    name_.replace(0, std::min(name.size(), name_.size()), name.substr(0, 255));
  }

  // Blank record and memos, then the three key fields.
  void SetTip(std::string_view proc, std::string_view control, std::string_view type) {
    Clear();
    SetText(0, 50, proc);
    SetText(50, 50, control);
    SetText(100, 20, type);
  }
  void Clear() {
    std::fill(record_.begin(), record_.end(), std::byte{' '});
    for (auto& memo : memos_) std::fill(memo.begin(), memo.end(), std::byte{' '});
  }
  void SetText(size_t offset, size_t size, std::string_view text) {
    for (size_t i = 0; i < size; ++i) {
      record_[offset + i] = std::byte(i < text.size() ? text[i] : ' ');
    }
  }
  std::string Text(size_t offset, size_t size) const {
    std::string text(reinterpret_cast<const char*>(record_.data()) + offset, size);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  std::string Proc() const { return Text(0, 50); }
  std::string Control() const { return Text(50, 50); }
  std::string Type() const { return Text(100, 20); }

  void SetMemo(size_t memo, std::string_view text) {
    auto& buffer = memos_[memo];
    std::fill(buffer.begin(), buffer.end(), std::byte{' '});
    std::copy_n(text.begin(), std::min(text.size(), buffer.size()),
                reinterpret_cast<char*>(buffer.data()));
  }
  std::string Memo(size_t memo) const {
    return std::string(reinterpret_cast<const char*>(memos_[memo].data()), memos_[memo].size());
  }
  std::string ClippedMemo(size_t memo) const {
    std::string text = Memo(memo);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }

  std::vector<std::byte>& record() { return record_; }
  std::vector<std::byte>& memo(size_t i) { return memos_[i]; }

 private:
  rt::File Make(rt::FileDecl decl) {
    std::vector<std::span<std::byte>> memo_spans;
    for (const rt::MemoDecl& memo : decl.memos) {
      memos_.emplace_back(memo.max_size, std::byte{' '});
    }
    for (auto& memo : memos_) memo_spans.emplace_back(memo);
    return rt::File(std::move(decl), record_, std::move(memo_spans),
                    [this] { return std::string_view(name_); });
  }

  std::string name_ = std::string(255, ' ');
  std::vector<std::byte> record_;
  std::vector<std::vector<std::byte>> memos_;
  rt::File file_;
};

// Adds one tip with the given key fields and tip text; returns the error code.
inline int32_t AddTip(TipFile& tip, std::string_view proc, std::string_view control,
                      std::string_view type, std::string_view text = {}) {
  tip.SetTip(proc, control, type);
  tip.SetMemo(0, text);
  return tip->Add();
}

// A created, empty tip file at `path`.
inline int32_t CreateTipFile(const std::string& path) {
  TipFile tip(path);
  return tip->Create();
}

// A forked child running `body` with a pipe each way; the child ends with _exit(body's
// result). Lines written with Send/Receive end in '\n'. Fork children before the test opens
// any file itself: SQLite keeps a per-process table of the locks it holds, and a child would
// inherit the parent's entries.
class Child {
 public:
  using Body = std::function<int(Child&)>;

  explicit Child(const Body& body) {
    int to_child[2], to_parent[2];
    if (pipe(to_child) != 0 || pipe(to_parent) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(to_child[1]);
      close(to_parent[0]);
      in_ = to_child[0];
      out_ = to_parent[1];
      _exit(body(*this));
    }
    close(to_child[0]);
    close(to_parent[1]);
    in_ = to_parent[0];
    out_ = to_child[1];
  }
  ~Child() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }

  void Send(std::string_view line) {
    std::string text = std::string(line) + "\n";
    if (write(out_, text.data(), text.size()) < 0) return;
  }
  // The next line, without its '\n'; empty at the end of the pipe.
  std::string Receive() {
    std::string line;
    char c;
    while (read(in_, &c, 1) == 1) {
      if (c == '\n') return line;
      line += c;
    }
    return line;
  }
  void Kill() { kill(pid_, SIGKILL); }
  // The exit status, or -1 when the child did not exit normally.
  int Wait() {
    int status = 0;
    if (!reaped_ && waitpid(pid_, &status, 0) == pid_) {
      reaped_ = true;
      exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exit_code_;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  bool reaped_ = false;
  int exit_code_ = -1;
};

// A child process holding `path` open in `mode` until it is sent a line; its first line is the
// open's error code.
inline std::unique_ptr<Child> HoldOpen(const std::string& path, uint8_t mode) {
  return std::make_unique<Child>([path, mode](Child& self) {
    TipFile tip(path);
    self.Send(std::to_string(tip->Open(mode)));
    self.Receive();
    return 0;
  });
}

// Runs SQL on a database with the sqlite3 command-line tool; its standard output, trimmed.
// `ok` is false when the tool is missing or fails.
inline std::string Sqlite(const std::string& db, const std::string& sql, bool* ok = nullptr) {
  std::string command = "sqlite3 -batch '" + db + "' \"" + sql + "\" 2>&1";
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    if (ok != nullptr) *ok = false;
    return out;
  }
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  int status = pclose(pipe);
  if (ok != nullptr) *ok = status == 0;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

inline bool HaveSqliteTool() {
  return std::system("command -v sqlite3 >/dev/null 2>&1") == 0;
}

inline std::string ReadAll(const std::string& path) {
  std::string data;
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return data;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
  fclose(f);
  return data;
}

inline void WriteAll(const std::string& path, std::string_view data) {
  FILE* f = fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  fwrite(data.data(), 1, data.size(), f);
  fclose(f);
}

}  // namespace filetest
