// File: the whole-file statements CREATE, BUILD and COPY. Each builds its result beside the
// target and renames it into place, so the target is the old file or the new, never a mixture;
// each first claims the target alone, so no other opener loses the file under its feet.
#include <sqlite3.h>

#include <algorithm>

#include "runtime/errors.h"
#include "runtime/file/file_impl.h"
#include "runtime/file/layout.h"
#include "runtime/file/schema.h"

namespace rt {

using file::Code;
using file::Connection;
using file::FilePath;
using file::Ok;
using file::Report;
using file::ShareLock;
using file::Status;

namespace {

const file::ShareMode kAlone{.read = true, .write = true, .deny_read = true, .deny_write = true};
const file::ShareMode kReader{
    .read = true, .write = false, .deny_read = false, .deny_write = false};

// Claims a file that is about to be replaced; a missing file needs no claim.
Status ClaimTarget(const FilePath& target, ShareLock& claim) {
  Status status = claim.Acquire(target, kAlone);
  return status.code == kFileNotFound ? Ok() : status;
}

// Builds a new database beside `target` with `fill`, then renames it onto the target.
Status ReplaceBeside(const FilePath& target, const std::function<Status(Connection&)>& fill) {
  std::string temp;
  Status status = file::CreateTempBeside(target, temp);
  if (!status.ok()) return status;
  {
    Connection db;
    status = db.Open(temp, true, false, kLockWaitMs);
    if (status.ok()) status = fill(db);
  }
  if (status.ok()) status = file::ReplaceWith(temp, target);
  if (!status.ok()) file::RemoveTemp(temp);
  return status;
}

// Copies every record of `rows` (id, record, memos) into the new database with fresh keys.
Status CopyRecords(const FileDecl& decl, Connection& source, file::Statement& rows,
                   Connection& db) {
  Status status = file::CreateSchema(db, decl);
  file::RecordStore store;
  if (status.ok()) status = store.Prepare(db, decl);
  if (status.ok()) status = db.Exec("BEGIN IMMEDIATE");
  if (!status.ok()) return status;
  db.SetCacheKiB(kBatchCacheKiB);
  std::vector<std::byte> record(decl.record_size);
  std::vector<file::Bytes> memos(decl.memos.size());
  file::StatementUse use(rows);
  int rc;
  while (status.ok() && (rc = rows.Step()) == SQLITE_ROW) {
    file::CopyPadded(rows.Blob(1), record);
    for (size_t i = 0; i < memos.size(); ++i) {
      file::Bytes stored = rows.Blob(static_cast<int>(i) + 2);
      memos[i] = file::StoredBytes(stored.first(std::min(stored.size(), decl.memos[i].max_size)));
    }
    int64_t id = 0;
    status = store.Insert(rows.Int(0), record, memos, id);
  }
  if (status.ok() && rc != SQLITE_DONE) status = source.Error(rc);
  if (status.ok()) return db.Exec("COMMIT");
  db.Exec("ROLLBACK");
  return status;
}

}  // namespace

Status File::Impl::CreateFile() {
  Status status = Usable();
  if (status.ok() && open) status = Code(kAlreadyOpen);
  FilePath target;
  if (status.ok()) status = CurrentPath(target);
  ShareLock claim;
  if (status.ok()) status = ClaimTarget(target, claim);
  if (!status.ok()) return status;
  return ReplaceBeside(target, [&](Connection& db) { return file::CreateSchema(db, decl); });
}

Status File::Impl::BuildFile() {
  Status status = Usable();
  if (status.ok() && open) status = Code(kAlreadyOpen);
  FilePath target;
  if (status.ok()) status = CurrentPath(target);
  ShareLock claim;
  if (status.ok()) status = claim.Acquire(target, kAlone);
  Connection source;
  if (status.ok()) status = source.Open(target.path, true, false, kLockWaitMs);
  int64_t records = 0;
  // The records are read from the records table alone; the keys are not trusted.
  if (status.ok()) status = file::CheckLayout(source, decl, records);
  file::Statement rows;
  if (status.ok()) {
    status = rows.Prepare(source.get(),
                          "SELECT id, " + file::RowColumns(decl) + " FROM records ORDER BY id");
  }
  if (!status.ok()) return status;
  return ReplaceBeside(target, [&](Connection& db) { return CopyRecords(decl, source, rows, db); });
}

Status File::Impl::CopyFile(std::string_view new_name) {
  Status status = Usable();
  if (status.ok() && open) status = Code(kAlreadyOpen);
  FilePath source_path, target;
  if (status.ok()) status = CurrentPath(source_path);
  if (status.ok()) status = file::ResolveName(new_name, target);
  ShareLock source_claim, target_claim;
  if (status.ok()) status = source_claim.Acquire(source_path, kReader);
  if (status.ok()) status = ClaimTarget(target, target_claim);
  Connection source;
  if (status.ok()) status = source.Open(source_path.path, true, false, kLockWaitMs);
  if (!status.ok()) return status;
  return ReplaceBeside(target, [&](Connection& db) { return db.CopyFrom(source); });
}

int32_t File::Create() {
  return Report(impl_->CreateFile());
}
int32_t File::Build() {
  return Report(impl_->BuildFile());
}
int32_t File::Copy(std::string_view new_name) {
  return Report(impl_->CopyFile(new_name));
}

}  // namespace rt
