// Arbitrary bytes as the text form of a tip file (`vistip import`): an error names a line of
// the input; every tip read fits its record unchanged; and the tips written out again read back
// as the same tips and the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tip_text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool Same(const vistip::TipText& a, const vistip::TipText& b) {
  return a.procedure == b.procedure && a.control == b.control && a.type == b.type &&
         a.date == b.date && a.readonly == b.readonly && a.archive == b.archive &&
         a.tipstyle == b.tipstyle && a.text == b.text && a.settings == b.settings &&
         a.other == b.other;
}

std::string Clipped(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The tip as the record keeps it: its values without their trailing blanks.
vistip::TipText Stored(const vistip::TipText& tip) {
  vistip::TipBuffer buffer;
  vistip::ToBuffer(tip, buffer);
  return vistip::FromBuffer(buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<vistip::TipText> tips;
  const vistip::TipTextError error = vistip::ReadTipText(input, tips);
  if (error.line != 0) {
    Check(error.line > 0 && !error.message.empty());
    Check(static_cast<size_t>(error.line) <=
          static_cast<size_t>(std::count(input.begin(), input.end(), '\n')) + 1);
    return 0;
  }
  std::vector<vistip::TipText> stored;
  for (const vistip::TipText& tip : tips) {
    vistip::TipText clipped = tip;
    for (std::string* value : {&clipped.procedure, &clipped.control, &clipped.type, &clipped.text,
                               &clipped.settings, &clipped.other})
      *value = Clipped(*value);
    stored.push_back(Stored(tip));
    Check(Same(stored.back(), clipped));
  }
  const std::string text = vistip::WriteTipText(stored);
  std::vector<vistip::TipText> again;
  const vistip::TipTextError reread = vistip::ReadTipText(text, again);
  Check(reread.line == 0 && again.size() == stored.size());
  for (size_t i = 0; i < again.size() && i < stored.size(); ++i) Check(Same(again[i], stored[i]));
  Check(vistip::WriteTipText(again) == text);
  return 0;
}
