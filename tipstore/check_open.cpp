// CheckOpen and its create and key-rebuild steps.
#include "tipstore/check_open.h"

#include "runtime/errors.h"
#include "runtime/process.h"
#include "tipstore/standard_warning.h"

namespace vistip {
namespace {

// A missing file: created empty with its keys, then opened; either failure ends the program.
void CreateFile(rt::File& file, uint8_t mode) {
  if (file.Create() != rt::kNoError) StandardWarning(4, file.Name());
  if (file.Open(mode) != rt::kNoError) StandardWarning(5, file.Name());
}

// A key that no longer matches the records: rebuilt when the user agrees (No ends the
// program), then the file is opened again. Returns the code of that open.
int32_t RebuildKeys(rt::File& file, uint8_t mode) {
  StandardWarning(2, file.Name());
  if (file.Build() != rt::kNoError) StandardWarning(3, file.Name());
  return file.Open(mode);
}

}  // namespace

void CheckOpen(rt::File& file, uint8_t create, uint8_t mode) {
  int32_t code = file.Open(mode);
  if (code == rt::kFileLocked) {
    file.Send("Recover=10");  // the next open waits for the other writer
    code = file.Open(mode);
  }
  switch (code) {
    case rt::kNoError:
    case rt::kAlreadyOpen:
      return;
    case rt::kFileNotFound:
      if (create != 0) {
        CreateFile(file, mode);
        return;
      }
      break;
    case rt::kLayoutMismatch:
      StandardWarning(1, file.Name());
      break;
    case rt::kKeyInvalid:
      code = RebuildKeys(file, mode);
      break;
    default:
      break;
  }
  if (code != rt::kNoError && StandardWarning(30, file.Name()) != 0) rt::Halt(0, "Disk Error");
}

}  // namespace vistip
