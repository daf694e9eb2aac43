// `vistip export FILE [-o OUT]`: the tip file in its text form.
#include <cstdio>
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
  const bool to_stdout = args.out.empty() || args.out == "-";
  std::FILE* out = nullptr;  // opened with the first piece: nothing is written for a failure
  bool opened = true;
  const TipFileResult r = ExportText(args.file, [&](std::string_view piece) {
    if (out == nullptr && opened) {
      out = to_stdout ? stdout : std::fopen(args.out.c_str(), "wb");
      opened = out != nullptr;
      if (opened) std::setvbuf(out, nullptr, _IOFBF, size_t{1} << 20);  // few large writes
    }
    if (out != nullptr) std::fwrite(piece.data(), 1, piece.size(), out);
  });
  if (!r.ok) return Fail(r.error);
  const std::string name = to_stdout ? "the standard output" : args.out;
  if (out == nullptr) return Fail(name + ": cannot be written");
  const bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
  if (!to_stdout && std::fclose(out) != 0) return Fail(name + ": cannot be written");
  return written ? 0 : Fail(name + ": cannot be written");
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
