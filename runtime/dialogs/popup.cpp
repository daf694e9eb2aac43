// POPUP: the runtime's popup menu, a frameless window on the calling thread with a modal loop of
// its own, chosen from with the mouse or the keyboard.
#include <algorithm>
#include <cmath>
#include <optional>

#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/dialogs/dialog_common.h"
#include "runtime/strings.h"
#include "runtime/window.h"

namespace rt {
namespace {

struct MenuEntry {
  std::string text;  // as shown, "&" marker included
  bool separator = false;
  bool enabled = true;
  int32_t number = 0;  // items count from 1; separators have 0
  int32_t top = 0;     // dialog units from the menu's top
};

std::vector<MenuEntry> ParseMenu(std::string_view items) {
  std::vector<MenuEntry> entries;
  int32_t number = 0;
  for (std::string_view piece : dialogs::SplitBars(items)) {
    if (piece.empty()) continue;
    MenuEntry e;
    if (Clip(Left(piece)) == "-") {
      e.separator = true;
    } else {
      e.enabled = piece.front() != '~';
      e.text = std::string(e.enabled ? piece : piece.substr(1));
      e.number = ++number;
    }
    entries.push_back(std::move(e));
  }
  // Only separators: nothing to choose, nothing to show.
  if (number == 0) entries.clear();
  return entries;
}

constexpr int32_t kHighlightField = 1;
constexpr int32_t kFirstEntryField = 10;
constexpr int32_t kItemHeight = 11;
constexpr int32_t kSeparatorHeight = 6;
constexpr int32_t kTextLeft = 12;  // room on the left for a check mark, as menus keep
constexpr int32_t kTextRight = 12;
constexpr int32_t kBorder = 2;
constexpr int32_t kMinWidth = 40;
constexpr int32_t kHighlightColor = 0x800000;  // navy: the classic selected-item colour
constexpr int32_t kHighlightTextColor = 0xFFFFFF;
constexpr int32_t kMenuColor = 0xC0C0C0;

class PopupMenu {
 public:
  explicit PopupMenu(std::vector<MenuEntry> entries) : entries_(std::move(entries)) {}

  int32_t Run(int32_t x, int32_t y) {
    Window* owner = CurrentWindow();
    Window w(Describe());
    w.Open();
    window_ = &w;
    Build();
    Place(owner, x, y);
    while (w.Accept()) {
      switch (Event()) {
        case kEventAlertKey:
          if (std::optional<int32_t> chosen = OnKey(KeyCode())) return *chosen;
          break;
        case kEventLoseFocus:
        case kEventCloseWindow:
          return 0;
      }
    }
    return 0;
  }

 private:
  WindowDesc Describe() const {
    WindowDesc desc;
    desc.popup = true;
    desc.color = kMenuColor;
    desc.props = {{kPropHide, "1"}};
    desc.alerts = {kMouseLeft, kMouseRight, kUpKey,    kDownKey,
                   kHomeKey,   kEndKey,     kEnterKey, kEscKey};
    for (const MenuEntry& e : entries_)
      if (e.enabled) dialogs::AlertMnemonic(desc, dialogs::MnemonicKey(e.text));
    return desc;
  }

  static int32_t FieldOf(size_t index) { return kFirstEntryField + static_cast<int32_t>(index); }

  void Build() {
    Window& w = *window_;
    w.Create(kHighlightField, kCreateBox);
    w.SetPropInt(kHighlightField, kPropFill, kHighlightColor);
    w.SetPropInt(kHighlightField, kPropColor, kHighlightColor);
    int32_t top = kBorder, text_width = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
      MenuEntry& e = entries_[i];
      e.top = top;
      const int32_t field = FieldOf(i);
      if (e.separator) {
        w.Create(field, kCreateLine);
        top += kSeparatorHeight;
      } else {
        w.Create(field, kCreateString);
        w.SetProp(field, kPropText, e.text);
        w.SetPropInt(field, kPropDisable, e.enabled ? 0 : 1);
        text_width = std::max(text_width, w.GetPropInt(field, kPropWidth));
        top += kItemHeight;
      }
      w.Unhide(field);
    }
    width_ = std::max(kMinWidth, kTextLeft + text_width + kTextRight);
    height_ = top + kBorder;
    for (size_t i = 0; i < entries_.size(); ++i) {
      const MenuEntry& e = entries_[i];
      if (e.separator) {
        w.SetPosition(FieldOf(i), kBorder + 1, e.top + kSeparatorHeight / 2,
                      width_ - 2 * kBorder - 2, 0);
      } else {
        const int32_t text_height = w.GetPropInt(FieldOf(i), kPropHeight);
        w.SetPosition(FieldOf(i), kTextLeft, e.top + (kItemHeight - text_height) / 2);
      }
    }
  }

