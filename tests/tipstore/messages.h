// Answering the runtime's message boxes as a person does, from the test's own runtime thread
// while the code under test waits in the box on another: what the box shows, and a click.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vistip::testing {

// What a message box shows, written as
//   [caption] text {icon} <buttons> default button
// with the icon as the painter's image name ("~asterisk", "~exclamation", "" for none) and the
// buttons as their texts ("&Yes &No").
struct MessageSeen {
  std::string caption, text, icon, buttons, default_button;
  std::string Describe() const;
};

// Waits for an open message box with this caption, reads it and clicks `button`; nothing when
// no such box appears in time.
std::optional<MessageSeen> AnswerMessage(std::string_view caption, std::string_view button);

// For a death test's child: answers the box, writes what it showed to standard error (or
// "no message box") and waits for the program to end.
void AnswerAndAwaitEnd(std::string_view caption, std::string_view button);

// Runs `body` on a new runtime thread until it returns. False, with what the box showed in
// `seen`, when a message box appeared instead (it is left unanswered).
bool RunWithoutMessage(std::function<void()> body, std::string* seen = nullptr);

}  // namespace vistip::testing
