// The edit tab driven as an author works it: a tip window on its own thread over a tip file in a
// temporary directory, Alt+E, clicks into the edit controls, typing, Ok and Cancel.
#pragma once

#include <string>
#include <vector>

#include "tests/tipwindow/tip_window_fixture.h"

namespace vistip::tipwindow::testing {

class EditTabTest : public TipWindowTest {
 protected:
  rt::Window* ShowTip(const std::vector<Tip>& tips, const std::string& procedure = "P",
                      const std::string& control = "C", const std::string& type = "ENTRY") {
    TipFile("tips.tps").Create(tips);
    Request(procedure, control, type);
    return Show();
  }
  void PressKey(int32_t keycode) { rt::harness::Press(*window_, keycode); }
  void Edit() { PressKey(rt::AltKey('E')); }
  // Clicks into an edit control, selects all it holds and types over it (an empty text clears).
  void Replace(int32_t field, const std::string& text) {
    rt::harness::Click(*window_, field);
    PressKey(rt::CtrlKey('A'));
    if (text.empty()) {
      PressKey(rt::kBackspaceKey);
    } else {
      rt::harness::Type(*window_, text);
    }
  }
  void Ok() { rt::harness::Click(*window_, kButton1); }
  void Cancel() { rt::harness::Click(*window_, kButton2); }
  bool Editing() { return tip_->EDITMODE == 1 && rt::harness::Shown(*window_, kHelpTip); }
  // A tip control shows the text (the edit box, field 9, holds the tip's text as well).
  bool Showing(const std::string& text) {
    for (const auto& c : window_->controls())
      if (c->field >= kFirstTipField && window_->DisplayText(*c) == text && window_->Visible(*c))
        return true;
    return false;
  }
  std::vector<Tip> FileTips() { return TipFile("tips.tps").Read(); }
};

// Records compared by keys and text (the settings and width where a test says so).
inline std::vector<std::string> Keys(const std::vector<Tip>& tips) {
  std::vector<std::string> out;
  for (const Tip& t : tips)
    out.push_back(t.procedure + "|" + t.control + "|" + t.type + "|" + t.text);
  return out;
}

}  // namespace vistip::tipwindow::testing
