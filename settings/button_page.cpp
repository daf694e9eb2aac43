// The button page of the settings dialog: the tooltip, the call kind (EXE, MSG, HLP) and the
// fields of each kind, of which only the chosen kind's show; switching keeps what was typed.
#include "settings/upd_control_setting.h"
#include "tipwindow/queues.h"

namespace vistip::settings {
namespace {

constexpr const char* kExeOption = "EXE-Call an Executable";
constexpr const char* kMsgOption = "MSG-Post a Message";
constexpr const char* kHlpOption = "HLP-Call a Help Topic";
constexpr size_t kCallLength = 60;  // the length of a setting

}  // namespace

void UpdControlSetting::ButtonControl() {
  TooltipRow();
  CALLOPTION = CreateField(rt::kCreateOption, 5, LOC.YPOS, 100, 45, "Call Type", kCallKind);
  Window.SetPropInt(CALLOPTION, rt::kPropBoxed, 1);
  Window.Unhide(CALLOPTION);
  const char* options[] = {kExeOption, kMsgOption, kHlpOption};
  for (int i = 0; i < 3; ++i)
    Window.Unhide(CreateField(rt::kCreateRadio, 10, LOC.YPOS + 10 * (i + 1), rt::kDefault,
                              rt::kDefault, options[i], 0, CALLOPTION));
  LoadCall();
  EXEFIELD =
      CreateField(rt::kCreateEntry, 115, LOC.YPOS + 5, rt::kDefault, 10, "@s30", kExeProgram);
  if (ENTRYFIELD[kCallKind] == kExeOption) Window.Unhide(EXEFIELD);
  LOC.YPOS += 45;
  const int32_t message_y = LOC.YPOS, thread_y = LOC.YPOS + 12;
  const auto row = [this](const char* prompt, int32_t y, int32_t slot, const char* option) {
    const int32_t first = CreateField(rt::kCreatePrompt, 10, y, rt::kDefault, rt::kDefault, prompt);
    const int32_t entry = CreateField(rt::kCreateEntry, 115, y, 100, 10, "@s80", slot);
    if (ENTRYFIELD[kCallKind] == option) Window.Unhide(first, entry);
    return entry;
  };
  MESSAGEFIELD = row("&Message:", message_y, kMessage, kMsgOption);
  THREADFIELD = row("&Thread:", thread_y, kThread, kMsgOption);
  HELPFILEFIELD = row("Help &File:", message_y, kHelpFile, kHlpOption);
  HELPTOPICFIELD = row("Help &Topic:", thread_y, kHelpTopic, kHlpOption);
  Window.Display();
}

// Splits the "CALL" setting into the page's slots; an unknown kind keeps its three letters so
// that no option is chosen and it is written back unchanged.
void UpdControlSetting::LoadCall() {
  const std::optional<SetRecord> row = ReadSetting(kPropCallName);
  if (!row) {
    ENTRYFIELD[kCallKind] = kExeOption;
    ENTRYFIELD[kExeProgram] = "";
    return;
  }
  const rt::String<60> call = row->SETTING;
  const std::string_view kind = call.view().substr(0, 3);
  ENTRYFIELD[kCallKind] = kind;
  if (kind == "EXE") {
    ENTRYFIELD[kCallKind] = kExeOption;
    ENTRYFIELD[kExeProgram] = call.view().substr(3, 56);  // characters 4 to 59
  } else if (kind == "MSG") {
    ENTRYFIELD[kCallKind] = kMsgOption;
    size_t i = 4;
    std::string message, thread;
    while (i <= kCallLength && message.size() < 10 && call.at(i) != ',') message += call.at(i++);
    ++i;  // the separator
    while (i <= kCallLength && thread.size() < 10 && call.at(i) != ' ') thread += call.at(i++);
    ENTRYFIELD[kMessage] = message;
    ENTRYFIELD[kThread] = thread;
  } else if (kind == "HLP") {
    ENTRYFIELD[kCallKind] = kHlpOption;
    size_t i = 4;
    std::string file, topic;
    while (i <= kCallLength && call.at(i) != ',') file += call.at(i++);
    ++i;
    while (i <= kCallLength && call.at(i) != ' ') topic += call.at(i++);
    ENTRYFIELD[kHelpFile] = file;
    ENTRYFIELD[kHelpTopic] = topic;
  }
}

// The option or one of its radio buttons was chosen: show the chosen kind's fields only.
void UpdControlSetting::TakeCallKind() {
  if (rt::Event() != rt::kEventAccepted || CALLOPTION == 0) return;
  if (rt::Field() < CALLOPTION || rt::Field() > CALLOPTION + 3) return;
  const std::string_view kind = ENTRYFIELD[kCallKind].view().substr(0, 3);
  const int32_t pairs[] = {MESSAGEFIELD, THREADFIELD, HELPFILEFIELD, HELPTOPICFIELD};
  const auto show_pairs = [&](bool message, bool help) {
    for (int i = 0; i < 4; ++i) {
      if (i < 2 ? message : help)
        Window.Unhide(pairs[i] - 1, pairs[i]);
      else
        Window.Hide(pairs[i] - 1, pairs[i]);
    }
  };
  if (kind == "EXE") {
    show_pairs(false, false);
    Window.Unhide(EXEFIELD);
  } else if (kind == "MSG") {
    Window.Hide(EXEFIELD);
    show_pairs(true, false);
  } else if (kind == "HLP") {
    Window.Hide(EXEFIELD);
    show_pairs(false, true);
  }
}

}  // namespace vistip::settings
