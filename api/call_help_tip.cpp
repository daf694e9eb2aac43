// vtCALLHELPTIP: the request variables, the conversion of the requesting control's position and
// the start of the tip window procedure.
#include "api/call_help_tip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/codes.h"
#include "runtime/strings.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip {
namespace {

// The built-in tip window.
void BuiltInTipWindow(const TipRequest& request) {
  HelpTipWindow(request);
}

TipWindowProcedureFn& TipWindowProcedure() {
  // Never destroyed: tip-window threads may still start while static objects are torn down.
  static auto* procedure = new TipWindowProcedureFn(BuiltInTipWindow);
  return *procedure;
}

// (control + window) as exact integers, times FONTCONST, truncated toward zero; kept within a
// LONG so that no coordinate can overflow the conversion.
int32_t ScaledPosition(int32_t control, int32_t window) {
  const double scaled = std::trunc(static_cast<double>(int64_t{control} + window) * FONTCONST);
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(scaled, kLow, kHigh));
}

// Uses the field chosen through VTWATCH once; without one POS.X/POS.Y keep their values.
void ConvertRequestPosition() {
  if (POS.CONTROL == 0) return;
  POS.X = ScaledPosition(rt::GetPropInt(POS.CONTROL, rt::kPropX), rt::GetPropInt(0, rt::kPropX));
  POS.Y = ScaledPosition(rt::GetPropInt(POS.CONTROL, rt::kPropY), rt::GetPropInt(0, rt::kPropY));
  POS.CONTROL = 0;
}

}  // namespace

void vtCALLHELPTIP(std::string_view tip_file, std::string_view procedure_name,
                   std::string_view control_name, std::string_view control_type) {
  if (rt::Clip(tip_file).empty()) {
    GLO.VTAPPNAME = kDefaultTipFile;
  } else {
    GLO.VTAPPNAME = tip_file;
  }
  GLO.VTPROCEDURENAME = procedure_name;
  GLO.VTCONTROLNAME = control_name;
  GLO.VTCONTROLTYPE = control_type;
  ConvertRequestPosition();
  const bool on_caller = rt::Clip(control_type) == kIdeControlType;
  GLO.PARENTTHREAD = on_caller ? 0 : rt::Thread();
  // The window gets this request as it stands now: a later call changes GLO, not this window.
  const TipRequest request = LastRequest();
  // A copy, so that a later replacement leaves this request's procedure alone.
  TipWindowProcedureFn tip_window = TipWindowProcedure();
  if (on_caller) {
    tip_window(request);
    return;
  }
  rt::Start([tip_window = std::move(tip_window), request] { tip_window(request); });
}

TipRequest LastRequest() {
  TipRequest request;
  request.NAMES = {GLO.VTPROCEDURENAME, GLO.VTCONTROLNAME, GLO.VTCONTROLTYPE};
  request.PARENTTHREAD = GLO.PARENTTHREAD;
  request.X = POS.X;
  request.Y = POS.Y;
  return request;
}

void SetTipWindowProcedure(TipWindowProcedureFn procedure) {
  TipWindowProcedure() = procedure ? std::move(procedure) : BuiltInTipWindow;
}

}  // namespace vistip
