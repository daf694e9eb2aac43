// The administrator's switch for program calls from tips: environment, user INI, machine INI.
#include "platform/run_policy.h"

#include <cstdlib>

#include "runtime/process.h"
#include "runtime/strings.h"

namespace vistip {
namespace {

// Whether one source says no: a value that is not empty and not one of the yes-words. A source
// that is missing reads as empty.
bool SaysOff(std::string_view value) {
  const std::string word = rt::Lower(rt::Clip(value));
  return !word.empty() && word != "yes" && word != "on" && word != "true" && word != "1";
}

bool IniSaysOff(const std::string& file) {
  return SaysOff(rt::GetIni(kRunProgramsSection, kRunProgramsEntry, "", file));
}

}  // namespace

bool TipProgramsAllowed(const std::string& user_ini, const std::string& machine_ini) {
  const char* env = std::getenv(std::string(kRunProgramsVariable).c_str());
  return !SaysOff(env ? env : "") && !IniSaysOff(user_ini) && !IniSaysOff(machine_ini);
}

bool TipProgramsAllowed() {
  return TipProgramsAllowed(rt::DefaultIniPath(), std::string(kMachineIniFile));
}

}  // namespace vistip
