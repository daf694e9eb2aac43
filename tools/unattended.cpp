// Unattended runs: the headless backend and message boxes turned into lines on standard error.
#include "tools/unattended.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/errors.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

int messages = 0;

void ExitAsFailed() {
  if (messages > 0) std::_Exit(2);
}

}  // namespace

void RunUnattended(std::string_view file) {
  rt::UseHeadlessBackend();
  rt::SetMessageHandler(
      [file = std::string(file)](std::string_view text, std::string_view caption) {
        std::string line = "vistip: ";
        if (!file.empty() && text.find(file) == std::string_view::npos) line += file + ": ";
        if (!caption.empty()) line += std::string(caption) + ": ";
        for (const char c : text) line += c == '\n' ? ' ' : c;
        if (!file.empty() && rt::ErrorCode() != rt::kNoError) line += " (" + ErrorCodes() + ")";
        std::fprintf(stderr, "%s\n", line.c_str());
        ++messages;
      });
  std::at_quick_exit(ExitAsFailed);
}

int UnattendedMessages() {
  return messages;
}

}  // namespace vistip
