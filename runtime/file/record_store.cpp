// The statements behind GET, NEXT, ADD, PUT and DELETE, and the upkeep of the key tables.
#include "runtime/file/record_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "runtime/errors.h"
#include "runtime/file/layout.h"

namespace rt::file {
namespace {

std::string Param(size_t n) {
  return "?" + std::to_string(n);
}

}  // namespace

Bytes StoredBytes(std::span<const std::byte> memo) {
  // Mostly blanks after a short text: skip them a block at a time.
  static const std::vector<std::byte> kBlanks(256, std::byte{' '});
  size_t size = memo.size();
  while (size >= kBlanks.size() &&
         std::memcmp(memo.data() + size - kBlanks.size(), kBlanks.data(), kBlanks.size()) == 0) {
    size -= kBlanks.size();
  }
  while (size > 0 && memo[size - 1] == std::byte{' '}) --size;
  return memo.first(size);
}

void CopyPadded(Bytes from, std::span<std::byte> to) {
  size_t n = std::min(from.size(), to.size());
  if (n > 0) std::memcpy(to.data(), from.data(), n);
  std::fill(to.begin() + static_cast<std::ptrdiff_t>(n), to.end(), std::byte{' '});
}

Status RecordStore::Prepare(Connection& db, const FileDecl& decl) {
  db_ = &db;
  decl_ = &decl;
  std::string memo_params, memo_sets;
  for (size_t i = 0; i < decl.memos.size(); ++i) {
    memo_params += ", " + Param(i + 3);
    memo_sets += ", memo_" + std::to_string(i + 1) + " = " + Param(i + 2);
  }
  const std::string columns = RowColumns(decl);
  sqlite3* handle = db.get();
  struct {
    Statement& statement;
    std::string sql;
  } plain[] = {
      {next_, "SELECT id, " + columns + " FROM records WHERE id > ?1 ORDER BY id LIMIT 1"},
      {all_, "SELECT id, " + columns + " FROM records ORDER BY id"},
      {by_id_, "SELECT rec FROM records WHERE id = ?1"},
      {insert_, "INSERT INTO records(id, " + columns + ") VALUES(?1, ?2" + memo_params + ")"},
      {update_,
       "UPDATE records SET rec = ?1" + memo_sets + " WHERE id = " + Param(decl.memos.size() + 2)},
      {remove_, "DELETE FROM records WHERE id = ?1"},
      {adjust_count_, "UPDATE file_info SET record_count = record_count + ?1"},
      {count_, "SELECT record_count FROM file_info"},
  };
  for (auto& [statement, sql] : plain) {
    Status status = statement.Prepare(handle, sql);
    if (!status.ok()) return status;
  }
  keys_.clear();
  keys_.resize(decl.keys.size());
  for (size_t key = 0; key < decl.keys.size(); ++key) {
    std::string table = KeyTableName(key);
    std::string where, key_columns, params;
    size_t count = decl.keys[key].components.size();
    for (size_t i = 0; i < count; ++i) {
      std::string column = "c" + std::to_string(i + 1);
      where += (i > 0 ? " AND " : "") + column + " = " + Param(i + 1);
      key_columns += column + ", ";
      params += Param(i + 1) + ", ";
    }
    Status status = keys_[key].find.Prepare(
        handle, "SELECT k.id, " + RowColumns(decl, "r.") + " FROM " + table +
                    " AS k LEFT JOIN records AS r ON r.id = k.id WHERE " + where +
                    " ORDER BY k.id LIMIT 1");
    if (status.ok()) {
      status =
          keys_[key].insert.Prepare(handle, "INSERT INTO " + table + "(" + key_columns +
                                                "id) VALUES(" + params + Param(count + 1) + ")");
    }
    if (status.ok()) {
      status = keys_[key].remove.Prepare(
          handle, "DELETE FROM " + table + " WHERE " + where + " AND id = " + Param(count + 1));
    }
    if (!status.ok()) return status;
  }
  return Ok();
}

std::vector<Statement*> RecordStore::All() {
  std::vector<Statement*> all = {&next_,   &all_,    &by_id_,        &insert_,
                                 &update_, &remove_, &adjust_count_, &count_};
  for (KeyStatements& key : keys_) {
    all.insert(all.end(), {&key.find, &key.insert, &key.remove});
  }
  return all;
}

void RecordStore::Abandon() {
  for (Statement* statement : All()) statement->Abandon();
}

Status RecordStore::FindByKey(size_t key, Bytes search, const RowSink& sink) {
  Statement& find = keys_[key].find;
  StatementUse use(find);
  BindComponents(find, key, search);
  int rc = find.Step();
  if (rc == SQLITE_DONE) return Code(kRecordNotFound);
  if (rc != SQLITE_ROW) return db_->Error(rc, kKeyInvalid);
  // The entry must lead to a record that has the searched values.
  Bytes stored = find.Blob(1);
  if (find.IsNull(1) || stored.size() > decl_->record_size) return Code(kKeyInvalid);
  padded_.resize(decl_->record_size);
  CopyPadded(stored, padded_);
  if (!SameKey(*decl_, key, padded_, search)) return Code(kKeyInvalid);
  return ReadRow(find, 1, sink);
}

Status RecordStore::ReadAfter(int64_t after, const RowSink& sink) {
  StatementUse use(next_);
  next_.BindInt(1, after);
  int rc = next_.Step();
  if (rc == SQLITE_DONE) return Code(kNoMoreRecords);
  if (rc != SQLITE_ROW) return db_->Error(rc);
  return ReadRow(next_, 1, sink);
}

Status RecordStore::ReadAll(const RowSink& sink) {
  StatementUse use(all_);
  row_.memos.resize(decl_->memos.size());
  int rc;
  while ((rc = all_.Step()) == SQLITE_ROW) {
    row_.id = all_.Int(0);
    Bytes record = all_.Blob(1);
    row_.record = record.first(std::min(record.size(), decl_->record_size));
    for (size_t i = 0; i < row_.memos.size(); ++i) {
      Bytes memo = all_.Blob(2 + static_cast<int>(i));
      row_.memos[i] = memo.first(std::min(memo.size(), decl_->memos[i].max_size));
    }
    sink(row_);
  }
  return rc == SQLITE_DONE ? Ok() : db_->Error(rc);
}

Status RecordStore::Count(int64_t& records) {
  StatementUse use(count_);
  int rc = count_.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? Code(kLayoutMismatch) : db_->Error(rc);
  records = count_.Int(0);
  return Ok();
}

Status RecordStore::Insert(int64_t id, Bytes record, const std::vector<Bytes>& memos,
                           int64_t& new_id) {
  {
    StatementUse use(insert_);
    if (id != 0) insert_.BindInt(1, id);  // unbound (NULL): the next id in record order
    insert_.BindBlob(2, StoredBytes(record));
    for (size_t i = 0; i < memos.size(); ++i) insert_.BindBlob(static_cast<int>(i) + 3, memos[i]);
    Status status = Run(insert_);
    if (!status.ok()) return status;
  }
  new_id = sqlite3_last_insert_rowid(db_->get());
  for (size_t key = 0; key < keys_.size(); ++key) {
    Status status = InsertKey(key, record, new_id);
    if (!status.ok()) return status;
  }
  StatementUse use(adjust_count_);
  adjust_count_.BindInt(1, 1);
  return Run(adjust_count_);
}

Status RecordStore::Rewrite(int64_t id, Bytes record, const std::vector<Bytes>& memos) {
  std::vector<std::byte> old;
  Status status = StoredRecord(id, old);
  for (size_t key = 0; status.ok() && key < keys_.size(); ++key) {
    if (SameKey(*decl_, key, old, record)) continue;
    status = RemoveKey(key, old, id);
    if (status.ok()) status = InsertKey(key, record, id);
  }
  if (!status.ok()) return status;
  StatementUse use(update_);
  update_.BindBlob(1, StoredBytes(record));
  for (size_t i = 0; i < memos.size(); ++i) update_.BindBlob(static_cast<int>(i) + 2, memos[i]);
  update_.BindInt(static_cast<int>(memos.size()) + 2, id);
  return Run(update_);
}

Status RecordStore::Remove(int64_t id) {
  std::vector<std::byte> old;
  Status status = StoredRecord(id, old);
  for (size_t key = 0; status.ok() && key < keys_.size(); ++key) {
    status = RemoveKey(key, old, id);
  }
  if (!status.ok()) return status;
  {
    StatementUse use(remove_);
    remove_.BindInt(1, id);
    status = Run(remove_);
    if (!status.ok()) return status;
  }
  StatementUse use(adjust_count_);
  adjust_count_.BindInt(1, -1);
  return Run(adjust_count_);
}

Status RecordStore::Run(Statement& statement, int32_t corrupt_code) {
  int rc = statement.Step();
  return rc == SQLITE_DONE || rc == SQLITE_ROW ? Ok() : db_->Error(rc, corrupt_code);
}

Status RecordStore::ReadRow(Statement& query, int record_column, const RowSink& sink) {
  row_.id = query.Int(0);
  row_.record = query.Blob(record_column);
  row_.memos.resize(decl_->memos.size());
  for (size_t i = 0; i < row_.memos.size(); ++i) {
    row_.memos[i] = query.Blob(record_column + 1 + static_cast<int>(i));
  }
  sink(row_);
  return Ok();
}

Status RecordStore::StoredRecord(int64_t id, std::vector<std::byte>& record) {
  StatementUse use(by_id_);
  by_id_.BindInt(1, id);
  int rc = by_id_.Step();
  if (rc == SQLITE_DONE) return Code(kNoMoreRecords);
  if (rc != SQLITE_ROW) return db_->Error(rc);
  record.resize(decl_->record_size);
  CopyPadded(by_id_.Blob(0), record);
  return Ok();
}

Status RecordStore::InsertKey(size_t key, Bytes record, int64_t id) {
  Statement& insert = keys_[key].insert;
  StatementUse use(insert);
  BindComponents(insert, key, record);
  insert.BindInt(static_cast<int>(decl_->keys[key].components.size()) + 1, id);
  return Run(insert, kKeyInvalid);
}

// An entry that is not there to be removed means the key no longer matches the records.
Status RecordStore::RemoveKey(size_t key, Bytes record, int64_t id) {
  Statement& remove = keys_[key].remove;
  StatementUse use(remove);
  BindComponents(remove, key, record);
  remove.BindInt(static_cast<int>(decl_->keys[key].components.size()) + 1, id);
  Status status = Run(remove, kKeyInvalid);
  if (status.ok() && sqlite3_changes(db_->get()) != 1) return Code(kKeyInvalid);
  return status;
}

void RecordStore::BindComponents(Statement& statement, size_t key, Bytes record) {
  const std::vector<size_t>& components = decl_->keys[key].components;
  for (size_t i = 0; i < components.size(); ++i) {
    statement.BindBlob(static_cast<int>(i) + 1,
                       ComponentValue(decl_->fields[components[i]], record));
  }
}

}  // namespace rt::file
