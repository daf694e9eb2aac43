// The per-thread instances of the compiled tip's queues.
#include "tipwindow/queues.h"

namespace vistip {

thread_local rt::Queue<CtlRecord> CONTROLQUEUE;
thread_local rt::Queue<SetRecord> SETTINGSQUEUE;
thread_local CtlRecord& CTL = CONTROLQUEUE.buf;
thread_local SetRecord& SET = SETTINGSQUEUE.buf;

}  // namespace vistip
