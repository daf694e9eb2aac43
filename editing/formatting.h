// Numbers of the tip window's formatting mode shared by its routines in editing/.
#pragma once

#include <cstdint>

namespace vistip::tipwindow {

inline constexpr int32_t kInstructionTimer = 500;  // hundredths: an instruction shown in full
inline constexpr int32_t kRunOffTimer = 20;        // hundredths: one character runs off

}  // namespace vistip::tipwindow
