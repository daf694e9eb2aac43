// `vistip import FILE IN [--replace]`: adds the tips of a text form to a tip file.
#include <iostream>
#include <memory>

#include "tools/commands.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

struct ImportArgs {
  std::string file, in;
  bool replace = false;
};

int RunImport(const ImportArgs& args) {
  RunUnattended();
  std::vector<TipText> tips;
  if (const std::string error = ReadTextForm(args.in, tips); !error.empty()) return Fail(error);
  const TipWriteResult r =
      WriteTips(args.file, tips, args.replace ? TipWrite::kReplace : TipWrite::kAdd);
  if (!r.ok) return Fail(r.error);
  for (const std::string& d : r.duplicates)
    std::cerr << "vistip: " << args.file << ": added a second tip for " << d << "\n";
  if (args.replace) {
    PrintChanges(args.file, r, false, false);
  } else {
    std::cout << args.file << ": added " << r.added << " tips, " << r.duplicates.size()
              << " of them duplicates\n";
  }
  return 0;
}

}  // namespace

void AddImportCommand(CLI::App& app, int& status) {
  auto args = std::make_shared<ImportArgs>();
  CLI::App* sub = app.add_subcommand("import", "Add the tips of a text form to a tip file");
  sub->add_option("FILE", args->file, "the tip file (created when missing)")->required();
  sub->add_option("IN", args->in, "the text form, as `vistip export` writes it (- for stdin)")
      ->required();
  sub->add_flag("--replace", args->replace,
                "rewrite the tip with the same procedure, control and type instead of adding a "
                "second one");
  sub->footer(
      "Every tip of IN is added; a tip whose procedure, control and type the file already holds\n"
      "is added too (the file keeps both) and reported on standard error. With --replace such\n"
      "a tip rewrites the one in the file instead, keeping its place.\n"
      "All or nothing: the file is checked first (a damaged file is refused) and written in one\n"
      "transaction; a text with an error, a full disk, an I/O error or a lock held past the\n"
      "wait leaves the file as it was, with exit status 2. Success is reported after the commit.");
  sub->callback([args, &status] { status = RunImport(*args); });
}

}  // namespace vistip
