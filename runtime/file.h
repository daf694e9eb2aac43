// The record-file driver: file declarations as data, and the file statements (OPEN, GET, NEXT,
// ADD, PUT, DELETE, STREAM/FLUSH, CREATE, BUILD, COPY, views) over one SQLite database per file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/errors.h"
#include "runtime/export.h"

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// ---- Declarations ----------------------------------------------------------------------------

enum class FieldType : uint8_t { kString, kLong, kByte, kShort };

struct VTRT_EXPORT FieldDecl {
  std::string name;
  FieldType type = FieldType::kString;
  size_t offset = 0;  // bytes from the start of the record
  size_t size = 0;
};

// A key over one or more fields (indexes into FileDecl::fields), all ascending. Components are
// compared exactly, byte for byte; STRING components ignore their trailing blanks, as the
// runtime's strings do.
struct VTRT_EXPORT KeyDecl {
  std::string name;
  std::vector<size_t> components;
  bool duplicates = true;  // false: ADD or PUT of a second record with equal key fails with 40
};

struct VTRT_EXPORT MemoDecl {
  std::string name;
  size_t max_size = 0;
};

// A file declaration. The file stores its layout (record size, field types/offsets/sizes, key
// components and duplicate flags, memo sizes; not the names) and opening it with a declaration
// of another layout fails with 47.
struct VTRT_EXPORT FileDecl {
  std::string label;
  size_t record_size = 0;
  std::vector<FieldDecl> fields;
  std::vector<KeyDecl> keys;
  std::vector<MemoDecl> memos;
};

// ---- Open modes: access in the low nibble, sharing in the high nibble ------------------------

inline constexpr uint8_t kAccessRead = 0x00;
inline constexpr uint8_t kAccessReadWrite = 0x02;
inline constexpr uint8_t kDenyAll = 0x10;
inline constexpr uint8_t kDenyWrite = 0x20;
inline constexpr uint8_t kDenyRead = 0x30;
inline constexpr uint8_t kDenyNone = 0x40;
inline constexpr uint8_t kOpenShared = kAccessReadWrite | kDenyNone;      // 42H
inline constexpr uint8_t kOpenExclusive = kAccessReadWrite | kDenyAll;    // 12H
inline constexpr uint8_t kOpenDenyWrite = kAccessReadWrite | kDenyWrite;  // 22H
inline constexpr uint8_t kOpenReadShared = kAccessRead | kDenyNone;       // 40H

// A record as the file stores it, for reading a whole file fast: the record's bytes and each
// memo's, without the trailing blanks that reading into the buffers pads back. Valid during
// the call that hands it over.
struct StoredRecord {
  std::span<const std::byte> record;
  std::vector<std::span<const std::byte>> memos;
};

class VTRT_EXPORT View;

// One declaration of a record file. The caller owns the record buffer and the memo buffers (as
// the runtime's process-wide buffers are); every read fills them, every write stores them.
// The file name comes from `name` at every OPEN, CREATE, BUILD and COPY; trailing blanks are
// clipped.
//
// Every operation sets the thread's runtime error state (ERRORCODE(), FILEERROR(), ...) and also
// returns the code. Codes: 0; 2 file missing; 3 its directory missing; 5 access denied (share
// mode, permissions, a read-only file, a directory); 13 unusable name; 32 locked by another
// writer; 33 no (more) records; 35 GET found nothing; 37 file not open; 40 duplicate in a key
// without duplicates; 46 a key no longer matches the records (BUILD repairs it); 47 the stored
// layout differs; 52 already open; 90 an error of SQLite (FILEERROR() its message,
// FILEERRORCODE() its code), of the system ("errno N") or of the driver ("driver").
//
// Share modes hold across processes and between File objects of one process. Writes other than
// those between STREAM and FLUSH are durable when they return; STREAM ... FLUSH is one
// transaction. Whole-file statements (CREATE, BUILD, COPY) work on a closed File and replace
// their target atomically: after a crash the old file or the new one is there, never a mixture.
//
// Thread safety: one File (and its Views) is used by one thread at a time; different File
// objects may be used on different threads at once. A File that is open when the process forks
// stays the parent's: the child's copy closes without touching the file.
class VTRT_EXPORT File {
 public:
  using NameSource = std::function<std::string_view()>;

  // `record` must hold at least decl.record_size bytes and memos[i] decl.memos[i].max_size
  // bytes; a declaration that does not fit (or names fields outside the record) makes every
  // operation fail with 90.
  File(FileDecl decl, std::span<std::byte> record, std::vector<std::span<std::byte>> memos,
       NameSource name);
  ~File();  // closes the file, committing an open STREAM batch
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  int32_t Open(uint8_t mode = kOpenDenyWrite);
  int32_t Close();
  int32_t Create();  // an empty file with its keys, replacing any file of that name
  int32_t Build();   // rebuilds the keys from the records
  int32_t Copy(std::string_view new_name);  // a consistent copy of the file under new_name
  std::string Name() const;                 // the name in use when open, else the current name
  // "Recover=N": the next OPEN waits up to N seconds for another writer's lock (otherwise an
  // operation waits one second before it gives 32). Unknown commands are ignored. The reply is
  // the recognised command's value, or empty.
  std::string Send(std::string_view command);

  int32_t Get(size_t key);  // first record whose key fields equal the buffer's (record order)
  int32_t Set();            // positions before the first record in record order
  int32_t Next();           // the next record in record order
  int32_t Records();        // number of records (0 when the file is not open; see ErrorCode())
  int32_t Add();            // adds the buffer as a new record; it becomes the current record
  int32_t Put();            // rewrites the current record
  int32_t Delete();         // deletes the current record
  int32_t Stream();         // starts a batch of writes: one transaction until FLUSH or CLOSE
  int32_t Flush();          // commits the batch; on an error the batch is still open
  int32_t Rollback();       // ends the batch without keeping any of its writes

  // Checks every page of the open file with SQLite's quick check (inside the batch when one is
  // open): 0 when sound, else 90 with SQLite's message and code 11 (SQLITE_CORRUPT), or the
  // error that stopped the check.
  int32_t Verify();
  // Reads every record in record order in one read transaction (inside the batch when one is
  // open) and hands each to `each` as stored. The buffers and the position are left alone.
  int32_t Scan(const std::function<void(const StoredRecord&)>& each);

  bool IsOpen() const;

 private:
  friend class View;
  struct VTRT_HIDDEN Impl;
  std::unique_ptr<Impl> impl_;
};

// A view over chosen fields of an open File: NEXT reads the records in record order and fills
// only the chosen fields of the file's record buffer (no memos). The File must outlive it.
class VTRT_EXPORT View {
 public:
  View(File& file, std::vector<size_t> fields);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The filter (view property 7CB8H, kPropFilter). Only the empty filter can be evaluated; any
  // other expression is refused with 90 and the view stays unfiltered.
  int32_t SetFilter(std::string_view expression);
  int32_t Open();
  int32_t Next();
  int32_t Close();

 private:
  File& file_;
  std::vector<size_t> fields_;
  bool open_ = false;
  int64_t position_ = 0;  // record id of the last record read
};

}  // namespace rt
#pragma GCC visibility pop
