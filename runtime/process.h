// The runtime's process services: RUN, COMMAND, GETINI, TODAY and the day numbers of dates,
// HALT and BEEP. Thread-safety: every function may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// ---- RUN ----

// Splits a command line into program and arguments by the desktop platform's quoting rules,
// never by a shell's: blanks and tabs separate words; a double quote toggles grouping (so
// blanks inside quotes stay in the word, and `a"b c"d` is one word `ab cd`); before a double
// quote, 2n backslashes give n backslashes and the quote toggles grouping, 2n+1 give n
// backslashes and a literal quote; backslashes elsewhere are literal. The program name (the
// first word) takes no backslash escapes: there quotes only group. Everything else, shell
// syntax such as ; | & $(...) ` > included, is literal text of the words.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// RUN: starts the program named by the command line's first word (searched on PATH unless it
// holds a "/") with the other words as its arguments, without waiting for it and without a
// shell. The child is reaped when it ends, so none is left a zombie; the host's own SIGCHLD
// handling is left alone. Returns false, with the runtime error set (2 no such program,
// 5 not permitted, 13 an empty command line), when it could not be started.
bool Run(std::string_view command_line);

// RUN of words already split: words[0] is the program, each further word exactly one argument.
// Same search, reaping and errors as Run.
bool RunArgv(std::vector<std::string> words);

// ---- COMMAND ----

// COMMAND: the host's command line query. For a switch such as "/EditTips": non-empty when
// one of the process's arguments is that switch, compared without regard to case; an argument
// "/x=value" answers the switch "/x" with "value", otherwise the argument itself is returned.
// A number n gives the nth argument; "0" the program; an empty switch all arguments joined by
// blanks. Trailing blanks of the switch are ignored. The arguments are read once, from
// /proc/self/cmdline.
std::string Command(std::string_view sw);

// Replaces the process's arguments (program first) for COMMAND, as a test needs.
void SetCommandLineForTesting(std::vector<std::string> args);

// ---- GETINI ----

// The value of entry in section of an INI text, or nothing when absent. Section and entry
// names compare without regard to case; lines starting with ";" are comments; blanks and tabs
// around names and values, and carriage returns, are ignored. A section named twice is read
// as one. Pure: this is the whole of the INI format.
std::optional<std::string> FindIniValue(std::string_view ini_text, std::string_view section,
                                        std::string_view entry);

// The runtime's default INI file: $VTRT_INI when set, else $XDG_CONFIG_HOME/vistip/vistip.ini,
// else ~/.config/vistip/vistip.ini.
std::string DefaultIniPath();

// GETINI: the value of entry in section of the INI file (the default file when file is empty),
// or default_value when the file or the entry is missing.
std::string GetIni(std::string_view section, std::string_view entry,
                   std::string_view default_value = "", std::string_view file = "");

// ---- dates ----

// The runtime's standard date: days since 28 December 1800, so 1 January 1801 is day 4. These
// numbers are stored in files and never change meaning.
int32_t DateFromYmd(int year, int month, int day);  // a month or day out of range carries over
void YmdFromDate(int32_t date, int& year, int& month, int& day);
// TODAY: the local date as a day number.
int32_t Today();

// ---- HALT and BEEP ----

// HALT: flushes standard output, writes text (when not empty) and a newline to standard error
// and ends the process with exit status level. Functions registered with std::at_quick_exit
// run; static destructors do not, since other runtime threads may still be using those objects.
[[noreturn]] void Halt(int level, std::string_view text = "");

// BEEP: calls the hook a display backend installed, or, without one, writes BEL to standard
// error when that is a terminal. Each call is counted.
void Beep();
// Installs the beep hook; an empty function restores the default.
void SetBeepHook(std::function<void()> hook);
// How many times Beep has been called in this process.
int64_t BeepCount();

}  // namespace rt
#pragma GCC visibility pop
