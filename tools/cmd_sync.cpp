// `vistip sync FILE TEXT [--dry-run]`: makes a tip file hold exactly the tips of a text form.
#include <memory>

#include "tools/commands.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

struct SyncArgs {
  std::string file, in;
  bool dry_run = false;
};

int RunSync(const SyncArgs& args) {
  RunUnattended();
  std::vector<TipText> tips;
  if (const std::string error = ReadTextForm(args.in, tips); !error.empty()) return Fail(error);
  const TipWriteResult r = WriteTips(args.file, tips, TipWrite::kSync, args.dry_run);
  if (!r.ok) return Fail(r.error);
  PrintChanges(args.file, r, args.dry_run, args.dry_run);
  return 0;
}

}  // namespace

void AddSyncCommand(CLI::App& app, int& status) {
  auto args = std::make_shared<SyncArgs>();
  CLI::App* sub =
      app.add_subcommand("sync", "Make a tip file hold exactly the tips of a text form");
  sub->add_option("FILE", args->file, "the tip file (created when missing)")->required();
  sub->add_option("TEXT", args->in, "the text form, as `vistip export` writes it (- for stdin)")
      ->required();
  sub->add_flag("-n,--dry-run", args->dry_run,
                "print what would be added, updated and deleted, and change nothing");
  sub->footer(
      "A tip of TEXT whose procedure, control and type the file holds rewrites that record in\n"
      "its place when it differs; the others are added; the records TEXT does not hold are\n"
      "deleted. Tips with the same procedure, control and type pair up in order. Prints the\n"
      "counts. All or nothing, as import: checked first, one transaction, exit status 2 and\n"
      "the file as it was on any failure.");
  sub->callback([args, &status] { status = RunSync(*args); });
}

}  // namespace vistip
