// `vistip list FILE`: one line per tip.
#include <iostream>

#include "runtime/cstring.h"
#include "tools/commands.h"
#include "tools/tip_file_io.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

int RunList(const std::string& file) {
  RunUnattended();
  std::string out;
  const TipFileResult r = ForEachTip(file, [&out](const TipText& t) {
    const std::string_view text = t.text;
    const std::string_view first = rt::detail::ClipBlanks(text.substr(0, text.find("\r\n")));
    for (const std::string_view column :
         {std::string_view(t.procedure), std::string_view(t.control), std::string_view(t.type)}) {
      AppendEscaped(out, column);
      out += '\t';
    }
    out.append(DateText(t.date)).append("\t");
    AppendEscaped(out, first);
    out += '\n';
  });
  if (!r.ok) return Fail(r.error);
  std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
  std::cout.flush();
  return std::cout ? 0 : Fail("cannot write the standard output");
}

}  // namespace

void AddListCommand(CLI::App& app, int& status) {
  CLI::App* sub =
      AddFileCommand(app, status, "list", "List the tips of a tip file, one line each", RunList);
  sub->footer(
      "Each line: procedure, control, type, date of the last edit (YYYY-MM-DD) and the first\n"
      "line of the tip text, separated by tabs, in record order. A blank procedure or control\n"
      "gives an empty column; control bytes show as \\xHH.");
}

}  // namespace vistip
