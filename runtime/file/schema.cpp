// Schema creation and the layout and key checks run at OPEN.
#include "runtime/file/schema.h"

#include <sqlite3.h>

#include <functional>

#include "runtime/errors.h"
#include "runtime/file/layout.h"

namespace rt::file {
namespace {

// One value of a one-row query; `missing` when there is no row.
Status QueryValue(Connection& db, const std::string& sql, int32_t corrupt_code, Status missing,
                  const std::function<Status(const Statement&)>& check) {
  Statement query;
  Status status = query.Prepare(db.get(), sql);
  if (!status.ok()) return status;
  StatementUse use(query);
  int rc = query.Step();
  if (rc == SQLITE_ROW) return check(query);
  return rc == SQLITE_DONE ? missing : db.Error(rc, corrupt_code);
}

Status SchemaSqlIs(Connection& db, const std::string& table, const std::string& sql,
                   int32_t mismatch) {
  return QueryValue(
      db, "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = '" + table + "'",
      kDriverError, Code(mismatch),
      [&](const Statement& row) { return row.Text(0) == sql ? Ok() : Code(mismatch); });
}

}  // namespace

Status CheckLayout(Connection& db, const FileDecl& decl, int64_t& records) {
  struct HeaderMark {
    const char* pragma;
    int value;
  };
  for (HeaderMark mark : {HeaderMark{"PRAGMA application_id", kApplicationId},
                          HeaderMark{"PRAGMA user_version", kFormatVersion}}) {
    Status status =
        QueryValue(db, mark.pragma, kDriverError, Code(kLayoutMismatch), [&](const Statement& row) {
          return row.Int(0) == mark.value ? Ok() : Code(kLayoutMismatch);
        });
    if (!status.ok()) return status;
  }
  Status status = SchemaSqlIs(db, "records", RecordsTableSql(decl), kLayoutMismatch);
  if (!status.ok()) return status;
  return QueryValue(db, "SELECT layout, record_count FROM file_info", kDriverError,
                    Code(kLayoutMismatch), [&](const Statement& row) {
                      records = row.Int(1);
                      return row.Text(0) == Signature(decl) ? Ok() : Code(kLayoutMismatch);
                    });
}

Status CheckKeys(Connection& db, const FileDecl& decl, int64_t records) {
  for (size_t key = 0; key < decl.keys.size(); ++key) {
    Status status = SchemaSqlIs(db, KeyTableName(key), KeyTableSql(decl, key), kKeyInvalid);
    if (!status.ok()) return status;
    status = QueryValue(
        db, "SELECT count(*) FROM " + KeyTableName(key), kKeyInvalid, Code(kKeyInvalid),
        [&](const Statement& row) { return row.Int(0) == records ? Ok() : Code(kKeyInvalid); });
    if (!status.ok()) return status;
  }
  return Ok();
}

Status CreateSchema(Connection& db, const FileDecl& decl) {
  std::string sql =
      "BEGIN IMMEDIATE; PRAGMA application_id=" + std::to_string(kApplicationId) +
      "; PRAGMA user_version=" + std::to_string(kFormatVersion) +
      "; CREATE TABLE file_info(layout TEXT NOT NULL, record_count INTEGER NOT NULL); " +
      RecordsTableSql(decl) + "; ";
  for (size_t key = 0; key < decl.keys.size(); ++key) sql += KeyTableSql(decl, key) + "; ";
  Status status = db.Exec(sql);
  if (status.ok()) {
    Statement info;
    status = info.Prepare(db.get(), "INSERT INTO file_info VALUES(?1, 0)");
    if (status.ok()) {
      std::string signature = Signature(decl);
      info.BindText(1, signature);
      StatementUse use(info);
      int rc = info.Step();
      if (rc != SQLITE_DONE) status = db.Error(rc);
    }
  }
  if (status.ok()) return db.Exec("COMMIT");
  if (db.InTransaction()) db.Exec("ROLLBACK");
  return status;
}

Status CheckStoredFile(Connection& db, const FileDecl& decl) {
  Status status = db.Exec("BEGIN");
  if (!status.ok()) return status;
  int64_t records = 0;
  status = CheckLayout(db, decl, records);
  if (status.ok()) status = CheckKeys(db, decl, records);
  db.Exec("COMMIT");
  return status;
}

Status CheckPages(Connection& db) {
  Statement check;
  Status status = check.Prepare(db.get(), "PRAGMA quick_check(1)");
  if (!status.ok()) return status;
  StatementUse use(check);
  int rc = check.Step();
  if (rc != SQLITE_ROW) return db.Error(rc);
  std::string_view found = check.Text(0);
  if (found == "ok") return Ok();
  // One line: "Page 15: btreeInitPage() returns error code 11", without the database's name.
  constexpr std::string_view kWhere = "*** in database main ***\n";
  if (found.starts_with(kWhere)) found.remove_prefix(kWhere.size());
  std::string problem(found.substr(0, found.find('\n')));
  return {kDriverError, std::to_string(SQLITE_CORRUPT),
          std::string(sqlite3_errstr(SQLITE_CORRUPT)) + ": " + problem};
}

}  // namespace rt::file
