// Commands that run the tip window's code without a screen: the headless backend, and the
// runtime's message boxes written to standard error, since nobody could answer them.
#pragma once

#include <string_view>

namespace vistip {

// Chooses the headless backend (before any window opens) and reports every message box on
// standard error as "vistip: [<file>: ]<caption>: <text>[: <error>]", answered as Esc would:
// `file` is given to a message that does not name it, the runtime's error code (and SQLite's)
// to one that reports a failure. A program end through HALT after such a message exits with
// status 2, so that no failure reads as success.
void RunUnattended(std::string_view file = {});

// How many message boxes have been reported so far.
int UnattendedMessages();

}  // namespace vistip
