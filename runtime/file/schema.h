// Writing a declaration's empty tables into a new database, and checking at OPEN that a
// database holds this declaration's layout (47) with keys that still match its records (46).
#pragma once

#include <cstdint>

#include "runtime/file.h"
#include "runtime/file/sqlite_db.h"
#include "runtime/file/status.h"

namespace rt::file {

// Creates the tables of `decl` in the empty database of `db`, in one transaction.
Status CreateSchema(Connection& db, const FileDecl& decl);

// The layout half of the check (47), giving the stored record count.
Status CheckLayout(Connection& db, const FileDecl& decl, int64_t& records);
// The key half (46): definitions, entry counts, readable pages.
Status CheckKeys(Connection& db, const FileDecl& decl, int64_t records);

// The check at OPEN, in one read transaction: the header marks, the records table and the stored
// signature must be this declaration's (else 47); every key table must have its definition and
// as many entries as there are records, its pages readable while they are counted (else 46).
// Counting walks only the key tables' pages, so it stays cheap for large files.
Status CheckStoredFile(Connection& db, const FileDecl& decl);

// SQLite's quick check of every page: 90 with SQLite's message and code 11 (SQLITE_CORRUPT)
// when it finds damage, or the error that stopped it.
Status CheckPages(Connection& db);

}  // namespace rt::file
