// The runtime's error state: ERRORCODE()/ERROR() after queue and file operations, and
// FILEERROR()/FILEERRORCODE() for errors the file driver reports in its own words (code 90).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

// Error codes the runtime reports. Numbers are the runtime's own.
enum ErrorCodes : int32_t {
  kNoError = 0,
  kFileNotFound = 2,     // the file does not exist
  kPathNotFound = 3,     // a directory of the path does not exist
  kAccessDenied = 5,     // shared or permission denied
  kNoFileHandles = 4,
  kInvalidFile = 13,     // a name that cannot be a file
  kEntryNotFound = 30,   // queue GET found nothing
  kFileLocked = 32,      // another writer holds the file locked
  kNoMoreRecords = 33,   // NEXT past the last record
  kRecordNotFound = 35,  // GET by key found nothing
  kFileNotOpen = 37,
  kDuplicateKey = 40,    // a write would give a key without duplicates a second equal entry
  kKeyInvalid = 46,      // a key no longer matches the records
  kLayoutMismatch = 47,  // stored record layout differs from the declaration
  kAlreadyOpen = 52,
  kDriverError = 90,     // driver error: see FileError()/FileErrorCode()
};

// The error state is per runtime thread: each thread sees the result of its own last operation.
int32_t ErrorCode();
std::string Error();  // the message for ErrorCode()
std::string FileError();
std::string FileErrorCode();

void SetError(int32_t code);
void SetFileError(std::string_view code, std::string_view message);  // also sets code 90
void ClearError();

// The runtime's message text for an error code.
std::string ErrorMessage(int32_t code);

}  // namespace rt
#pragma GCC visibility pop
