// Whole tip files to and from their text form (tools/tip_text.h): shared by `vistip export` /
// `vistip import` and the demo's sample-tip builder.
#pragma once

#include <string>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {

struct TipFileResult {
  bool ok = false;
  std::string error;  // why it failed: the driver's message or the text's line
  size_t added = 0;
  std::vector<std::string> duplicates;  // "procedure / control / type" of tips added twice
};

// Reads every record of a tip file in record order.
TipFileResult ExportTips(const std::string& tip_file, std::vector<TipText>& tips);
// Adds the tips to a tip file, creating it when it does not exist.
TipFileResult ImportTips(const std::string& tip_file, const std::vector<TipText>& tips);

}  // namespace vistip
