// Declaration checks, the layout signature and the table definitions of a declaration.
#include "runtime/file/layout.h"

#include <algorithm>

namespace rt::file {
namespace {

constexpr size_t kMaxRecordSize = size_t{1} << 20;
constexpr size_t kMaxMemoSize = size_t{1} << 24;

size_t FixedSize(FieldType type) {
  switch (type) {
    case FieldType::kLong:
      return 4;
    case FieldType::kShort:
      return 2;
    case FieldType::kByte:
      return 1;
    case FieldType::kString:
      return 0;
  }
  return 0;
}

char TypeLetter(FieldType type) {
  switch (type) {
    case FieldType::kString:
      return 'S';
    case FieldType::kLong:
      return 'L';
    case FieldType::kByte:
      return 'B';
    case FieldType::kShort:
      return 'H';
  }
  return '?';
}

std::string Column(size_t component) {
  return "c" + std::to_string(component + 1);
}

}  // namespace

Status ValidateDecl(const FileDecl& decl, std::span<std::byte> record,
                    const std::vector<std::span<std::byte>>& memos) {
  const std::string where = "declaration " + decl.label + ": ";
  if (decl.record_size == 0 || decl.record_size > kMaxRecordSize) {
    return DriverError(where + "record size out of range");
  }
  if (record.data() == nullptr || record.size() < decl.record_size) {
    return DriverError(where + "record buffer smaller than the record");
  }
  for (const FieldDecl& field : decl.fields) {
    size_t fixed = FixedSize(field.type);
    if (field.size == 0 || (fixed != 0 && field.size != fixed) || field.offset > decl.record_size ||
        field.size > decl.record_size - field.offset) {
      return DriverError(where + "field " + field.name + " does not fit the record");
    }
  }
  for (const KeyDecl& key : decl.keys) {
    if (key.components.empty()) return DriverError(where + "key " + key.name + " has no fields");
    for (size_t component : key.components) {
      if (component >= decl.fields.size()) {
        return DriverError(where + "key " + key.name + " names an undeclared field");
      }
    }
  }
  if (memos.size() != decl.memos.size()) {
    return DriverError(where + "one memo buffer per memo is needed");
  }
  for (size_t i = 0; i < memos.size(); ++i) {
    size_t size = decl.memos[i].max_size;
    if (size == 0 || size > kMaxMemoSize || memos[i].data() == nullptr || memos[i].size() < size) {
      return DriverError(where + "memo " + decl.memos[i].name + " has no fitting buffer");
    }
  }
  return Ok();
}

std::string Signature(const FileDecl& decl) {
  std::string sig = "record " + std::to_string(decl.record_size) + "; fields";
  for (const FieldDecl& field : decl.fields) {
    sig += ' ';
    sig += TypeLetter(field.type);
    sig += std::to_string(field.offset) + '+' + std::to_string(field.size);
  }
  sig += "; keys";
  for (const KeyDecl& key : decl.keys) {
    sig += " (";
    for (size_t i = 0; i < key.components.size(); ++i) {
      sig += (i > 0 ? "," : "") + std::to_string(key.components[i] + 1);
    }
    sig += key.duplicates ? ")dup" : ")unique";
  }
  sig += "; memos";
  for (const MemoDecl& memo : decl.memos) sig += ' ' + std::to_string(memo.max_size);
  return sig;
}

std::string RecordsTableSql(const FileDecl& decl) {
  std::string sql = "CREATE TABLE records(id INTEGER PRIMARY KEY, rec BLOB NOT NULL";
  for (size_t i = 0; i < decl.memos.size(); ++i) {
    sql += ", memo_" + std::to_string(i + 1) + " BLOB NOT NULL";
  }
  return sql + ")";
}

std::string RowColumns(const FileDecl& decl, std::string_view prefix) {
  std::string columns = std::string(prefix) + "rec";
  for (size_t i = 0; i < decl.memos.size(); ++i) {
    columns += ", " + std::string(prefix) + "memo_" + std::to_string(i + 1);
  }
  return columns;
}

std::string KeyTableName(size_t key) {
  return "key_" + std::to_string(key + 1);
}

std::string KeyTableSql(const FileDecl& decl, size_t key) {
  const KeyDecl& k = decl.keys[key];
  std::string columns;
  std::string primary;
  for (size_t i = 0; i < k.components.size(); ++i) {
    columns += Column(i) + " BLOB NOT NULL, ";
    primary += (i > 0 ? ", " : "") + Column(i);
  }
  if (k.duplicates) primary += ", id";
  return "CREATE TABLE " + KeyTableName(key) + "(" + columns + "id INTEGER NOT NULL, PRIMARY KEY(" +
         primary + ")) WITHOUT ROWID";
}

std::span<const std::byte> ComponentValue(const FieldDecl& field, std::span<const std::byte> rec) {
  std::span<const std::byte> value = rec.subspan(field.offset, field.size);
  if (field.type == FieldType::kString) {
    while (!value.empty() && value.back() == std::byte{' '}) value = value.first(value.size() - 1);
  }
  return value;
}

bool SameKey(const FileDecl& decl, size_t key, std::span<const std::byte> a,
             std::span<const std::byte> b) {
  return std::all_of(decl.keys[key].components.begin(), decl.keys[key].components.end(),
                     [&](size_t component) {
                       const FieldDecl& field = decl.fields[component];
                       return std::ranges::equal(a.subspan(field.offset, field.size),
                                                 b.subspan(field.offset, field.size));
                     });
}

}  // namespace rt::file
