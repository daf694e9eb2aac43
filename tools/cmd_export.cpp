// `vistip export FILE [-o OUT]`: the tip file in its text form.
#include <fstream>
#include <iostream>
#include <memory>

#include "tools/commands.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

struct ExportArgs {
  std::string file, out;
};

int RunExport(const ExportArgs& args) {
  RunUnattended();
  std::vector<TipText> tips;
  if (const TipFileResult r = ExportTips(args.file, tips); !r.ok) return Fail(r.error);
  SortForText(tips);
  const std::string text = WriteTipText(tips);
  if (args.out.empty() || args.out == "-") {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    return std::cout ? 0 : Fail("cannot write the standard output");
  }
  std::ofstream out(args.out, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) return Fail(args.out + ": cannot be written");
  return 0;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& status) {
  auto args = std::make_shared<ExportArgs>();
  CLI::App* sub = app.add_subcommand("export", "Write a tip file's tips in their text form");
  sub->add_option("FILE", args->file, "the tip file")->required();
  sub->add_option("-o,--output", args->out, "the text file to write (default: standard output)");
  sub->footer(
      "The text form (UTF-8, one section per tip, sorted by procedure, control and type) gives\n"
      "back every byte of every record: `vistip import` or `vistip sync` of it rebuilds the\n"
      "same records, and exporting again gives the same bytes. No line ends in a blank. See\n"
      "docs/tip-text.md for the format. The file is only read (read-only files work).");
  sub->callback([args, &status] { status = RunExport(*args); });
}

}  // namespace vistip
