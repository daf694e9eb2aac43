// The host's switches for tip windows (VTCLOSE and the seven setters). Each only stores its
// argument in the process-wide state; tip windows read the switches when they open and, for
// some of them, while they run. Thread-safety: call from a runtime thread.
#pragma once

#include <cstdint>
#include <string_view>

namespace vistip {

void vtSetPopUp(std::string_view text);       // GLO.POPUPSTRING, first 100 characters
void vtSetCaption(std::string_view caption);  // GLO.VTWINDOWCAPTION, first 80 characters
void vtSetEdit(int32_t flag);                 // GLO.CANEDIT, the low-order byte of flag
void vtSetVariableWidth(uint8_t flag);
void vtSetColor(int32_t color);
void vtStayOpen(uint8_t flag);
void vtSetToolbox(uint8_t flag);
// Does nothing: the library traps no window messages, so there is nothing to release.
void VTCLOSE();

}  // namespace vistip
