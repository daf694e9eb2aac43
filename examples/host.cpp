// A minimal host program in C++: a small form with context help armed on it. A right-click on a
// control offers "What's This"; choosing it shows that control's tip from the tip file.
// Usage: example_host [TIPFILE]   (default example-tips.tps, built from tips.vtx)
#include <vistip32.h>
#include <vtrt/codes.h>
#include <vtrt/dialogs.h>
#include <vtrt/thread.h>
#include <vtrt/window.h>

#include <cstring>
#include <string>

namespace {

enum Field : int32_t { kNamePrompt = 1, kName, kGreet, kClose };

rt::ControlDesc Control(int32_t field, int32_t type, int32_t x, int32_t y, int32_t w, int32_t h,
                        const char* text) {
  rt::ControlDesc c;
  c.field = field;
  c.type = type;
  c.x = x;
  c.y = y;
  c.w = w;
  c.h = h;
  c.text = text;
  return c;
}

// The tip's control name and type for each field; the prompt shares its entry's tip.
const char* TipControl(int32_t field) {
  return field == kGreet ? "Greet" : field == kClose ? "Close" : "Name";
}
const char* TipType(int32_t field) {
  return field >= kGreet ? "BUTTON" : "ENTRY";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string tip_file = argc > 1 ? argv[1] : "example-tips.tps";
  rt::RuntimeThread runtime;  // this thread becomes runtime thread 1 and owns the window

  char name[31];
  std::memset(name, ' ', sizeof name);
  rt::WindowDesc desc;
  desc.caption = "Example Host";
  desc.w = 200;
  desc.h = 60;
  desc.controls = {
      Control(kNamePrompt, rt::kCreatePrompt, 8, 10, rt::kDefault, rt::kDefault, "&Name:"),
      Control(kName, rt::kCreateEntry, 40, 9, 150, 12, ""),
      Control(kGreet, rt::kCreateButton, 96, 36, 44, 14, "&Greet"),
      Control(kClose, rt::kCreateButton, 146, 36, 44, 14, "&Close"),
  };
  desc.controls[1].picture = "@s30";
  desc.controls[1].use = rt::Binding{name, sizeof name, nullptr};

  rt::Window window(desc);
  window.Open();
  vtSHOWHELP(nullptr, nullptr);  // right-click on every field asks for help
  while (window.Accept()) {
    const int32_t asked = VTWATCH(nullptr);
    if (asked > 0) {
      vtCALLHELPTIP(tip_file.c_str(), "Example", TipControl(asked), TipType(asked));
      continue;
    }
    if (rt::Event() != rt::kEventAccepted) continue;
    if (rt::Field() == kGreet)
      rt::Message("Hello, " + rt::Binding{name, sizeof name, nullptr}.Get() + "!", "Example");
    if (rt::Field() == kClose) window.Close();
  }
  return 0;
}
