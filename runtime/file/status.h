// The driver's internal result value, and its translation into the runtime's error state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;

namespace rt::file {

// An operation's outcome. For code 90 `source_code` and `message` say who failed and why.
struct Status {
  int32_t code = 0;
  std::string source_code;
  std::string message;

  bool ok() const { return code == 0; }
};

inline Status Ok() {
  return {};
}
inline Status Code(int32_t code) {
  return {code, {}, {}};
}
Status DriverError(std::string message);             // 90, code "driver"
Status SystemError(int err, std::string_view what);  // errno mapped to the runtime's codes
// The last error of `db` for result `rc`: busy → 32, read-only → 5, else 90 with SQLite's
// message and code. `corrupt_code` replaces 90 for damaged pages (46 where a key was read).
Status SqliteError(sqlite3* db, int rc, int32_t corrupt_code = 90);

// Sets the thread's runtime error state from `status` and returns its code.
int32_t Report(const Status& status);

}  // namespace rt::file
