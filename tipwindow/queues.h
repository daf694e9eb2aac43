// The compiled tip: CONTROLQUEUE (one entry per control to create) and SETTINGSQUEUE (one row
// per control and property), with their record buffers CTL and SET. Each runtime thread has
// its own pair, so two tip windows on two threads never read each other's controls.
#pragma once

#include <cstdint>

#include "runtime/cstring.h"
#include "runtime/queue.h"

namespace vistip {

// Entry types as the compiler writes them; readers compare them in upper case.
inline constexpr const char* kTypeString = "String";
inline constexpr const char* kTypeLine = "Line";
inline constexpr const char* kTypeButton = "BUTTON";
inline constexpr const char* kTypeBullet = "BULLET";
inline constexpr const char* kTypeHttp = "HTTP";
inline constexpr const char* kTypeLnk = "LNK";
inline constexpr const char* kTypeRegion = "REGION";

// A created control's field is its control number plus this.
inline constexpr int32_t kFieldOffset = 299;
inline constexpr int32_t kFirstTipField = 300;

struct CtlRecord {
  rt::String<20> NAME;
  rt::String<20> TYPE;
  rt::String<10000> TEXT;
  int32_t CONTROLNUMBER = 0;
  int32_t LINE = 0;
};

struct SetRecord {
  rt::String<20> CONTROLNAME;
  rt::String<20> PROP;
  rt::String<60> SETTING;
  rt::String<80> TEXT;  // in memory only: the owning control's text when the tip was built
};

// Property names of the settings rows.
inline constexpr const char* kPropToolTipName = "TOOLTIP";
inline constexpr const char* kPropFontName = "FONT";
inline constexpr const char* kPropCallName = "CALL";
inline constexpr const char* kPropLinkTipProc = "LINKTIPPROC";
inline constexpr const char* kPropLinkTipCtl = "LINKTIPCTL";

// Empties a queue from its end. Unlike Free it keeps the queue's room for the next tip, which
// spares CONTROLQUEUE's 10 KB entries a fresh allocation and copy on every compilation.
template <class Rec>
void EmptyKeepingRoom(rt::Queue<Rec>& queue) {
  while (queue.Records() > 0) {
    queue.Get(queue.Records());
    queue.Delete();
  }
}

extern thread_local rt::Queue<CtlRecord> CONTROLQUEUE;
extern thread_local rt::Queue<SetRecord> SETTINGSQUEUE;
extern thread_local CtlRecord& CTL;
extern thread_local SetRecord& SET;

}  // namespace vistip
