// CheckOpen: opens a tip file declaration for a window, creating a missing file, retrying a
// locked one and rebuilding a damaged key after asking; every other failure is reported and
// ends the program. Call from a runtime thread (its warnings are message boxes).
#pragma once

#include <cstdint>

#include "runtime/file.h"

namespace vistip {

// On return the file is open. `create` 0 reports a missing file instead of creating it.
void CheckOpen(rt::File& file, uint8_t create = 1, uint8_t mode = rt::kOpenShared);

}  // namespace vistip
