// vtSHOWHELP and VTWATCH over the runtime's window services: alert slots, the popup menu, the
// process-wide key code, and the STOP diagnostics of the "/vtdebug" and "/vthdbg" switches.
#include "api/help_request.h"

#include <cstdlib>
#include <string>

#include "runtime/codes.h"
#include "runtime/cstring.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "state/state.h"

namespace vistip {
namespace {

std::string Decimal(int64_t n) {
  return std::to_string(n);
}
std::string Bars(int64_t field) {
  return "|" + Decimal(field) + "|";
}
bool HasSwitch(std::string_view name) {
  return !rt::Command(name).empty();
}

void Arm(int32_t field) {
  rt::SetPropInt(field, rt::kPropAlert, rt::kMouseRight, kHelpAlertSlot);
}

// "|" + list + "|" as passed, trailing blanks included, cut to 255; "|" when omitted.
rt::String<255> ExclusionText(std::optional<std::string_view> exclusions) {
  if (!exclusions) return rt::String<255>("|");
  std::string text = "|";
  text.append(exclusions->substr(0, 255));
  text += '|';
  return rt::String<255>(text);
}

}  // namespace

void vtSHOWHELP(std::optional<std::string_view> exclusions, std::optional<int32_t> flags) {
  const int32_t flag_bits = flags.value_or(0);
  const rt::String<255> excluded = ExclusionText(exclusions);
  const bool debug = HasSwitch("/vtdebug");
  const int32_t first = rt::FirstField();
  const int32_t last = rt::LastField();
  if (debug) {
    rt::Stop("Firstfield = " + Decimal(first) + " Lastfield = " + Decimal(last) +
             " nt = " + std::string(excluded.clip()));
  }
  for (int64_t a = first; a <= last; ++a) {
    if (debug) rt::Stop("looking for " + Bars(a) + " in " + std::string(excluded.view()));
    if (excluded.view().find(Bars(a)) == std::string_view::npos) {
      // Field 0 names the window: arming it would alert the right button on every control,
      // the excluded ones included.
      if (a != 0) Arm(static_cast<int32_t>(a));
    } else if (debug) {
      rt::Stop("not alerting.... " + Decimal(a));
    }
  }
  if ((flag_bits & kArmNegativeFields) != 0) {
    for (int32_t a = -1; a >= -20; --a) Arm(a);
  }
  if (GLO.POPUPSTRING.blank()) GLO.POPUPSTRING = kDefaultPopupText;
}

int32_t VTWATCH(std::optional<std::string_view> popup_text) {
  if (rt::Event() == kEventHandleScan) {
    rt::Yield();
    const int32_t last = rt::LastField();
    for (int64_t a = kHandleScanFrom; a <= last; ++a) {
      if (rt::GetPropInt(static_cast<int32_t>(a), rt::kPropHandle) == 0) {
        POS.CONTROL = static_cast<int32_t>(a);
        return static_cast<int32_t>(std::llabs(a));
      }
    }
    if (HasSwitch("/vthdbg")) rt::Stop(" lastfield = " + Decimal(last));
    return 0;
  }
  if (rt::Event() == rt::kEventAlertKey && rt::KeyCode() == rt::kMouseRight) {
    // The popup's own loop replaces the thread's current event, so the field is read first.
    const int32_t field = rt::Field();
    rt::Yield();
    const std::string items = popup_text ? std::string(*popup_text) : GLO.POPUPSTRING.str();
    const int32_t chosen = rt::Popup(items, rt::kAtMouse, rt::kAtMouse);
    rt::SetKeyCode(0);
    if (chosen != 1) return -chosen;
    POS.CONTROL = field;
    return field;
  }
  return 0;
}

}  // namespace vistip
