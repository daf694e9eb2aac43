// The administrator's switch for program calls from tips: environment, user INI, machine INI.
#include "platform/run_policy.h"

#include <cstdlib>
#include <optional>

#include "runtime/process.h"
#include "runtime/strings.h"

namespace vistip {
namespace {

// Whether one source says no: a value that is not empty and not one of the yes-words.
bool SaysOff(const std::optional<std::string>& value) {
  if (!value) return false;
  const std::string word = rt::Lower(rt::Clip(*value));
  return !word.empty() && word != "yes" && word != "on" && word != "true" && word != "1";
}

std::optional<std::string> IniEntry(const std::string& file) {
  // GETINI answers a missing file or entry with the default; a NUL byte cannot be in a value.
  const std::string missing(1, '\0');
  std::string value = rt::GetIni(kRunProgramsSection, kRunProgramsEntry, missing, file);
  if (value == missing) return std::nullopt;
  return value;
}

}  // namespace

bool TipProgramsAllowed(const std::string& user_ini, const std::string& machine_ini) {
  std::optional<std::string> env;
  if (const char* v = std::getenv(std::string(kRunProgramsVariable).c_str())) env = v;
  return !SaysOff(env) && !SaysOff(IniEntry(user_ini)) && !SaysOff(IniEntry(machine_ini));
}

bool TipProgramsAllowed() {
  return TipProgramsAllowed(rt::DefaultIniPath(), std::string(kMachineIniFile));
}

}  // namespace vistip
