// The compiled tip's rows: CtlRecord (one per control to create, CONTROLQUEUE) and SetRecord
// (one per control and property, SETTINGSQUEUE). Each tip window owns its queues and hands them
// to the routines that act on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

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
// Whether a call's first three characters name a kind a button can run: EXE, MSG or HLP.
inline bool IsCallKind(std::string_view kind) {
  return kind == "EXE" || kind == "MSG" || kind == "HLP";
}
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

// The row of `control` for `prop`, or nothing. Leaves the queue's buffer at the row found.
std::optional<SetRecord> FindSetting(rt::Queue<SetRecord>& rows, std::string_view control,
                                     std::string_view prop);

// The entry of control number `number`, or nothing.
std::optional<CtlRecord> FindControl(rt::Queue<CtlRecord>& controls, int32_t number);

// The first entry named `name`, or nothing. Leaves the queue's buffer at the entry found.
std::optional<CtlRecord> FindControlNamed(rt::Queue<CtlRecord>& controls, std::string_view name);

}  // namespace vistip
