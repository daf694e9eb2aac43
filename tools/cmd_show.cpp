// `vistip show FILE PROC CONTROL TYPE`: the tip window on the display, from a minimal host.
#include <chrono>
#include <cstring>
#include <memory>

#include "api/call_help_tip.h"
#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tools/commands.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

int RunShow(const TipQuery& request) {
  // The window would create a missing file and convert an old one: `show` does neither.
  if (const TipFileResult r = OpenExistingTipFile(request.file); !r.ok) return Fail(r.error);
  VISTIP.Close();
  if (std::strcmp(rt::CurrentBackend().name(), "x11") != 0)
    return Fail("no display: set DISPLAY to a running X server (or use `vistip render`)");
  vtCALLHELPTIP(request.file, request.procedure, request.control, request.type);
  // The tip window, and a help viewer a button may open, run on threads of their own.
  while (!rt::WaitFor([] { return rt::ThreadCount() <= 1; }, std::chrono::hours(1))) {
  }
  return 0;
}

}  // namespace

void AddShowCommand(CLI::App& app, int& status) {
  auto request = std::make_shared<TipQuery>();
  CLI::App* sub = app.add_subcommand("show", "Open a tip's window on the display");
  AddTipArguments(*sub, *request);
  sub->footer(std::string(sub->get_footer()) +
              "\n\nThe tip window opens as a host's vtCALLHELPTIP opens it, editor included\n"
              "(Alt+E edits the text, Alt+C formats controls; edits are saved to FILE), and\n"
              "the command returns when it has closed. Needs an X display (DISPLAY).");
  sub->callback([request, &status] { status = RunShow(*request); });
}

}  // namespace vistip
