// Reading and writing records and their key entries through one connection: the prepared
// statements of a declaration and the steps of GET, NEXT, ADD, PUT and DELETE, without
// transaction handling (the caller brackets each write).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "runtime/file.h"
#include "runtime/file/sqlite_db.h"
#include "runtime/file/status.h"

namespace rt::file {

using Bytes = std::span<const std::byte>;

// What is stored of a record or memo: its bytes without trailing blanks, which reading pads
// back. Old-layout records end in long blank text fields; this keeps them small on disk.
Bytes StoredBytes(std::span<const std::byte> memo);

// Copies `from` into `to`, cut to its size, padding the rest with blanks.
void CopyPadded(Bytes from, std::span<std::byte> to);

class RecordStore {
 public:
  // A row read: its id, the record bytes and the stored memos, valid during the callback.
  struct Row : StoredRecord {
    int64_t id = 0;
  };
  using RowSink = std::function<void(const Row&)>;

  Status Prepare(Connection& db, const FileDecl& decl);
  void Abandon();  // with Connection::Abandon

  // The first record, in record order, whose key fields equal those of `search`. 35 when there
  // is none; 46 when the key's entry no longer matches a record.
  Status FindByKey(size_t key, Bytes search, const RowSink& sink);
  // The first record after record id `after`; 33 at the end.
  Status ReadAfter(int64_t after, const RowSink& sink);
  // Every record in record order, through one statement (one read transaction), each cut to
  // its declared sizes.
  Status ReadAll(const RowSink& sink);
  Status Count(int64_t& records);

  // `id` 0 takes the next id in record order.
  Status Insert(int64_t id, Bytes record, const std::vector<Bytes>& memos, int64_t& new_id);
  Status Rewrite(int64_t id, Bytes record, const std::vector<Bytes>& memos);  // 33: gone
  Status Remove(int64_t id);                                                  // 33: gone

 private:
  struct KeyStatements {
    Statement find;
    Statement insert;
    Statement remove;
  };

  std::vector<Statement*> All();
  Status Run(Statement& statement, int32_t corrupt_code = 90);
  Status ReadRow(Statement& query, int record_column, const RowSink& sink);
  Status StoredRecord(int64_t id, std::vector<std::byte>& record);
  Status InsertKey(size_t key, Bytes record, int64_t id);
  Status RemoveKey(size_t key, Bytes record, int64_t id);
  void BindComponents(Statement& statement, size_t key, Bytes record);

  Connection* db_ = nullptr;
  const FileDecl* decl_ = nullptr;
  std::vector<KeyStatements> keys_;
  Row row_;                        // the row being read, kept to spare an allocation per read
  std::vector<std::byte> padded_;  // a stored record padded to its size, for key checks
  Statement next_, all_, by_id_, insert_, update_, remove_, adjust_count_, count_;
};

}  // namespace rt::file
