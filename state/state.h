// The process-wide state of the help-tip library: the request to show, the position of the
// control that asked, and the switches the host sets. One instance for the whole process,
// shared by the host's threads and every tip window without locks of its own (the runtime lock
// serialises them). Everything is blank or zero at load, except FONTCONST.
#pragma once

#include <cstdint>

#include "runtime/cstring.h"

namespace vistip {

struct GlobalState {
  rt::String<255> VTAPPNAME;       // tip file name, read by every open/create/copy
  rt::String<255> VTAPPNAMEOLD;    // old-layout file name during an upgrade
  rt::String<50> VTPROCEDURENAME;  // the tip requested or shown
  rt::String<50> VTCONTROLNAME;
  rt::String<20> VTCONTROLTYPE;
  rt::String<100> POPUPSTRING;  // "What's This" menu text
  rt::String<80> VTWINDOWCAPTION;
  uint8_t CANEDIT = 0;  // 1: only with /EditTips, 2: never, else allowed
  uint8_t VTSTAYOPEN = 0;
  uint8_t VTVARIABLEWIDTH = 0;
  uint8_t VTTOOLBOX = 0;
  int32_t VTCOLOR = 0;
  int32_t PARENTTHREAD = 0;  // thread that receives event 192H
};

struct PositionState {
  int32_t CONTROL = 0;  // field chosen through VTWATCH, used once by vtCALLHELPTIP
  int32_t X = 0;
  int32_t Y = 0;
};

struct LayoutState {
  int32_t WINDOWWIDTH = 0;  // content width measured for variable-width tips
};

extern GlobalState GLO;
extern PositionState POS;
extern LayoutState VT;
inline constexpr double FONTCONST = 1.25;

}  // namespace vistip
