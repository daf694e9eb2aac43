// vtIdeHelp: the development environment's entry. Its request text names a tip file of the
// environment's template folder and a topic; the tip is shown on the caller's thread.
// Thread-safety: call from a runtime thread.
#pragma once

#include <string_view>

#include "runtime/cstring.h"

namespace vistip {

inline constexpr std::string_view kIdeDefaultTipFile = "Warden.Vth";
inline constexpr std::string_view kIdeIniSection = "Clarion 4";
inline constexpr std::string_view kIdeIniEntry = "Root";
inline constexpr std::string_view kIdeTemplateFolder = "Template\\";

struct IdeRequest {
  rt::String<255> file_part;
  rt::String<40> topic;
};

// "file,topic": the file part is everything before the first comma, and the topic starts at
// position (length of the file part without trailing blanks) + 2, so a blank before the comma
// leaves the comma in the topic. Without a comma: kIdeDefaultTipFile and the whole request.
IdeRequest SplitIdeRequest(std::string_view request);

// Whether the file part names a file of the template folder itself: no "/" or "\\", no "..".
bool StaysInTemplateFolder(std::string_view file_part);

// Shows the topic's tip from <Root>Template\<file part>, the Root entry of the default INI
// file's section "Clarion 4" (no separator is added: the root ends with a backslash). The
// Windows-style name is made local (platform/windows_path.h). Returns when the tip window has
// closed. A file part that would leave the template folder is refused with the warning for a
// file that cannot be opened, and no tip window opens.
void vtIdeHelp(std::string_view request);

}  // namespace vistip
