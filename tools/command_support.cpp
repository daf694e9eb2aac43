// What several subcommands share: the arguments of a tip request and the error message.
#include <cstdio>
#include <memory>
#include <string>

#include "tools/commands.h"

namespace vistip {

CLI::App* AddFileCommand(CLI::App& app, int& status, const char* name, const char* description,
                         std::function<int(const std::string& file)> run) {
  auto file = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand(name, description);
  sub->add_option("FILE", *file, "the tip file")->required();
  sub->callback([file, &status, run = std::move(run)] { status = run(*file); });
  return sub;
}

void AddTipArguments(CLI::App& sub, TipQuery& request) {
  sub.add_option("FILE", request.file, "the tip file")->required();
  sub.add_option("PROC", request.procedure, "the host procedure (\"\" for none)")->required();
  sub.add_option("CONTROL", request.control, "the control's name (\"\" for none)")->required();
  sub.add_option("TYPE", request.type, "the control's type, such as ENTRY")->required();
  sub.footer(
      "The tip is looked up as the tip window looks it up: by procedure and control, then the\n"
      "control's tip for every procedure (blank procedure), then the tip of the control type.");
}

int Fail(std::string_view message) {
  std::fprintf(stderr, "vistip: %.*s\n", static_cast<int>(message.size()), message.data());
  return kExitError;
}

}  // namespace vistip
