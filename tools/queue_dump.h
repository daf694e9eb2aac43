// The compiled tip as text: a tip window's CONTROLQUEUE and SETTINGSQUEUE, one entry a line.
//
//   CONTROLQUEUE
//   <number> TAB <line> TAB <type> TAB <name> TAB <text>
//   SETTINGSQUEUE
//   <control> TAB <property> TAB <value> TAB <text of the control when the tip was built>
//
// Entries by control number, rows in queue order; every field without its trailing blanks, in
// UTF-8, with the escapes of the tip text form (\\ a backslash, \xHH a control byte, a tab
// included).
#pragma once

#include <string>

#include "runtime/queue.h"
#include "tipwindow/queues.h"

namespace vistip {

std::string DumpQueues(rt::Queue<CtlRecord>& controls, rt::Queue<SetRecord>& settings);

}  // namespace vistip
