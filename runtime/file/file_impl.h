// The state behind a File: its declaration and buffers, and while open its share claim,
// connection, statements and positions.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "runtime/file.h"
#include "runtime/file/names.h"
#include "runtime/file/record_store.h"
#include "runtime/file/share_lock.h"
#include "runtime/file/sqlite_db.h"
#include "runtime/file/status.h"

namespace rt {

// How long an operation waits for another writer's lock before it gives 32.
inline constexpr int kLockWaitMs = 1000;
// Page cache of a connection while it writes a batch (STREAM, BUILD), so that the batch stays
// in memory until its commit; and otherwise.
inline constexpr int kBatchCacheKiB = 64 * 1024;
inline constexpr int kNormalCacheKiB = 2000;

struct File::Impl {
  Impl(FileDecl declaration, std::span<std::byte> record_buffer,
       std::vector<std::span<std::byte>> memo_buffers, NameSource name);

  file::Status OpenFile(uint8_t mode_byte, int wait_ms);
  file::Status CloseFile();
  file::Status CreateFile();
  file::Status BuildFile();
  file::Status CopyFile(std::string_view new_name);

  file::Status Usable() const;    // a valid declaration
  file::Status Opened() const;    // ... and an open file (37)
  file::Status Writable() const;  // ... opened for writing (5)
  file::Status CurrentPath(file::FilePath& path) const;
  // Runs one write in its own transaction (a savepoint inside a STREAM batch).
  file::Status Write(const std::function<file::Status()>& step);
  std::vector<file::Bytes> StoredMemos() const;
  void Fill(const file::RecordStore::Row& row);

  FileDecl decl;
  std::span<std::byte> record;
  std::vector<std::span<std::byte>> memos;
  NameSource name_source;
  file::Status decl_status;
  int recover_ms = -1;  // the wait of the next OPEN, from "Recover=N"; -1: the usual wait

  // While open. Members are destroyed statements first, claim last.
  file::FilePath path;
  file::ShareMode mode;
  file::ShareLock lock;
  file::Connection db;
  file::RecordStore store;
  bool open = false;
  bool streaming = false;
  pid_t opener = 0;      // the process that opened it: a child of fork() holds only a copy
  int64_t current = 0;   // id of the current record (PUT, DELETE); 0: none
  int64_t position = 0;  // id of the last record read in record order
};

}  // namespace rt
