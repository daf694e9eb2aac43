// Whole tip files to and from their text form (tools/tip_text.h): shared by `vistip export` /
// `vistip import` and the demo's sample-tip builder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {

struct TipFileResult {
  bool ok = false;
  std::string error;  // why it failed: the driver's message or the text's line
  int32_t code = 0;   // the driver's error code when opening the file failed
  size_t added = 0;
  std::vector<std::string> duplicates;  // "procedure / control / type" of tips added twice
};

// "procedure / control / type" of a tip, as the tools name it in their messages (UTF-8).
std::string TipTitle(const TipText& t);

// Opens VISTIP shared on an existing tip file of the current layout, for a tool that reads it
// (the caller closes it). The error names the file, and for an old layout the way to convert it.
TipFileResult OpenExistingTipFile(const std::string& tip_file);
// Reads every record of a tip file in record order.
TipFileResult ExportTips(const std::string& tip_file, std::vector<TipText>& tips);
// Adds the tips to a tip file, creating it when it does not exist.
TipFileResult ImportTips(const std::string& tip_file, const std::vector<TipText>& tips);

}  // namespace vistip
