// StandardWarning: the numbered warnings of the tip store, shown as modal message boxes, and
// the error text they quote. Call from a runtime thread (the message box runs its loop there).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistip {

// The calling thread's last error as the warnings quote it: the runtime's message and code,
// "Access Denied (5)", or for a driver error (90) the driver's own message and code. At most
// 150 characters, without trailing blanks.
std::string ErrorText();

// Shows warning `number` with `text` (trailing blanks removed) and acts on the answer. Warnings
// 1, 3, 4 and 5 end the program after OK; warning 2 ends it on No and returns 2 otherwise;
// 30 returns the button pressed; 35 and 36 return after OK. Any other number shows nothing and
// returns 0. `text2` is accepted for the three-argument form and not used by any warning.
int32_t StandardWarning(int32_t number, std::string_view text = "", std::string_view text2 = "");

}  // namespace vistip
