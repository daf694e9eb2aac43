// `vistip check FILE`: compiles every tip and reports what would go wrong on screen.
#include <iostream>

#include "tools/commands.h"
#include "tools/tip_check.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

int RunCheck(const std::string& file) {
  RunUnattended();
  const CheckResult r = CheckTipFile(file);
  if (!r.ok) return Fail(r.error);
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
  CLI::App* sub =
      AddFileCommand(app, status, "check", "Compile every tip and report its problems", RunCheck);
  sub->footer(
      "Each tip is compiled as the tip window compiles it, wrapped at the tip's own width.\n"
      "Reported, one line each (FILE: procedure / control / type: [line N: ]problem):\n"
      "  a tag not closed in time (\"Control not completed\" in the tip window);\n"
      "  a tip link whose target tip does not exist (for a link without a target, the control\n"
      "  named like its text, which its first click would bind it to);\n"
      "  a settings row whose control no longer exists;\n"
      "  a button call whose kind is not EXE, MSG or HLP.\n"
      "Exit status 1 when anything is reported.");
}

}  // namespace vistip
