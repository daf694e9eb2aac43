// Per-thread error state of the runtime and the fixed messages of its error codes.
#include "runtime/errors.h"

namespace rt {
namespace {

struct ErrorState {
  int32_t code = 0;
  std::string file_code;
  std::string file_message;
};

ErrorState& State() {
  thread_local ErrorState state;
  return state;
}

}  // namespace

int32_t ErrorCode() { return State().code; }
std::string Error() {
  return State().code == kDriverError ? State().file_message : ErrorMessage(State().code);
}
std::string FileError() { return State().file_message; }
std::string FileErrorCode() { return State().file_code; }

void SetError(int32_t code) {
  State().code = code;
  State().file_code.clear();
  State().file_message.clear();
}

void SetFileError(std::string_view code, std::string_view message) {
  State().code = kDriverError;
  State().file_code = code;
  State().file_message = message;
}

void ClearError() { SetError(kNoError); }

std::string ErrorMessage(int32_t code) {
  switch (code) {
    case kNoError: return "";
    case kFileNotFound: return "File Not Found";
    case kPathNotFound: return "Path Not Found";
    case kNoFileHandles: return "Too Many Open Files";
    case kAccessDenied: return "Access Denied";
    case kInvalidFile: return "Invalid File Name";
    case kEntryNotFound: return "Entry Not Found";
    case kFileLocked: return "File Is Locked";
    case kNoMoreRecords: return "No Records";
    case kRecordNotFound: return "Record Not Found";
    case kFileNotOpen: return "File Not Open";
    case kDuplicateKey: return "Creating Duplicate Key";
    case kKeyInvalid: return "Invalid Key";
    case kLayoutMismatch: return "Invalid Record Declaration";
    case kAlreadyOpen: return "File Already Open";
    case kDriverError: return "File System Error";
    default: return "Error " + std::to_string(code);
  }
}

}  // namespace rt
