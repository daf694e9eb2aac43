// A file declaration as the driver stores it: its checks, its layout signature, the tables and
// statements that hold its records, keys and memos, and the key values of a record.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "runtime/file.h"
#include "runtime/file/status.h"

namespace rt::file {

// Storage (one SQLite database per file):
//   file_info(layout, record_count)   one row: the declaration's signature, the record count
//   records(id, rec, memo_1, ...)     id = record order; rec = the exact record bytes; each memo
//                                     without its trailing blanks
//   key_<n>(c1, ..., id)              one table per key: the key's component values and the
//                                     record id, ordered by (components, id)
// The key tables are written by the driver in the same transaction as the record.
inline constexpr int kApplicationId = 0x56545246;  // "VTRF" in the database header
inline constexpr int kFormatVersion = 1;

// Checks that the declaration is usable with these buffers; 90 with the reason otherwise.
Status ValidateDecl(const FileDecl& decl, std::span<std::byte> record,
                    const std::vector<std::span<std::byte>>& memos);

// The stored layout: record size, field types/offsets/sizes, keys, memo sizes; not the names.
std::string Signature(const FileDecl& decl);

// SQL of the tables; key numbers count from 0 in the code, tables are named from key_1.
std::string RecordsTableSql(const FileDecl& decl);
std::string KeyTableName(size_t key);
// "rec, memo_1, ..." with each column after `prefix`.
std::string RowColumns(const FileDecl& decl, std::string_view prefix = "");
std::string KeyTableSql(const FileDecl& decl, size_t key);

// The value a key component takes in a record: the field's bytes, a STRING without its
// trailing blanks.
std::span<const std::byte> ComponentValue(const FieldDecl& field, std::span<const std::byte> rec);

// Whether two records have equal values in every component of `key`.
bool SameKey(const FileDecl& decl, size_t key, std::span<const std::byte> a,
             std::span<const std::byte> b);

}  // namespace rt::file
