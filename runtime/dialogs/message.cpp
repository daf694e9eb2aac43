// MESSAGE: the runtime's message box, a dialog window on the calling thread with its icon, its
// text lines and its buttons, answered by a click, Enter on the focused button, a button's
// letter, Esc or the close control.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/dialogs/dialog_common.h"
#include "runtime/textmetrics.h"
#include "runtime/window.h"

namespace rt {
namespace {

struct ButtonKind {
  int32_t code;
  const char* text;
};

// The runtime's buttons, in the order a message box shows them.
constexpr ButtonKind kButtonKinds[] = {
    {kButtonOk, "&OK"},         {kButtonYes, "&Yes"},     {kButtonNo, "&No"},
    {kButtonAbort, "&Abort"},   {kButtonRetry, "&Retry"}, {kButtonIgnore, "&Ignore"},
    {kButtonCancel, "&Cancel"}, {kButtonHelp, "&Help"},
};

// The image names the painter draws as the standard icons.
const char* IconImage(int32_t icon) {
  switch (icon) {
    case kIconAsterisk:
      return "~asterisk";
    case kIconExclamation:
      return "~exclamation";
    case kIconHand:
      return "~hand";
    case kIconQuestion:
      return "~question";
    default:
      return nullptr;
  }
}

constexpr int32_t kIconField = 1;
constexpr int32_t kFirstButtonField = 2;  // one per kind at most: fields 2..9
constexpr int32_t kFirstLineField = 20;
constexpr int32_t kMarginX = 10, kMarginY = 8;
constexpr int32_t kIconGap = 8;
constexpr int32_t kIconPixels = 32;
constexpr int32_t kButtonWidth = 50, kButtonHeight = 14, kButtonGap = 6;
constexpr int32_t kButtonsGap = 10;  // between the text and the buttons
constexpr int32_t kMinWidth = 110;

class MessageWindow {
 public:
  MessageWindow(const std::vector<std::string_view>& paragraphs, std::string_view caption,
                int32_t icon, int32_t buttons, int32_t default_button)
      : paragraphs_(paragraphs.begin(), paragraphs.end()),
        caption_(caption),
        icon_(IconImage(icon)) {
    for (const ButtonKind& kind : kButtonKinds)
      if (buttons & kind.code) buttons_.push_back(kind);
    if (buttons_.empty()) buttons_.push_back(kButtonKinds[0]);
    for (size_t i = 0; i < buttons_.size(); ++i)
      if (buttons_[i].code == default_button) default_ = i;
  }

  // What leaving the box without a button means: Cancel, else No, else the default button.
  int32_t EscapeAnswer() const {
    for (int32_t code : {kButtonCancel, kButtonNo})
      for (const ButtonKind& kind : buttons_)
        if (kind.code == code) return code;
    return buttons_[default_].code;
  }

  int32_t Run() {
    WindowDesc desc = dialogs::DialogDesc(caption_);
    desc.props.emplace_back(kPropHide, "1");  // until laid out
    desc.alerts.push_back(kEscKey);
    for (const ButtonKind& kind : buttons_)
      dialogs::AlertMnemonic(desc, dialogs::MnemonicKey(kind.text));
    Window w(std::move(desc));
    w.Open();
    Build(w);
    w.Select(ButtonField(default_));
    while (w.Accept()) {
      switch (Event()) {
        case kEventAccepted:
          for (size_t i = 0; i < buttons_.size(); ++i)
            if (Field() == ButtonField(i)) return buttons_[i].code;
          break;
        case kEventAlertKey:
          if (KeyCode() == kEscKey) return EscapeAnswer();
          for (const ButtonKind& kind : buttons_)
            if (dialogs::MnemonicKey(kind.text) == dialogs::WithoutAlt(KeyCode())) return kind.code;
          break;
        case kEventCloseWindow:
          return EscapeAnswer();
      }
    }
    return EscapeAnswer();
  }

 private:
  static int32_t ButtonField(size_t index) {
    return kFirstButtonField + static_cast<int32_t>(index);
  }

