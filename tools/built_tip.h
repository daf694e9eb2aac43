// The tip window of one request, run on the calling thread as its procedure runs (preparing
// the files and window, the open-window event, the timer tick that builds the tip) up to the
// moment the tip is built and shown, then closed. For `vistip dump` and `vistip render`.
#pragma once

#include <functional>
#include <string>

#include "tipwindow/help_tip_window.h"

namespace vistip {

struct TipQuery {
  std::string file, procedure, control, type;
};

// Runs the tip window for the request. When it built a tip that the file holds, calls `built`
// with the window (its CONTROLQUEUE and SETTINGSQUEUE hold the compiled tip) and
// returns "". Otherwise returns why not: a file that cannot be read, or no tip for the request.
std::string WithBuiltTip(const TipQuery& request,
                         const std::function<void(tipwindow::HelpTipWindow&)>& built);

}  // namespace vistip
