// SQLite connection set-up (durability, defensive settings) and statement handling.
#include "runtime/file/sqlite_db.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace rt::file {

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

Status Statement::Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_finalize(std::exchange(stmt_, nullptr));
  int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  return rc == SQLITE_OK ? Ok() : SqliteError(db, rc);
}

void Statement::BindBlob(int index, std::span<const std::byte> bytes) {
  // A null pointer would bind NULL; an empty value must stay an empty BLOB.
  static const std::byte kEmpty{};
  sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(), bytes.size(),
                      SQLITE_STATIC);
}

void Statement::BindText(int index, std::string_view text) {
  sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
}

void Statement::BindInt(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
}

int Statement::Step() {
  return sqlite3_step(stmt_);
}

void Statement::Reset() {
  if (stmt_ == nullptr) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::span<const std::byte> Statement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const std::byte*>(data), static_cast<size_t>(size)};
}

std::string_view Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (text == nullptr || size <= 0) return {};
  return {reinterpret_cast<const char*>(text), static_cast<size_t>(size)};
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Status Connection::Open(const std::string& path, bool write, bool create, int busy_ms) {
  Close();
  int flags = (write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
              (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
  int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    Status status = SqliteError(db_, rc);
    Close();
    return status;
  }
  sqlite3_extended_result_codes(db_, 1);
  // The file is data, not code: no schema-defined functions, no writes to the schema table.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  SetBusyTimeout(busy_ms);
  // EXTRA also syncs the directory when the journal is deleted, which is the commit itself;
  // cell_size_check makes damaged pages fail cleanly instead of being half-read.
  Status status = Exec("PRAGMA synchronous=EXTRA");
  if (status.ok()) status = Exec("PRAGMA cell_size_check=ON");
  // The undo log of each write inside a batch stays in memory instead of a temporary file.
  if (status.ok()) status = Exec("PRAGMA temp_store=MEMORY");
  if (!status.ok()) Close();
  return status;
}

void Connection::Close() {
  prepared_.clear();
  if (db_ == nullptr) return;
  sqlite3_close(db_);
  db_ = nullptr;
}

void Connection::Abandon() {
  for (auto& entry : prepared_) entry.second.Abandon();
  prepared_.clear();
  db_ = nullptr;
}

Status Connection::Exec(const std::string& sql, int32_t corrupt_code) {
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Ok() : Error(rc, corrupt_code);
}

Status Connection::Run(std::string_view sql) {
  auto it = std::find_if(prepared_.begin(), prepared_.end(),
                         [&](const auto& entry) { return entry.first == sql; });
  if (it == prepared_.end()) {
    Statement statement;
    Status status = statement.Prepare(db_, sql);
    if (!status.ok()) return status;
    it = prepared_.emplace(prepared_.end(), std::string(sql), std::move(statement));
  }
  int rc = it->second.Step();
  Status status = rc == SQLITE_DONE || rc == SQLITE_ROW ? Ok() : Error(rc);
  it->second.Reset();
  return status;
}

Status Connection::Error(int rc, int32_t corrupt_code) const {
  return SqliteError(db_, rc, corrupt_code);
}

Status Connection::CopyFrom(Connection& source) {
  sqlite3_backup* backup = sqlite3_backup_init(db_, "main", source.db_, "main");
  if (backup == nullptr) return Error(sqlite3_errcode(db_));
  // All pages in one step: one read transaction on the source, so the copy is consistent.
  int rc = sqlite3_backup_step(backup, -1);
  int finish_rc = sqlite3_backup_finish(backup);  // leaves the error message on this connection
  if (rc == SQLITE_DONE && finish_rc == SQLITE_OK) return Ok();
  return Error(rc != SQLITE_DONE ? rc : finish_rc);
}

void Connection::SetBusyTimeout(int ms) {
  sqlite3_busy_timeout(db_, ms);
}

void Connection::SetCacheKiB(int kib) {
  Exec("PRAGMA cache_size=-" + std::to_string(kib));
}

bool Connection::InTransaction() const {
  return db_ != nullptr && !sqlite3_get_autocommit(db_);
}

}  // namespace rt::file
