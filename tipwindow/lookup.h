// Finding the tip for a request in VISTIP, as the tip window and `vistip check` look it up.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tipwindow/tip_request.h"

namespace vistip {

// Where a tip was found: under both names, as the control's shared tip (blank procedure), as
// the tip of the control type, or not at all.
enum class TipSource { kNone, kNames, kControl, kType };

// Reads the tip for `asked` into VTH: by procedure and control, then the control's shared tip,
// then the first tip of the control type when it names nothing else. A read that fails for
// another reason than the tip's absence is reported once and left in `read_error`; no further
// read is tried then.
TipSource ReadTip(const TipNames& asked, int32_t& read_error);

// Reads VTH's key `key` from VISTIP; reports and keeps in `read_error` a failed read (not an
// absent tip). Does nothing while `read_error` is set.
bool FetchTip(size_t key, int32_t& read_error);

}  // namespace vistip
