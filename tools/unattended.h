// Commands that run the tip window's code without a screen: the headless backend, and the
// runtime's message boxes written to standard error, since nobody could answer them.
#pragma once

namespace vistip {

// Chooses the headless backend (before any window opens) and reports every message box on
// standard error as "vistip: <caption>: <text>", answered as Esc would. A program end through
// HALT after such a message exits with status 2, so that no failure reads as success.
void RunUnattended();

// How many message boxes have been reported so far.
int UnattendedMessages();

}  // namespace vistip
