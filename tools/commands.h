// The subcommands of `vistip`, one file each: each adds itself to the command line and, when
// chosen, leaves its exit status in `status` (0 done, 1 a check found problems, 2 a usage or
// file error, with the message on standard error).
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <string_view>

#include "tools/built_tip.h"
#include "tools/tip_file_io.h"

namespace vistip {

inline constexpr int kExitProblems = 1;
inline constexpr int kExitError = 2;

void AddListCommand(CLI::App& app, int& status);
void AddExportCommand(CLI::App& app, int& status);
void AddImportCommand(CLI::App& app, int& status);
void AddSyncCommand(CLI::App& app, int& status);
void AddCheckCommand(CLI::App& app, int& status);
void AddDumpCommand(CLI::App& app, int& status);
void AddRenderCommand(CLI::App& app, int& status);
void AddShowCommand(CLI::App& app, int& status);
void AddUpgradeCommand(CLI::App& app, int& status);

// A subcommand whose one argument is FILE, the tip file: `run` gives its exit status.
CLI::App* AddFileCommand(CLI::App& app, int& status, const char* name, const char* description,
                         std::function<int(const std::string& file)> run);

// The positional arguments FILE PROC CONTROL TYPE that name one tip request.
void AddTipArguments(CLI::App& sub, TipQuery& request);

// Writes "vistip: <message>" to standard error and returns kExitError.
int Fail(std::string_view message);

// Reads and parses the text form from the file `in` ("-" standard input); "" when it worked,
// else the message: the text's name and line, and that nothing was written.
std::string ReadTextForm(const std::string& in, std::vector<TipText>& tips);

// What a writing command did (or would do, `dry_run`): each change on its own line when asked,
// then "FILE: A added, U updated, D deleted, N unchanged".
void PrintChanges(const std::string& file, const TipWriteResult& r, bool each, bool dry_run);

}  // namespace vistip
