// Pieces the runtime's dialogs share: window description and placement, "|" and "&" texts, rows.
#include "runtime/dialogs/dialog_common.h"

#include <algorithm>

#include "runtime/backend.h"
#include "runtime/strings.h"
#include "runtime/text/mnemonic.h"

namespace rt::dialogs {

std::vector<std::string_view> SplitBars(std::string_view text) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find('|', start);
    pieces.push_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) return pieces;
    start = bar + 1;
  }
}

std::string Literal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

int32_t MnemonicKey(std::string_view text) {
  const text::Mnemonic m = text::StripMnemonic(text);
  if (m.underline == text::kNoMnemonic) return 0;
  return static_cast<unsigned char>(UpperChar(m.shown[m.underline]));
}

void AlertMnemonic(WindowDesc& desc, int32_t key) {
  if (key == 0) return;
  desc.alerts.push_back(key);
  desc.alerts.push_back(kAlt + key);
}

int32_t WithoutAlt(int32_t keycode) {
  return keycode & ~kAlt;
}

WindowDesc DialogDesc(std::string_view caption) {
  WindowDesc desc;
  desc.caption = std::string(caption);
  desc.props = {{kPropSystemMenu, "1"}};
  return desc;
}

void ShowCentred(Window& w, int32_t width, int32_t height) {
  const Backend& screen = CurrentBackend();
  const int32_t x = static_cast<int32_t>(screen.ScreenWidth() / w.PxPerDuX() - width) / 2;
  const int32_t y = static_cast<int32_t>(screen.ScreenHeight() / w.PxPerDuY() - height) / 2;
  w.SetPosition(0, std::max(x, 0), std::max(y, 0), width, height);
  w.SetPropInt(0, kPropHide, 0);
}

std::string RowList::Cell(size_t row, size_t column) const {
  if (column != 1 || row < 1 || row > rows_.size()) return {};
  return rows_[row - 1];
}

int32_t RowList::Find(std::string_view text) const {
  auto it = std::find(rows_.begin(), rows_.end(), text);
  return it == rows_.end() ? 0 : static_cast<int32_t>(it - rows_.begin()) + 1;
}

}  // namespace rt::dialogs
