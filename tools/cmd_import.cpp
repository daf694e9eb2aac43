// `vistip import FILE IN`: adds the tips of a text form to a tip file.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "tools/commands.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

struct ImportArgs {
  std::string file, in;
};

bool ReadAll(const std::string& name, std::string& bytes) {
  if (name == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), {});
    return !std::cin.bad();
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

int RunImport(const ImportArgs& args) {
  RunUnattended();
  std::string bytes;
  if (!ReadAll(args.in, bytes)) return Fail(args.in + ": cannot be read");
  std::vector<TipText> tips;
  // All or nothing: a text with an error adds no tip at all.
  if (const TipTextError e = ReadTipText(bytes, tips); e.line != 0)
    return Fail(args.in + ":" + std::to_string(e.line) + ": " + e.message + "; nothing imported");
  const TipFileResult r = ImportTips(args.file, tips);
  for (const std::string& d : r.duplicates)
    std::cerr << "vistip: " << args.file << ": added a second tip for " << d << "\n";
  if (!r.ok)
    return Fail(r.error + (r.added > 0 ? "; the first " + std::to_string(r.added) +
                                             " tips were added before it"
                                       : ""));
  std::cout << args.file << ": added " << r.added << " tips, " << r.duplicates.size()
            << " of them duplicates\n";
  return 0;
}

}  // namespace

void AddImportCommand(CLI::App& app, int& status) {
  auto args = std::make_shared<ImportArgs>();
  CLI::App* sub = app.add_subcommand("import", "Add the tips of a text form to a tip file");
  sub->add_option("FILE", args->file, "the tip file (created when missing)")->required();
  sub->add_option("IN", args->in, "the text form, as `vistip export` writes it (- for stdin)")
      ->required();
  sub->footer(
      "Every tip of IN is added; a tip whose procedure, control and type the file already holds\n"
      "is added too (the file keeps both) and reported on standard error. A text with an error\n"
      "is refused whole, with its line, and the tip file is left as it was.");
  sub->callback([args, &status] { status = RunImport(*args); });
}

}  // namespace vistip
