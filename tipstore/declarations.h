// The tip file's three declarations: VISTIP (the tip file as the tip window and the upgrade use
// it), LINKTIP (a second, independent declaration of the same file, for link lookups while
// VISTIP holds the tip being edited) and VISTIPOLD (the previous layout, for conversion only).
// Each has one process-wide record buffer, blank at load, shared by all threads without locks of
// its own (the runtime lock serialises them), and VISTIP and LINKTIP keep a use counter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/cstring.h"
#include "runtime/file.h"

namespace vistip {

#pragma pack(push, 1)
// The record of VISTIP and LINKTIP (127 bytes) followed by its three memos.
struct TipBuffer {
  rt::String<50> PROCEDURENAME;  // blank: a tip for every procedure
  rt::String<50> CONTROLNAME;    // blank: a tip by control type
  rt::String<20> CONTROLTYPE;
  int32_t LASTEDITDATE = 0;  // the runtime's day number of the last save
  uint8_t READONLY = 0;      // stored, not interpreted
  uint8_t ARCHIVE = 0;
  uint8_t TIPSTYLE = 0;
  rt::String<10000> HELPTIP;   // memo 1: the tip text
  rt::String<10000> SETTINGS;  // memo 2: per-control settings
  rt::String<1000> OTHER;      // memo 3: bytes 0-1 the stored window width

  // Keys, as File::Get takes them.
  static constexpr size_t PROCEDURENAMEKEY = 0;  // procedure, control
  static constexpr size_t CONTROLTYPEKEY = 1;    // type
  static constexpr size_t CONTROLNAMEKEY = 2;    // control, procedure
};

// The old layout (2520 bytes, no memos).
struct OldTipBuffer {
  rt::String<50> PROCEDURENAME;
  rt::String<50> CONTROLNAME;
  rt::String<20> CONTROLTYPE;
  rt::String<900> HELPTIP;
  rt::String<1500> SETTINGS;

  static constexpr size_t PROCEDURENAMEKEY = 0;
  static constexpr size_t CONTROLTYPEKEY = 1;
  static constexpr size_t CONTROLNAMEKEY = 2;
};
#pragma pack(pop)

inline constexpr size_t kTipRecordSize = 127;
inline constexpr size_t kOldTipRecordSize = 2520;
static_assert(offsetof(TipBuffer, LASTEDITDATE) == 120 && offsetof(TipBuffer, TIPSTYLE) == 126);
static_assert(offsetof(TipBuffer, HELPTIP) == kTipRecordSize);
static_assert(sizeof(OldTipBuffer) == kOldTipRecordSize);

#pragma pack(push, 1)
// SAV:RECORD: the tip record without its memos, as last read or saved.
struct SavedRecord {
  rt::String<50> PROCEDURENAME;
  rt::String<50> CONTROLNAME;
  rt::String<20> CONTROLTYPE;
  int32_t LASTEDITDATE = 0;
  uint8_t READONLY = 0;
  uint8_t ARCHIVE = 0;
  uint8_t TIPSTYLE = 0;
};
#pragma pack(pop)
static_assert(sizeof(SavedRecord) == kTipRecordSize);

// A declared file with its use counter: the number of windows that rely on it being open.
class DeclaredFile : public rt::File {
 public:
  using rt::File::File;
  int32_t USED = 0;
};

// The record layouts as the driver takes them.
rt::FileDecl TipFileDecl(const char* label);
rt::FileDecl OldTipFileDecl();

extern TipBuffer VTH;           // record buffer of VISTIP
extern TipBuffer LIN;           // record buffer of LINKTIP
extern OldTipBuffer VTG;        // record buffer of VISTIPOLD
extern DeclaredFile VISTIP;     // file name: GLO.VTAPPNAME
extern DeclaredFile LINKTIP;    // file name: GLO.VTAPPNAME
extern DeclaredFile VISTIPOLD;  // file name: GLO.VTAPPNAMEOLD

// The stored width of a tip: the first two bytes of OTHER, signed 16-bit little-endian.
int16_t StoredWidth(const rt::String<1000>& other);
void SetStoredWidth(rt::String<1000>& other, int16_t width);

}  // namespace vistip
