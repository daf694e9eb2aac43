// File: construction, OPEN and CLOSE, NAME, SEND, RECORDS, STREAM and FLUSH.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "runtime/errors.h"
#include "runtime/file/file_impl.h"
#include "runtime/file/layout.h"
#include "runtime/file/schema.h"

namespace rt {

using file::Code;
using file::Ok;
using file::Report;
using file::Status;

namespace {

constexpr int kMaxRecoverSeconds = 3600;

// "Recover=N" in any letter case, blanks allowed around the parts; -1 when it is not that.
int RecoverSeconds(std::string_view command) {
  auto trim = [](std::string_view s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string_view();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
  };
  size_t eq = command.find('=');
  if (eq == std::string_view::npos) return -1;
  std::string_view word = trim(command.substr(0, eq));
  std::string_view value = trim(command.substr(eq + 1));
  constexpr std::string_view kRecover = "recover";
  if (word.size() != kRecover.size() ||
      !std::equal(word.begin(), word.end(), kRecover.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
      })) {
    return -1;
  }
  int seconds = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (ec != std::errc() || end != value.data() + value.size() || seconds < 0) return -1;
  return std::min(seconds, kMaxRecoverSeconds);
}

// A journal that SQLite did not find hot (a writer died before its first byte was written) is
// left beside the file. While this connection holds the reserved lock no other writer has a
// journal, so one that exists then is stale and can go: the file is one file again. While
// another writer is busy the journal is that writer's: no waiting for it.
void RemoveStaleJournal(file::Connection& db, const file::FilePath& path) {
  std::string journal = path.path + "-journal";
  if (access(journal.c_str(), F_OK) != 0) return;
  db.SetBusyTimeout(0);
  if (db.Exec("BEGIN IMMEDIATE").ok()) {
    unlink(journal.c_str());
    db.Exec("COMMIT");
  }
}

}  // namespace

File::Impl::Impl(FileDecl declaration, std::span<std::byte> record_buffer,
                 std::vector<std::span<std::byte>> memo_buffers, NameSource name)
    : decl(std::move(declaration)),
      record(record_buffer),
      memos(std::move(memo_buffers)),
      name_source(std::move(name)) {
  decl_status = file::ValidateDecl(decl, record, memos);
  if (decl_status.ok() && !name_source) decl_status = file::DriverError("no file name source");
  if (decl_status.ok()) {
    record = record.first(decl.record_size);
    for (size_t i = 0; i < memos.size(); ++i) memos[i] = memos[i].first(decl.memos[i].max_size);
  }
}

Status File::Impl::Usable() const {
  return decl_status;
}

Status File::Impl::Opened() const {
  if (!decl_status.ok()) return decl_status;
  return open ? Ok() : Code(kFileNotOpen);
}

Status File::Impl::Writable() const {
  Status status = Opened();
  if (status.ok() && !mode.write) return Code(kAccessDenied);
  return status;
}

Status File::Impl::CurrentPath(file::FilePath& out) const {
  return file::ResolveName(name_source(), out);
}

Status File::Impl::OpenFile(uint8_t mode_byte, int wait_ms) {
  Status status = Usable();
  if (!status.ok()) return status;
  if (open) return Code(kAlreadyOpen);
  file::ShareMode wanted;
  file::FilePath where;
  status = file::ParseMode(mode_byte, wanted);
  if (status.ok()) status = CurrentPath(where);
  if (status.ok()) status = lock.Acquire(where, wanted);
  if (status.ok()) status = db.Open(where.path, wanted.write, false, wait_ms);
  if (status.ok()) status = file::CheckStoredFile(db, decl);
  if (status.ok()) status = store.Prepare(db, decl);
  if (status.ok() && wanted.write) RemoveStaleJournal(db, where);
  if (!status.ok()) {
    store = file::RecordStore();
    db.Close();
    lock.Release();
    return status;
  }
  db.SetBusyTimeout(kLockWaitMs);
  path = std::move(where);
  mode = wanted;
  open = true;
  opener = getpid();
  streaming = false;
  current = 0;
  position = 0;
  return Ok();
}

Status File::Impl::CloseFile() {
  if (!open) return Ok();
  open = false;
  if (opener != getpid()) {
    // Closing the copy would roll back or release what the parent is doing with the file.
    store.Abandon();
    db.Abandon();
    lock.Abandon();
    streaming = false;
    return Ok();
  }
  Status status = Ok();
  if (streaming) {
    status = db.Exec("COMMIT");
    if (db.InTransaction()) db.Exec("ROLLBACK");
  }
  store = file::RecordStore();
  db.Close();
  lock.Release();
  streaming = false;
  return status;
}

