// Whether a tip's button may start a program: an administrator turns this off for a user or a
// whole machine, through the environment or an INI file (docs/administration.md).
// Thread-safety: reads the environment and the files on each call.
#pragma once

#include <string>
#include <string_view>

namespace vistip {

// Environment variable and INI entry (section, entry) that turn program calls off.
inline constexpr std::string_view kRunProgramsVariable = "VISTIP_RUN_PROGRAMS";
inline constexpr std::string_view kRunProgramsSection = "Vistip";
inline constexpr std::string_view kRunProgramsEntry = "RunPrograms";
// The machine's INI file, read besides the user's (the runtime's default INI file).
inline constexpr std::string_view kMachineIniFile = "/etc/vistip/vistip.ini";

inline constexpr std::string_view kProgramsOffMessage =
    "This button would start a program, but starting programs from tips has been turned off "
    "on this computer.";

// True unless one of the environment variable, the entry of the user's INI file and the entry
// of the machine's INI file holds a value other than Yes, On, True or 1 (any letter case; an
// empty value says nothing): any one of them turns program calls off, and none can turn the
// others' choice back.
bool TipProgramsAllowed(const std::string& user_ini, const std::string& machine_ini);

// The same for the runtime's default INI file and kMachineIniFile.
bool TipProgramsAllowed();

}  // namespace vistip
