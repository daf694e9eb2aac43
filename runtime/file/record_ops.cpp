// File: the record statements GET, SET, NEXT, ADD, PUT and DELETE.
#include "runtime/errors.h"
#include "runtime/file/file_impl.h"

namespace rt {

using file::Code;
using file::Report;
using file::Status;

int32_t File::Get(size_t key) {
  Impl& f = *impl_;
  Status status = f.Opened();
  if (status.ok() && key >= f.decl.keys.size()) {
    status =
        file::DriverError("declaration " + f.decl.label + " has no key " + std::to_string(key + 1));
  }
  if (status.ok()) {
    status = f.store.FindByKey(key, f.record, [&](const file::RecordStore::Row& row) {
      f.Fill(row);
      f.current = row.id;
    });
  }
  return Report(status);
}

int32_t File::Set() {
  Impl& f = *impl_;
  Status status = f.Opened();
  if (status.ok()) f.position = 0;
  return Report(status);
}

int32_t File::Next() {
  Impl& f = *impl_;
  Status status = f.Opened();
  if (status.ok()) {
    status = f.store.ReadAfter(f.position, [&](const file::RecordStore::Row& row) {
      f.Fill(row);
      f.current = f.position = row.id;
    });
  }
  return Report(status);
}

int32_t File::Add() {
  Impl& f = *impl_;
  int64_t id = 0;
  Status status = f.Write([&] { return f.store.Insert(0, f.record, f.StoredMemos(), id); });
  if (status.ok()) f.current = id;
  return Report(status);
}

int32_t File::Put() {
  Impl& f = *impl_;
  Status status = f.Writable();
  if (status.ok() && f.current == 0) status = Code(kNoMoreRecords);
  if (status.ok()) {
    status = f.Write([&] { return f.store.Rewrite(f.current, f.record, f.StoredMemos()); });
  }
  return Report(status);
}

int32_t File::Delete() {
  Impl& f = *impl_;
  Status status = f.Writable();
  if (status.ok() && f.current == 0) status = Code(kNoMoreRecords);
  if (status.ok()) status = f.Write([&] { return f.store.Remove(f.current); });
  if (status.ok()) f.current = 0;
  return Report(status);
}

}  // namespace rt
