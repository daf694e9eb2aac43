// The single instances of the process-wide state.
#include "state/state.h"

namespace vistip {

GlobalState GLO;
PositionState POS;
LayoutState VT;

}  // namespace vistip