  // The lines shown: each paragraph wrapped where it is wider than the screen allows.
  std::vector<std::string> Lines(const Window& w) const {
    const double max_px = CurrentBackend().ScreenWidth() * 5.0 / 8;
    std::vector<std::string> lines;
    for (const std::string& piece : paragraphs_) {
      std::vector<std::string> wrapped = WrapLines(w.font(), piece, max_px);
      if (wrapped.empty()) wrapped.emplace_back();
      std::move(wrapped.begin(), wrapped.end(), std::back_inserter(lines));
    }
    return lines;
  }

  void Build(Window& w) {
    int32_t icon_w = 0, icon_h = 0;
    if (icon_ != nullptr) {
      icon_w = static_cast<int32_t>(std::ceil(kIconPixels / w.PxPerDuX()));
      icon_h = static_cast<int32_t>(std::ceil(kIconPixels / w.PxPerDuY()));
      w.Create(kIconField, kCreateImage);
      w.SetProp(kIconField, kPropIcon, icon_);
      w.SetPosition(kIconField, kMarginX, kMarginY, icon_w, icon_h);
      w.Unhide(kIconField);
    }
    const int32_t text_x = icon_ ? kMarginX + icon_w + kIconGap : kMarginX;
    const std::vector<std::string> lines = Lines(w);
    int32_t line_h = 0, text_w = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int32_t field = kFirstLineField + static_cast<int32_t>(i);
      w.Create(field, kCreateString);
      w.SetProp(field, kPropText, dialogs::Literal(lines[i]));
      line_h = w.GetPropInt(field, kPropHeight);
      text_w = std::max(text_w, w.GetPropInt(field, kPropWidth));
    }
    const int32_t text_h = line_h * static_cast<int32_t>(lines.size());
    const int32_t text_y = kMarginY + std::max(0, (icon_h - text_h) / 2);
    for (size_t i = 0; i < lines.size(); ++i) {
      const int32_t field = kFirstLineField + static_cast<int32_t>(i);
      w.SetPosition(field, text_x, text_y + line_h * static_cast<int32_t>(i));
      w.Unhide(field);
    }
    const int32_t count = static_cast<int32_t>(buttons_.size());
    const int32_t buttons_w = count * kButtonWidth + (count - 1) * kButtonGap;
    const int32_t width =
        std::max({kMinWidth, text_x + text_w + kMarginX, buttons_w + 2 * kMarginX});
    const int32_t buttons_y = std::max(kMarginY + icon_h, text_y + text_h) + kButtonsGap;
    for (int32_t i = 0; i < count; ++i) {
      const int32_t field = ButtonField(static_cast<size_t>(i));
      w.Create(field, kCreateButton);
      w.SetProp(field, kPropText, buttons_[static_cast<size_t>(i)].text);
      w.SetPosition(field, (width - buttons_w) / 2 + i * (kButtonWidth + kButtonGap), buttons_y,
                    kButtonWidth, kButtonHeight);
      w.Unhide(field);
    }
    dialogs::ShowCentred(w, width, buttons_y + kButtonHeight + kMarginY);
  }

  std::vector<std::string> paragraphs_;
  std::string caption_;
  const char* icon_;
  std::vector<ButtonKind> buttons_;
  size_t default_ = 0;
};

MessageHandler& Handler() {
  static auto* handler = new MessageHandler;  // never destroyed: threads may outlive statics
  return *handler;
}

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  std::swap(Handler(), handler);
  return handler;
}

int32_t dialogs::MessageBox(const std::vector<std::string_view>& paragraphs,
                            std::string_view caption, int32_t icon, int32_t buttons,
                            int32_t default_button) {
  MessageWindow box(paragraphs, caption, icon, buttons, default_button);
  if (Handler()) {
    std::string text;
    for (size_t i = 0; i < paragraphs.size(); ++i)
      text += (i ? "\n" : "") + std::string(paragraphs[i]);
    Handler()(text, caption);
    return box.EscapeAnswer();
  }
  return box.Run();
}

int32_t Message(std::string_view text, std::string_view caption, int32_t icon, int32_t buttons,
                int32_t default_button) {
  return dialogs::MessageBox(dialogs::SplitBars(text), caption, icon, buttons, default_button);
}

}  // namespace rt
