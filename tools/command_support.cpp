// What several subcommands share: the arguments of a tip request, reading the text form, the
// report of a writing command and the error message.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
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

namespace {

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

}  // namespace

std::string ReadTextForm(const std::string& in, std::vector<TipText>& tips) {
  std::string bytes;
  if (!ReadAll(in, bytes)) return in + ": cannot be read; nothing written";
  // All or nothing: a text with an error writes no tip at all.
  if (const TipTextError e = ReadTipText(bytes, tips); e.line != 0)
    return in + ":" + std::to_string(e.line) + ": " + e.message + "; nothing written";
  return "";
}

void PrintChanges(const std::string& file, const TipWriteResult& r, bool each, bool dry_run) {
  std::string out;
  if (each) {
    static constexpr const char* kVerbs[] = {"add", "update", "delete"};
    for (const TipChange& c : r.changes)
      out.append(kVerbs[c.kind]).append(" ").append(c.tip).append("\n");
  }
  out += file + ": " + (dry_run ? "would make " : "") + std::to_string(r.added) + " added, " +
         std::to_string(r.updated) + " updated, " + std::to_string(r.deleted) + " deleted, " +
         std::to_string(r.unchanged) + " unchanged\n";
  std::cout << out;
}

}  // namespace vistip