  // Converts the position to screen units of the menu and keeps the whole menu on the screen.
  void Place(const Window* owner, int32_t x, int32_t y) {
    Window& w = *window_;
    double px = 0, py = 0;  // on the screen, in pixels
    if (owner != nullptr) {
      px = (owner->x() + (x == kAtMouse ? owner->mouse_x : x)) * owner->PxPerDuX();
      py = (owner->y() + (y == kAtMouse ? owner->mouse_y : y)) * owner->PxPerDuY();
    } else {
      px = (x == kAtMouse ? 0 : x) * w.PxPerDuX();
      py = (y == kAtMouse ? 0 : y) * w.PxPerDuY();
    }
    const Backend& screen = CurrentBackend();
    const int32_t screen_w = static_cast<int32_t>(screen.ScreenWidth() / w.PxPerDuX());
    const int32_t screen_h = static_cast<int32_t>(screen.ScreenHeight() / w.PxPerDuY());
    const auto to_du = [](double pixels, double per_du) {
      return static_cast<int32_t>(std::clamp(std::lround(pixels / per_du), -(1L << 30), 1L << 30));
    };
    const int32_t left = std::clamp(to_du(px, w.PxPerDuX()), 0, std::max(screen_w - width_, 0));
    const int32_t top = std::clamp(to_du(py, w.PxPerDuY()), 0, std::max(screen_h - height_, 0));
    w.SetPosition(0, left, top, width_, height_);
    w.SetPropInt(0, kPropHide, 0);
  }

  // The answer to an alerted key or mouse button, or nothing while the menu stays open.
  std::optional<int32_t> OnKey(int32_t keycode) {
    switch (keycode) {
      case kMouseLeft:
      case kMouseRight:
        return OnClick(MouseX(), MouseY());
      case kEscKey:
        return 0;
      case kEnterKey:
        if (highlighted_ >= 0) return entries_[highlighted_].number;
        return std::nullopt;
      case kUpKey:
        MoveHighlight(-1, highlighted_);
        return std::nullopt;
      case kDownKey:
        MoveHighlight(+1, highlighted_);
        return std::nullopt;
      case kHomeKey:
        MoveHighlight(+1, -1);
        return std::nullopt;
      case kEndKey:
        MoveHighlight(-1, static_cast<int>(entries_.size()));
        return std::nullopt;
    }
    const int32_t key = dialogs::WithoutAlt(keycode);
    for (const MenuEntry& e : entries_)
      if (e.enabled && !e.separator && dialogs::MnemonicKey(e.text) == key) return e.number;
    return std::nullopt;
  }

  // A click on an enabled item chooses it; outside the menu it dismisses the menu; on a
  // separator, a disabled item or the border nothing happens.
  std::optional<int32_t> OnClick(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    for (const MenuEntry& e : entries_) {
      const int32_t bottom = e.top + (e.separator ? kSeparatorHeight : kItemHeight);
      if (y >= e.top && y < bottom) {
        if (e.separator || !e.enabled) return std::nullopt;
        return e.number;
      }
    }
    return std::nullopt;
  }

  // Moves the highlight from `from` in direction `step` to the next enabled item, wrapping
  // around at either end.
  void MoveHighlight(int step, int from) {
    const int count = static_cast<int>(entries_.size());
    int i = from < 0 && step < 0 ? count : from;
    for (int tries = 0; tries < count; ++tries) {
      i = ((i + step) % count + count) % count;
      if (!entries_[i].separator && entries_[i].enabled) return Highlight(i);
    }
  }

  void Highlight(int index) {
    Window& w = *window_;
    if (highlighted_ >= 0) w.SetPropInt(FieldOf(highlighted_), kPropFontColor, kColorNone);
    highlighted_ = index;
    w.SetPosition(kHighlightField, kBorder, entries_[index].top, width_ - 2 * kBorder, kItemHeight);
    w.SetPropInt(FieldOf(index), kPropFontColor, kHighlightTextColor);
    w.Unhide(kHighlightField);
  }

  std::vector<MenuEntry> entries_;
  Window* window_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  int highlighted_ = -1;
};

}  // namespace

int32_t Popup(std::string_view items, int32_t x, int32_t y) {
  std::vector<MenuEntry> entries = ParseMenu(items);
  if (entries.empty()) return 0;
  return PopupMenu(std::move(entries)).Run(x, y);
}

}  // namespace rt
