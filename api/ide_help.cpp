// vtIdeHelp: the request split into file part and topic, the template folder from the INI
// file, the file part kept inside that folder, and the call of vtCALLHELPTIP with the control
// type "IDE".
#include "api/ide_help.h"

#include <string>

#include "api/call_help_tip.h"
#include "platform/windows_path.h"
#include "runtime/errors.h"
#include "runtime/process.h"
#include "runtime/strings.h"
#include "tipstore/standard_warning.h"

namespace vistip {
namespace {

constexpr int32_t kCannotOpenWarning = 30;  // "File (...) could not be opened."

}  // namespace

IdeRequest SplitIdeRequest(std::string_view request) {
  IdeRequest split;
  const size_t comma = request.find(',');
  if (comma == std::string_view::npos) {
    split.file_part = kIdeDefaultTipFile;
    split.topic = request;
    return split;
  }
  split.file_part = request.substr(0, comma);
  const size_t topic_start = split.file_part.clip().size() + 1;  // position len + 2, from 0
  split.topic = topic_start < request.size() ? request.substr(topic_start) : std::string_view();
  return split;
}

bool StaysInTemplateFolder(std::string_view file_part) {
  return file_part.find_first_of("/\\") == std::string_view::npos &&
         file_part.find("..") == std::string_view::npos;
}

void vtIdeHelp(std::string_view request) {
  const rt::String<255> folder =
      rt::Clip(rt::GetIni(kIdeIniSection, kIdeIniEntry)) + std::string(kIdeTemplateFolder);
  const IdeRequest split = SplitIdeRequest(request);
  const rt::String<255> tip_file = std::string(folder.clip()) + std::string(split.file_part.view());
  if (!StaysInTemplateFolder(split.file_part.view())) {
    // Refused as a file that cannot be opened; nothing outside the folder is touched.
    rt::SetError(rt::kInvalidFile);
    StandardWarning(kCannotOpenWarning, tip_file.clip());
    return;
  }
  vtCALLHELPTIP(LocalPathFromWindows(tip_file.clip()), "", split.topic.view(), kIdeControlType);
}

}  // namespace vistip