Status File::Impl::Write(const std::function<Status()>& step) {
  Status status = Writable();
  if (!status.ok()) return status;
  status = db.Run(streaming ? "SAVEPOINT write" : "BEGIN IMMEDIATE");
  if (!status.ok()) return status;
  status = step();
  if (status.ok()) status = db.Run(streaming ? "RELEASE write" : "COMMIT");
  if (status.ok()) return status;
  if (streaming) {
    db.Run("ROLLBACK TO write");
    db.Run("RELEASE write");
    // SQLite ends the whole transaction on some errors: the batch is then gone.
    if (!db.InTransaction()) streaming = false;
  } else if (db.InTransaction()) {
    db.Run("ROLLBACK");
  }
  return status;
}

std::vector<file::Bytes> File::Impl::StoredMemos() const {
  std::vector<file::Bytes> stored;
  stored.reserve(memos.size());
  for (std::span<std::byte> memo : memos) stored.push_back(file::StoredBytes(memo));
  return stored;
}

void File::Impl::Fill(const file::RecordStore::Row& row) {
  file::CopyPadded(row.record, record);
  for (size_t i = 0; i < memos.size(); ++i) file::CopyPadded(row.memos[i], memos[i]);
}

File::File(FileDecl decl, std::span<std::byte> record, std::vector<std::span<std::byte>> memos,
           NameSource name)
    : impl_(std::make_unique<Impl>(std::move(decl), record, std::move(memos), std::move(name))) {}

File::~File() {
  impl_->CloseFile();
}

int32_t File::Open(uint8_t mode) {
  int wait_ms = impl_->recover_ms >= 0 ? impl_->recover_ms : kLockWaitMs;
  impl_->recover_ms = -1;
  return Report(impl_->OpenFile(mode, wait_ms));
}

int32_t File::Close() {
  return Report(impl_->CloseFile());
}

bool File::IsOpen() const {
  return impl_->open;
}

std::string File::Name() const {
  if (impl_->open) return impl_->path.name;
  if (!impl_->name_source) return {};
  return std::string(file::ClipName(impl_->name_source()));
}

std::string File::Send(std::string_view command) {
  ClearError();
  int seconds = RecoverSeconds(command);
  if (seconds < 0) return {};
  impl_->recover_ms = seconds * 1000;
  return std::to_string(seconds);
}

int32_t File::Records() {
  Status status = impl_->Opened();
  int64_t records = 0;
  if (status.ok()) status = impl_->store.Count(records);
  Report(status);
  if (!status.ok()) return 0;
  return static_cast<int32_t>(std::clamp<int64_t>(records, 0, std::numeric_limits<int32_t>::max()));
}

int32_t File::Stream() {
  Impl& f = *impl_;
  Status status = f.Writable();
  if (status.ok() && !f.streaming) {
    status = f.db.Exec("BEGIN IMMEDIATE");
    if (status.ok()) {
      f.streaming = true;
      f.db.SetCacheKiB(kBatchCacheKiB);
    }
  }
  return Report(status);
}

int32_t File::Flush() {
  Impl& f = *impl_;
  Status status = f.Opened();
  if (status.ok() && f.streaming) {
    status = f.db.Exec("COMMIT");
    // A commit that could not finish (another reader still busy) leaves the batch open.
    f.streaming = f.db.InTransaction();
    if (!f.streaming) f.db.SetCacheKiB(kNormalCacheKiB);
  }
  return Report(status);
}

int32_t File::Rollback() {
  Impl& f = *impl_;
  Status status = f.Opened();
  if (status.ok() && f.streaming) {
    if (f.db.InTransaction()) status = f.db.Exec("ROLLBACK");
    f.streaming = f.db.InTransaction();
    if (!f.streaming) f.db.SetCacheKiB(kNormalCacheKiB);
  }
  return Report(status);
}

int32_t File::Verify() {
  Status status = impl_->Opened();
  if (status.ok()) status = file::CheckPages(impl_->db);
  return Report(status);
}

int32_t File::Scan(const std::function<void(const StoredRecord&)>& each) {
  Status status = impl_->Opened();
  if (status.ok()) status = impl_->store.ReadAll(each);
  return Report(status);
}

}  // namespace rt
