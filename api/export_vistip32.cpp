// The thirteen exports of libvistip32.so: thin C wrappers that turn the C conventions of
// include/vistip32.h (null for omitted or blank) into the library's own calls.
#include <optional>
#include <string_view>

#include "api/call_help_tip.h"
#include "api/help_request.h"
#include "api/ide_help.h"
#include "api/setters.h"
#include "tipstore/upgrade.h"
#include "vistip32.h"

namespace {

// A required string: null reads as blank.
std::string_view Text(const char* s) {
  return s ? std::string_view(s) : std::string_view();
}

// An omittable parameter: null means omitted.
std::optional<std::string_view> Omittable(const char* s) {
  if (s == nullptr) return std::nullopt;
  return std::string_view(s);
}
std::optional<int32_t> Omittable(const int32_t* n) {
  if (n == nullptr) return std::nullopt;
  return *n;
}

}  // namespace

extern "C" {

void vtSHOWHELP(const char* exclusions, const int32_t* flags) {
  vistip::vtSHOWHELP(Omittable(exclusions), Omittable(flags));
}

int32_t VTWATCH(const char* popup_text) {
  return vistip::VTWATCH(Omittable(popup_text));
}

void vtCALLHELPTIP(const char* tip_file, const char* procedure_name, const char* control_name,
                   const char* control_type) {
  vistip::vtCALLHELPTIP(Text(tip_file), Text(procedure_name), Text(control_name),
                        Text(control_type));
}

void VTCLOSE(void) {
  vistip::VTCLOSE();
}
void vtSetPopUp(const char* text) {
  vistip::vtSetPopUp(Text(text));
}
void vtSetCaption(const char* caption) {
  vistip::vtSetCaption(Text(caption));
}
void vtSetEdit(int32_t flag) {
  vistip::vtSetEdit(flag);
}
void vtSetVariableWidth(uint8_t flag) {
  vistip::vtSetVariableWidth(flag);
}
void vtSetColor(int32_t color) {
  vistip::vtSetColor(color);
}
void vtStayOpen(uint8_t flag) {
  vistip::vtStayOpen(flag);
}
void vtSetToolbox(uint8_t flag) {
  vistip::vtSetToolbox(flag);
}
void UpgradeTipFile(const char* file_name) {
  vistip::UpgradeTipFile(file_name);
}
void vtIdeHelp(int32_t /*unused*/, const char* request) {
  vistip::vtIdeHelp(Text(request));
}

}  // extern "C"
