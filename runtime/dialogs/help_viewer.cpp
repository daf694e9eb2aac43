// HELP: the runtime's help viewer, a window on a runtime thread of its own that shows the topics
// of a help file with its contents, its related topics and a history to go back through.
#include <algorithm>
#include <vector>

#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/dialogs/dialog_common.h"
#include "runtime/dialogs/help_file.h"
#include "runtime/input.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

// Events the help entry points post to the viewer's thread.
constexpr int32_t kEventShowRequest = 0x7F10;  // show the requested topic, come to the front
constexpr int32_t kEventToFront = 0x7F11;

// The viewer's thread and what was asked of it last; used under the runtime lock.
struct ViewerState {
  int32_t thread = 0;  // 0: no viewer
  std::string file;
  std::string topic;
};

ViewerState& State() {
  static ViewerState* state = new ViewerState;  // never destroyed: the viewer may outlive statics
  return *state;
}

enum FieldNumber : int32_t {
  kContentsPrompt = 1,
  kContentsList,
  kTitle,
  kText,
  kRelatedPrompt,
  kRelatedList,
  kBackButton,
  kCloseButton,
};

// Keys that would change the text of the text control, which the viewer only shows. Typing
// finds no room, since the control's variable is exactly as long as its text, unless text is
// selected first: so selecting all is refused too.
constexpr int32_t kEditKeys[] = {kBackspaceKey, kDeleteKey,   kEnterKey,
                                 CtrlKey('A'),  CtrlKey('X'), CtrlKey('V')};

std::string BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

class HelpViewer {
 public:
  void Run() {
    Window w(Describe());
    window_ = &w;
    w.Open();
    w.SetFrom(kRelatedList, &related_);
    for (size_t i = 0; i < std::size(kEditKeys); ++i)
      w.SetPropInt(kText, kPropAlert, kEditKeys[i], static_cast<int32_t>(i) + 1);
    ShowRequest();
    while (w.Accept()) {
      if (!Handle()) return;
      KeepText();
    }
  }

 private:
  static WindowDesc Describe() {
    WindowDesc d = dialogs::DialogDesc("Help");
    d.w = 320;
    d.h = 200;
    d.alerts = {kEscKey};
    d.controls = {
        {.field = kContentsPrompt, .type = kCreatePrompt, .x = 5, .y = 5, .text = "&Contents:"},
        {.field = kContentsList, .type = kCreateList, .x = 5, .y = 15, .w = 100, .h = 160},
        {.field = kTitle,
         .type = kCreateString,
         .x = 112,
         .y = 4,
         .props = {{kPropFontSize, "10"}, {kPropFontStyle, "700"}}},
        {.field = kText, .type = kCreateText, .x = 112, .y = 17, .w = 203, .h = 122},
        {.field = kRelatedPrompt,
         .type = kCreatePrompt,
         .x = 112,
         .y = 143,
         .text = "&Related topics:"},
        {.field = kRelatedList, .type = kCreateList, .x = 112, .y = 153, .w = 203, .h = 42},
        {.field = kBackButton,
         .type = kCreateButton,
         .x = 5,
         .y = 181,
         .w = 47,
         .h = 14,
         .text = "&Back"},
        {.field = kCloseButton,
         .type = kCreateButton,
         .x = 58,
         .y = 181,
         .w = 47,
         .h = 14,
         .text = "&Close"},
    };
    return d;
  }

  // One event; false when the viewer is to close.
  bool Handle() {
    switch (Event()) {
      case kEventShowRequest:
        ShowRequest();
        return true;
      case kEventToFront:
        ToFront();
        return true;
      case kEventNewSelection:
        if (Field() == kContentsList) ShowTopic(SelectedRow(kContentsList) - 1, true);
        if (Field() == kRelatedList)
          FollowLink(related_.Cell(static_cast<size_t>(SelectedRow(kRelatedList)), 1));
        return true;
      case kEventAccepted:
        if (Field() == kBackButton) Back();
        return Field() != kCloseButton;
      case kEventAlertKey:
        return KeyCode() != kEscKey;  // the text control's edit keys come here too
      case kEventCloseWindow:
        return false;
    }
    return true;
  }

  // Brings the viewer in front of the other windows on the screen, with the focus.
  void ToFront() {
    CurrentBackend().Raise(*window_);
    input::WindowFocus(*window_, true);
  }

