// The setters of the host's switches and VTCLOSE.
#include "api/setters.h"

#include "state/state.h"

namespace vistip {

void vtSetPopUp(std::string_view text) {
  GLO.POPUPSTRING = text;
}
void vtSetCaption(std::string_view caption) {
  GLO.VTWINDOWCAPTION = caption;
}
void vtSetEdit(int32_t flag) {
  GLO.CANEDIT = static_cast<uint8_t>(flag & 0xFF);
}
void vtSetVariableWidth(uint8_t flag) {
  GLO.VTVARIABLEWIDTH = flag;
}
void vtSetColor(int32_t color) {
  GLO.VTCOLOR = color;
}
void vtStayOpen(uint8_t flag) {
  GLO.VTSTAYOPEN = flag;
}
void vtSetToolbox(uint8_t flag) {
  GLO.VTTOOLBOX = flag;
}
void VTCLOSE() {}

}  // namespace vistip
