// Mnemonic markers of control texts ("&Ok" shows "Ok" with the O underlined).
#include "runtime/text/mnemonic.h"

namespace rt::text {

Mnemonic StripMnemonic(std::string_view text) {
  Mnemonic m;
  m.shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      m.shown += text[i];
      continue;
    }
    if (i + 1 >= text.size()) break;
    if (text[i + 1] == '&') {
      m.shown += '&';
    } else if (m.underline == kNoMnemonic) {
      m.underline = m.shown.size();
      m.shown += text[i + 1];
    } else {
      m.shown += text[i + 1];
    }
    ++i;
  }
  return m;
}

}  // namespace rt::text
