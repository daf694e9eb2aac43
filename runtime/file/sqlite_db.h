// Small owning wrappers of an SQLite connection and its prepared statements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/file/status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace rt::file {

// A prepared statement. Reset() ends its use (and the read transaction an autocommit query
// holds); use a StatementUse to do that on every path.
class Statement {
 public:
  Statement() = default;
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Status Prepare(sqlite3* db, std::string_view sql);
  void Abandon() { stmt_ = nullptr; }  // forgets it without finalizing (see Connection)
  void BindBlob(int index, std::span<const std::byte> bytes);  // never binds NULL
  void BindText(int index, std::string_view text);
  void BindInt(int index, int64_t value);
  int Step();  // SQLite's result code
  void Reset();

  int64_t Int(int column) const;
  std::span<const std::byte> Blob(int column) const;
  std::string_view Text(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when leaving a scope.
class StatementUse {
 public:
  explicit StatementUse(Statement& statement) : statement_(statement) {}
  ~StatementUse() { statement_.Reset(); }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  Statement& statement_;
};

// A connection to one database file, in rollback-journal mode with full durability: a commit
// has reached the disk, the journal's removal included, when it returns.
class Connection {
 public:
  Connection() = default;
  ~Connection() { Close(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Status Open(const std::string& path, bool write, bool create, int busy_ms);
  void Close();  // statements prepared on it must be gone
  // Forgets the connection without closing it: for a copy inherited across fork(), whose
  // closing could roll back or unlock what belongs to the parent.
  void Abandon();
  sqlite3* get() const { return db_; }

  // Runs SQL without results; a damaged page reports `corrupt_code`.
  Status Exec(const std::string& sql, int32_t corrupt_code = 90);
  // Runs one statement without results, prepared once per connection (transaction control on
  // every write).
  Status Run(std::string_view sql);
  Status Error(int rc, int32_t corrupt_code = 90) const;
  // Replaces this database's content with a consistent copy of `source`'s (backup API).
  Status CopyFrom(Connection& source);
  void SetBusyTimeout(int ms);
  void SetCacheKiB(int kib);
  bool InTransaction() const;

 private:
  sqlite3* db_ = nullptr;
  std::vector<std::pair<std::string, Statement>> prepared_;
};

}  // namespace rt::file
