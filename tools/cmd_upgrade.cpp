// `vistip upgrade FILE`: converts a tip file of the old layout into the current one.
#include <iostream>

#include "runtime/errors.h"
#include "state/state.h"
#include "tipstore/upgrade.h"
#include "tipstore/upgrade_window.h"
#include "tools/commands.h"
#include "tools/progress_bar.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

int RunUpgrade(const std::string& file) {
  RunUnattended(file);
  const TipFileResult probe = OpenExistingTipFile(file);
  if (probe.ok) {
    VISTIP.Close();
    std::cout << file << ": already a tip file of the current layout; nothing to do\n";
    return 0;
  }
  if (!probe.old_layout) return Fail(probe.error);
  TerminalProgress bar(stderr);
  // The wait window's bar: its counter starts at 1 and counts each read.
  SetUpgradeHooks({.after_step = [&bar](const rt::Window& wait) {
    const int32_t bar_field = UpgradeWaitWindow::kProgressField;
    bar.Show(wait.GetPropInt(bar_field, rt::kPropProgress) - 1,
             wait.GetPropInt(bar_field, rt::kPropRangeHigh));
  }});
  UpgradeTipFile(file.c_str());
  SetUpgradeHooks({});
  bar.Finish();
  if (UnattendedMessages() > 0) return kExitError;  // the message said why; nothing changed
  const TipFileResult done = OpenExistingTipFile(file);
  if (!done.ok) return Fail(done.error);
  const int32_t records = VISTIP.Records();
  VISTIP.Close();
  std::cout << file << ": converted " << records << " tips; the old file is kept as "
            << kUpgradeCopyName << " in the current directory\n";
  return 0;
}

}  // namespace

void AddUpgradeCommand(CLI::App& app, int& status) {
  CLI::App* sub =
      AddFileCommand(app, status, "upgrade", "Convert a tip file of the old layout", RunUpgrade);
  sub->footer(
      "Converts in place as the tip window does on meeting an old file, keeping a copy of the\n"
      "old file as \"vtTemp$).)$(\" in the current directory. A progress bar is drawn on\n"
      "standard error when it is a terminal. Nobody else may have the file open meanwhile.");
}

}  // namespace vistip
