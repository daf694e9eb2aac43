// A help request as a tip window receives it when it starts: the names that pick the tip, the
// host thread that hears of added tips and where the asking control lies. The window keeps it as
// its own; the process-wide variables only ever hold the last request (and the tip file).
#pragma once

#include <cstdint>

#include "runtime/cstring.h"

namespace vistip {

// The names that pick a tip: procedure, control and control type.
struct TipNames {
  rt::String<50> PROCEDURENAME;
  rt::String<50> CONTROLNAME;
  rt::String<20> CONTROLTYPE;

  bool operator==(const TipNames&) const = default;
};

struct TipRequest {
  TipNames NAMES;
  int32_t PARENTTHREAD = 0;  // receives the event of an added tip; 0 for none
  int32_t X = 0;             // the asking control's corner in the tip window's units
  int32_t Y = 0;
};

}  // namespace vistip
