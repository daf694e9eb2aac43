// UpgradeTipFile: converts a tip file of the old record layout (VISTIPOLD) into the current one
// (VISTIP) under the same name, showing a wait window meanwhile. The conversion is built beside
// the tip file and renamed into place once complete, so a crash at any moment leaves either the
// old file or the whole converted file under the tip file's name. Call from a runtime thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "runtime/window.h"

namespace vistip {

// The copy of the old file made in the current directory; left there afterwards.
inline constexpr std::string_view kUpgradeCopyName = "vtTemp$).)$(";
// Appended to the tip file's name for the converted file while it is being built.
inline constexpr std::string_view kUpgradeNewSuffix = ".upgrade";

// Converts the tip file named by GLO.VTAPPNAME; a non-blank `name_or_null` becomes
// GLO.VTAPPNAME first (nullptr: the name was omitted). Returns after a message, with nothing
// changed, when the file or its copy cannot be read; ends the program when another process
// holds the file open or when writing the converted file fails (the old file stays in place).
void UpgradeTipFile(const char* name_or_null);

// The tip window's first step: opens VISTIP shared and closes it again; a file of the old
// layout is converted first.
void UpgradeIfOldLayout();

// Hooks into a run, for a progress display of its own (`vistip upgrade`) and for tests:
// `after_step` sees the wait window after each redisplay of its progress bar; `fail_add` is
// asked before the add of converted record n (from 1) and, when it returns a non-zero error
// code, that add fails with it. Empty functions restore the normal run.
struct UpgradeHooks {
  std::function<void(const rt::Window& wait_window)> after_step;
  std::function<int32_t(int32_t n)> fail_add;
};
void SetUpgradeHooks(UpgradeHooks hooks);

}  // namespace vistip
