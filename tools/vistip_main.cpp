// vistip: the tip authors' command: list, export, import, sync, check, dump, render, show and
// upgrade tip files outside a host program.
#include <CLI/CLI.hpp>
#include <string>

#include "runtime/thread.h"
#include "tools/commands.h"

int main(int argc, char** argv) {
  rt::RuntimeThread thread;
  CLI::App app{"See, review, check and version the help tips of a tip file.", "vistip"};
  app.set_version_flag("--version", "vistip " VISTIP_VERSION);
  app.require_subcommand(1, 1);
  app.footer(
      "Exit status: 0 done, 1 a check found problems, 2 a usage or file error.\n"
      "Run `vistip COMMAND --help` for the options of each command.");
  int status = 0;
  vistip::AddListCommand(app, status);
  vistip::AddExportCommand(app, status);
  vistip::AddImportCommand(app, status);
  vistip::AddSyncCommand(app, status);
  vistip::AddCheckCommand(app, status);
  vistip::AddDumpCommand(app, status);
  vistip::AddRenderCommand(app, status);
  vistip::AddShowCommand(app, status);
  vistip::AddUpgradeCommand(app, status);
  // An unknown command is named in the error, with the commands there are.
  if (argc > 1 && argv[1][0] != '-') {
    const auto subs = app.get_subcommands([](const CLI::App*) { return true; });
    std::string names;
    bool known = false;
    for (const CLI::App* sub : subs) {
      known = known || sub->get_name() == argv[1];
      names += (names.empty() ? "" : ", ") + sub->get_name();
    }
    if (!known)
      return vistip::Fail("unknown command '" + std::string(argv[1]) + "'; the commands are " +
                          names);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : vistip::kExitError;
  }
  return status;
}
