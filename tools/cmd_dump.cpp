// `vistip dump FILE PROC CONTROL TYPE`: the compiled queues of one tip.
#include <iostream>
#include <memory>

#include "tools/commands.h"
#include "tools/queue_dump.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

int RunDump(const TipQuery& request) {
  RunUnattended();
  std::string dump;
  const std::string error = WithBuiltTip(request, [&](tipwindow::HelpTipWindow& tip) {
    dump = DumpQueues(tip.CONTROLQUEUE, tip.SETTINGSQUEUE);
  });
  if (!error.empty()) return Fail(error);
  std::cout << dump;
  return 0;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int& status) {
  auto request = std::make_shared<TipQuery>();
  CLI::App* sub =
      app.add_subcommand("dump", "Print a tip's compiled CONTROLQUEUE and SETTINGSQUEUE");
  AddTipArguments(*sub, *request);
  sub->footer(
      std::string(sub->get_footer()) +
      "\n\nOutput, as the tip window holds the queues once the tip is built:\n"
      "  CONTROLQUEUE\n"
      "  number TAB line TAB type TAB name TAB text        (by control number)\n"
      "  SETTINGSQUEUE\n"
      "  control TAB property TAB value TAB control's text (in queue order)\n"
      "Fields without trailing blanks, UTF-8, \\\\ for a backslash and \\xHH for a control\n"
      "byte (a tab included).");
  sub->callback([request, &status] { status = RunDump(*request); });
}

}  // namespace vistip
