// The typefaces the font dialog offers: the installed fontconfig families and the classic
// names the runtime maps onto installed fonts.
#pragma once

#include <string>
#include <vector>

namespace rt::dialogs {

// Family names in Windows-1252, sorted without regard to case, each once. Families whose names
// Windows-1252 cannot spell are left out. "MS Sans Serif" and "Arial" are always there.
std::vector<std::string> FontFamilies();

}  // namespace rt::dialogs
