// The warning table and the error text the warnings quote.
#include "tipstore/standard_warning.h"

#include <array>

#include "runtime/codes.h"
#include "runtime/cstring.h"
#include "runtime/dialogs.h"
#include "runtime/errors.h"
#include "runtime/process.h"

namespace vistip {
namespace {

// One warning. In `message`, {E} stands for ErrorText() and {T} for the text argument.
struct Warning {
  int32_t number;
  const char* message;
  const char* caption;
  int32_t icon;
  int32_t buttons;
  int32_t default_button;
  const char* halt_text;  // HALT with this text after the answer; nullptr: return
  int32_t halt_answer;    // 0: after any answer; else only after this one
  int32_t result;         // returned when not halted; 0: the button pressed
};

constexpr int32_t kInformation = rt::kIconAsterisk;
constexpr int32_t kExclamation = rt::kIconExclamation;
constexpr int32_t kOk = rt::kButtonOk;
constexpr int32_t kYesNo = rt::kButtonYes | rt::kButtonNo;

constexpr std::array<Warning, 8> kWarnings{{
    {1, "Error: ({E}) accessing {T}.  Press OK to end this application.", "Invalid File",
     kInformation, kOk, kOk, "Invalid File!", 0, 0},
    {2, "{T} key file is invalid.  Do you want to rebuild the key?", "Invalid Key", kExclamation,
     kYesNo, rt::kButtonYes, "Invalid Key!", rt::kButtonNo, 2},
    {3, "Error: ({E}) repairing key for {T}.  Press OK to end this application.",
     "Key Rebuild Error", kInformation, kOk, kOk, "Error Rebuilding Key!", 0, 0},
    {4, "Error: ({E}) creating {T}.  Press OK to end this application.", "File Creation Error",
     kInformation, kOk, kOk, "File Creation Error!", 0, 0},
    {5, "Error: ({E}) opening created file:{T}.  Press OK to end this application.",
     "File Creation Error", kInformation, kOk, kOk, "File Creation Error!", 0, 0},
    {30, "File ({T}) could not be opened.  Error: {E}.", "File Access Error", kInformation, kOk,
     kOk, nullptr, 0, 0},
    {35,
     "Error: ({E}) attempting to access a record from the {T} file.  Returning to previous "
     "window.",
     "Record Retrieval Error", kInformation, kOk, kOk, nullptr, 0, 0},
    {36, "Error: ({E}) attempting to open the current VIEW. Filter and Range Limits ignored.",
     "View Open Error", kInformation, kOk, kOk, nullptr, 0, 0},
}};

// The message with its placeholders replaced, in one pass, so that a name holding "{E}" stays
// as it is.
std::string Expand(std::string_view message, std::string_view error, std::string_view text) {
  std::string out;
  for (size_t i = 0; i < message.size(); ++i) {
    const std::string_view rest = message.substr(i);
    if (rest.starts_with("{E}") || rest.starts_with("{T}")) {
      out += rest[1] == 'E' ? error : text;
      i += 2;
    } else {
      out += message[i];
    }
  }
  return out;
}

std::string_view Clip(std::string_view s) {
  return rt::detail::ClipBlanks(s);
}

}  // namespace

std::string ErrorText() {
  const int32_t code = rt::ErrorCode();
  std::string text;
  if (code != rt::kDriverError) {
    text.append(Clip(rt::Error())).append(" (").append(std::to_string(code)).append(")");
  } else {
    text.append(Clip(rt::FileError())).append(" (").append(Clip(rt::FileErrorCode())).append(")");
  }
  return rt::String<150>(text).str();
}

int32_t StandardWarning(int32_t number, std::string_view text, std::string_view /*text2*/) {
  for (const Warning& w : kWarnings) {
    if (w.number != number) continue;
    const int32_t answer = rt::Message(Expand(w.message, ErrorText(), Clip(text)), w.caption,
                                       w.icon, w.buttons, w.default_button);
    if (w.halt_text != nullptr && (w.halt_answer == 0 || w.halt_answer == answer)) {
      rt::Halt(0, w.halt_text);
    }
    return w.result != 0 ? w.result : answer;
  }
  return 0;
}

}  // namespace vistip
