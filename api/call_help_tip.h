// vtCALLHELPTIP: records a help request in the process-wide state and runs the tip window for
// it, on a new runtime thread or, for the control type "IDE", on the caller's own thread.
// Thread-safety: call from a runtime thread (runtime/thread.h).
#pragma once

#include <functional>
#include <string_view>

namespace vistip {

inline constexpr std::string_view kDefaultTipFile = "Vistip.Tps";
inline constexpr std::string_view kIdeControlType = "IDE";

// Stores the request in GLO (a blank tip file names kDefaultTipFile; every text is cut or
// padded to its variable), turns the position of the control chosen through VTWATCH into
// POS.X/POS.Y, and runs the tip window procedure: for "IDE" (trailing blanks ignored) on this
// thread with GLO.PARENTTHREAD 0, returning when it ends; otherwise on a new runtime thread
// with GLO.PARENTTHREAD this thread's number, returning at once.
void vtCALLHELPTIP(std::string_view tip_file, std::string_view procedure_name,
                   std::string_view control_name, std::string_view control_type);

// Replaces the procedure vtCALLHELPTIP runs as the tip window. It takes no parameters and reads
// its request from GLO and POS. An empty function restores the built-in tip window.
void SetTipWindowProcedure(std::function<void()> procedure);

}  // namespace vistip
