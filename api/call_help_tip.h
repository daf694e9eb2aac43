// vtCALLHELPTIP: records a help request in the process-wide state and runs the tip window for
// it, on a new runtime thread or, for the control type "IDE", on the caller's own thread.
// Thread-safety: call from a runtime thread (runtime/thread.h).
#pragma once

#include <functional>
#include <string_view>

#include "tipwindow/tip_request.h"

namespace vistip {

// A tip window procedure: runs the tip window for the request handed to it.
using TipWindowProcedureFn = std::function<void(const TipRequest&)>;

inline constexpr std::string_view kDefaultTipFile = "Vistip.Tps";
inline constexpr std::string_view kIdeControlType = "IDE";

// Stores the request in GLO (a blank tip file names kDefaultTipFile; every text is cut or
// padded to its variable), turns the position of the control chosen through VTWATCH into
// POS.X/POS.Y, and runs the tip window procedure with a TipRequest of its own made from them:
// for "IDE" (trailing blanks ignored) on this
// thread with GLO.PARENTTHREAD 0, returning when it ends; otherwise on a new runtime thread
// with GLO.PARENTTHREAD this thread's number, returning at once.
void vtCALLHELPTIP(std::string_view tip_file, std::string_view procedure_name,
                   std::string_view control_name, std::string_view control_type);

// The request as GLO and POS hold it now: the last one made.
TipRequest LastRequest();

// Replaces the procedure vtCALLHELPTIP runs as the tip window. An empty function restores the
// built-in tip window.
void SetTipWindowProcedure(TipWindowProcedureFn procedure);

}  // namespace vistip
