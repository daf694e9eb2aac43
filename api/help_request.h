// Help-request detection in a host window: vtSHOWHELP arms the right mouse button on the
// current window's controls, VTWATCH turns an armed right-click into a "What's This" popup and
// a pending request in POS.CONTROL. Thread-safety: call on the host window's own thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vistip {

inline constexpr int32_t kHelpAlertSlot = 255;      // alert slot that holds the right button
inline constexpr int32_t kArmNegativeFields = 2;    // vtSHOWHELP flag: also fields -1 to -20
inline constexpr int32_t kEventHandleScan = 0x500;  // VTWATCH: first field whose handle is 0
inline constexpr int32_t kHandleScanFrom = -250;
inline constexpr std::string_view kDefaultPopupText = "What's This";

// Arms every field of the current window from FIRSTFIELD to LASTFIELD, except those whose
// "|number|" occurs in "|" + exclusions + "|" (cut to 255 characters; omitted: none excluded),
// and, when flags has kArmNegativeFields set, fields -1 to -20. Field 0, the window itself, is
// never armed. Puts kDefaultPopupText into GLO.POPUPSTRING when that is blank. With the
// "/vtdebug" switch every step is shown in a STOP dialog first.
void vtSHOWHELP(std::optional<std::string_view> exclusions, std::optional<int32_t> flags);

// Call after each event of the host's loop. An alerted right-click shows the popup menu
// (popup_text, or GLO.POPUPSTRING when omitted) at the mouse and clears the key code; item 1
// gives the field number, also left in POS.CONTROL, item n > 1 gives -n, a dismissed menu 0.
// Event kEventHandleScan stores the first field from kHandleScanFrom upwards whose window
// handle reads 0 in POS.CONTROL and returns its absolute value. Other events return 0.
int32_t VTWATCH(std::optional<std::string_view> popup_text);

}  // namespace vistip
