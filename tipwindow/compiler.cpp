// The tip compiler: the tip text, line by line as the edit control lays it out, into the
// controls to create; in the window then into CONTROLQUEUE, the settings memo into
// SETTINGSQUEUE, and the controls created.
#include "tipwindow/compiler.h"

#include <algorithm>
#include <memory>

#include "runtime/dialogs.h"
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"

namespace vistip {

CompiledTip CompileTip(std::string_view text, int32_t width, const LineBreaker& breaker) {
  CompiledTip tip;
  ScanNumbers numbers;
  const std::vector<std::string> lines = breaker(text, width);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int32_t line = static_cast<int32_t>(i + 1);
    const std::string_view shown = std::string_view(lines[i]).substr(0, kMaxLineLength);
    LineScan scan = ScanTipLine(shown, numbers);
    for (MarkupEntry& entry : scan.entries) {
      const auto number = static_cast<int32_t>(tip.controls.size() + 1);
      tip.controls.push_back({std::move(entry), number, line});
    }
    for (size_t n = 0; n < scan.unclosed.size(); ++n)
      tip.unclosed.push_back({line, std::string(shown)});
  }
  return tip;
}

LineBreaker EditControlBreaker(rt::Window& window, TipBuffer& edited) {
  return [&window, &edited](std::string_view text, int32_t width) {
    edited.HELPTIP = text;
    const rt::Control* control = window.Find(tipwindow::kHelpTip);
    if (control == nullptr || control->w != width)
      window.SetPropInt(tipwindow::kHelpTip, rt::kPropWidth, width);
    const int32_t count = window.GetPropInt(tipwindow::kHelpTip, rt::kPropLineCount);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t n = 1; n <= count; ++n)
      lines.push_back(window.GetProp(tipwindow::kHelpTip, rt::kPropLine, n));
    return lines;
  };
}

int32_t TipTextWidth(const rt::String<1000>& other) {
  constexpr int32_t kNewWindowTextWidth = 160;  // as the window definition lays it out
  const int32_t stored = StoredWidth(other);
  if (!StoredWidthUsed(stored)) return kNewWindowTextWidth;
  return std::max(stored, kMinTipWidth) - 10;
}

namespace tipwindow {

void HelpTipWindow::LoadTipTabRtn() {
  if (HELPISLOADED) return;
  LoadCtlQueueRtn();
  LoadSettingsQueueRtn();
  CreateControlsRtn();
  MoveTextToSettings();
  SHOWNTIP = VTH;
  HELPISLOADED = 1;
}

void HelpTipWindow::LoadCtlQueueRtn() {
  // The edit control's width decides where long paragraphs break, so it is set first.
  const int32_t stored = StoredWidth(VTH.OTHER);
  if (StoredWidthUsed(stored)) {
    Window.SetPropInt(0, rt::kPropWidth, stored);
    ResizeWindowRtn();
  } else {
    Window.SetPropInt(0, rt::kPropMinWidth, kMinTipWidth);
    Window.SetPropInt(0, rt::kPropMinHeight, kMinTipHeight);
  }
  const CompiledTip tip =
      CompileTip(VTH.HELPTIP.clip(), Window.GetPropInt(kHelpTip, rt::kPropWidth),
                 EditControlBreaker(Window, EDITED));
  EmptyKeepingRoom(CONTROLQUEUE);
  CURRENTCONTROL = kFirstTipField;
  // Entries come in control-number order, so the queue is in that order already.
  for (const CompiledControl& c : tip.controls) {
    CtlRecord& row = CONTROLQUEUE.buf;
    row.NAME = c.entry.name;
    row.TYPE = c.entry.type;
    row.TEXT = c.entry.text;
    row.CONTROLNUMBER = c.number;
    row.LINE = c.line;
    CONTROLQUEUE.Add();
  }
  if (tip.unclosed.empty()) return;
  // Other tip windows run while a message shows, and may read into the record buffer.
  const auto own = std::make_unique<TipBuffer>(VTH);
  for (const UnclosedTag& tag : tip.unclosed) ReportUnclosedTag(tag.line);
  VTH = *own;
}

void HelpTipWindow::ReportUnclosedTag(int32_t line) {
  rt::Message("Control not completed|Line:" + rt::FormatNumber(line), "Vistip - Control Formatting",
              rt::kIconAsterisk, rt::kButtonOk);
}

void HelpTipWindow::LoadSettingsQueueRtn() {
  // Rows still in memory belong to the tip before its text changed: move them to the controls
  // that now carry their texts and keep them.
  if (SETTINGSQUEUE.Records() > 0) {
    SyncSettingsRtn();
    ChangeSettingsRtn();
  }
  SETTINGSQUEUE.Free();
  SETTINGSQUEUE.buf = SetRecord{};
  for (const SetRecord& row : ReadSettingsMemo(SETTINGS1.view())) {
    SETTINGSQUEUE.buf = row;
    SETTINGSQUEUE.Add();
  }
}

}  // namespace tipwindow
}  // namespace vistip
