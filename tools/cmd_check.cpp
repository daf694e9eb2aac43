// `vistip check [--calls] FILE`: compiles every tip and reports what would go wrong on screen,
// and with --calls first lists what its buttons would run.
#include <iostream>
#include <memory>
#include <vector>

#include "tools/commands.h"
#include "tools/settings_review.h"
#include "tools/tip_check.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

int RunCheck(const std::string& file, bool list_calls) {
  RunUnattended();
  std::vector<TipText> tips;
  if (const TipFileResult read = ExportTips(file, tips); !read.ok) return Fail(read.error);
  CheckResult r = CheckTips(file, tips);
  if (!r.ok) return Fail(r.error);
  AddHiddenRestartProblems(tips, r);
  if (list_calls)
    for (const TipCall& c : ListTipCalls(tips))
      std::cout << file << ": " << c.tip << ": call of " << EscapeText(c.control) << ": "
                << EscapeText(c.setting) << "\n";
  for (const CheckProblem& p : r.problems) {
    std::cout << file << ": " << p.tip << ": ";
    if (p.line != 0) std::cout << "line " << p.line << ": ";
    std::cout << p.message << "\n";
  }
  std::cerr << "vistip: " << file << ": " << r.problems.size()
            << (r.problems.size() == 1 ? " problem" : " problems") << " in " << r.tips
            << (r.tips == 1 ? " tip" : " tips") << "\n";
  return r.problems.empty() ? 0 : kExitProblems;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& status) {
  auto list_calls = std::make_shared<bool>(false);
  CLI::App* sub =
      AddFileCommand(app, status, "check", "Compile every tip and report its problems",
                     [list_calls](const std::string& file) { return RunCheck(file, *list_calls); });
  sub->add_flag("--calls", *list_calls,
                "first list every EXE, MSG and HLP call of the file with its tip and button");
  sub->footer(
      "Each tip is compiled as the tip window compiles it, wrapped at the tip's own width.\n"
      "Reported, one line each (FILE: procedure / control / type: [line N: ]problem):\n"
      "  a tag not closed in time (\"Control not completed\" in the tip window);\n"
      "  a tip link whose target tip does not exist (for a link without a target, the control\n"
      "  named like its text, which its first click would bind it to);\n"
      "  a settings row whose control no longer exists;\n"
      "  a button call whose kind is not EXE, MSG or HLP;\n"
      "  a settings value holding \";\", which starts the value again (\"CALL;HLPa,b;EXEx\"\n"
      "  acts as an EXE call).\n"
      "With --calls, every call is listed first (FILE: procedure / control / type: call of\n"
      "BUTTON: KIND+DATA), so the programs, events and help files of a tip file can be\n"
      "reviewed before it is trusted.\n"
      "Exit status 1 when anything is reported.");
}

}  // namespace vistip