  int32_t SelectedRow(int32_t list) const { return window_->GetPropInt(list, kPropSelStart); }

  // Reads the file that Help named last (a blank name keeps the one shown) and shows the topic.
  void ShowRequest() {
    const ViewerState& request = State();
    if (!request.file.empty() || file_.empty()) Load(request.file);
    ToFront();
    if (!loaded_) return;
    const int topic = FindHelpTopic(help_, request.topic);
    ShowTopic(topic >= 0 ? topic : ContentsTopic(help_), true);
  }

  void Load(const std::string& file) {
    file_ = file;
    history_.clear();
    current_ = -1;
    help_ = HelpFile{};
    loaded_ = LoadHelpFile(LocateHelpFile(file), help_);
    std::vector<std::string> titles;
    for (const HelpTopic& t : help_.topics) titles.push_back(t.title);
    contents_.Assign(std::move(titles));
    window_->SetFrom(kContentsList, &contents_);
    window_->SetPropInt(kContentsList, kPropVScrollPos, 0);
    window_->SetProp(0, kPropText, "Help - " + BaseName(file));
    if (!loaded_) {
      ShowText(BaseName(file), "The help file " + file + " could not be opened.", {});
    } else if (help_.topics.empty()) {
      loaded_ = false;
      ShowText(BaseName(file), "The help file " + file + " has no topics.", {});
    }
  }

  void ShowTopic(int index, bool remember) {
    if (index < 0 || static_cast<size_t>(index) >= help_.topics.size()) return;
    if (remember && current_ >= 0 && current_ != index) history_.push_back(current_);
    current_ = index;
    const HelpTopic& topic = help_.topics[static_cast<size_t>(index)];
    ShowText(topic.title, topic.text, topic.links);
    window_->SetPropInt(kContentsList, kPropSelStart, index + 1);
  }

  void FollowLink(const std::string& title) {
    const int topic = FindHelpTopic(help_, title);
    ShowTopic(topic >= 0 ? topic : ContentsTopic(help_), true);
  }

  void Back() {
    if (history_.empty()) return;
    const int previous = history_.back();
    history_.pop_back();
    ShowTopic(previous, false);
  }

  void ShowText(const std::string& title, const std::string& text,
                const std::vector<std::string>& links) {
    Window& w = *window_;
    w.SetProp(kTitle, kPropText, dialogs::Literal(title));
    shown_ = text;
    text_.assign(text.begin(), text.end());
    if (text_.empty()) text_.push_back(' ');
    w.Bind(kText, Binding{text_.data(), text_.size()});
    w.SetPropInt(kText, kPropDisable, text.empty() ? 1 : 0);  // a blank variable has room
    w.SetPropInt(kText, kPropVScrollPos, 0);
    w.SetPropInt(kText, kPropSelStart, 1);
    w.SetPropInt(kText, kPropSelEnd, 1);
    related_.Assign(links);
    w.SetFrom(kRelatedList, &related_);
    w.SetPropInt(kRelatedList, kPropSelStart, 0);
    w.SetPropInt(kRelatedList, kPropVScrollPos, 0);
    w.SetPropInt(kBackButton, kPropDisable, history_.empty() ? 1 : 0);
  }

  // Undoes whatever editing reached the text control: the viewer's text is read-only.
  void KeepText() {
    Binding use{text_.data(), text_.size()};
    if (use.Get() == shown_) return;
    use.Set(shown_);
    window_->Display(kText);
  }

  Window* window_ = nullptr;
  HelpFile help_;
  std::string file_;
  bool loaded_ = false;
  int current_ = -1;
  std::vector<int> history_;
  dialogs::RowList contents_, related_;
  std::vector<char> text_;  // the text control's variable
  std::string shown_;
};

void ViewerThread() {
  HelpViewer().Run();
  State().thread = 0;
}

}  // namespace

void Help(std::string_view file, std::string_view topic) {
  ViewerState& state = State();
  if (!file.empty() || state.thread == 0) state.file = std::string(file);
  state.topic = std::string(topic);
  if (state.thread != 0 && Post(kEventShowRequest, 0, state.thread)) return;
  state.thread = Start(ViewerThread);
}

void Help() {
  const ViewerState& state = State();
  if (state.thread != 0) Post(kEventToFront, 0, state.thread);
}

}  // namespace rt
