// The settings memo: groups "[control]" of rows "property;value" each ended by the byte 0ABH.
// Reading gives the rows in SETTINGSQUEUE order; writing turns rows back into a memo.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tipwindow/queues.h"

namespace vistip {

inline constexpr char kRowEnd = '\xAB';
inline constexpr size_t kMaxSettingsMemo = 10000;

// The rows of a memo, one per (control, property), ordered by control name and property as
// compared byte for byte; a later row replaces an earlier one's value. Text before the first
// "[" is ignored, "]" ends a row as 0ABH does, rows with a blank value and the obsolete
// properties LINKPROC and LINKCTL are dropped. Names are cut at 20 characters, values at 60.
std::vector<SetRecord> ReadSettingsMemo(std::string_view memo);

// The memo of the rows in the given order: a group header whenever the control name differs
// from the previous row's, each row as property, ";", value, 0ABH, trailing blanks removed.
// Cut at 10000 characters. SET.TEXT is not written.
std::string WriteSettingsMemo(const std::vector<SetRecord>& rows);

}  // namespace vistip
