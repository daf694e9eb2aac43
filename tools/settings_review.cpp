// Button calls and hidden restarts of settings values, read with the tip window's own settings
// reader.
#include "tools/settings_review.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "tipwindow/queues.h"
#include "tipwindow/settings_memo.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

bool IsDelimiter(char c) {
  return c == '[' || c == ']' || c == kRowEnd;
}

// The rows of a memo as the reader divides it: the text between "[", "]" and 0ABH, each with
// the control name of the group it is in. A control name holding ";" is itself such a row.
struct RawRow {
  std::string control;
  std::string_view text;
  bool header = false;
};

std::vector<RawRow> RawRows(std::string_view memo) {
  std::vector<RawRow> rows;
  const size_t first = memo.find('[');
  if (first == std::string_view::npos) return rows;
  std::string control;
  bool header = false;
  size_t start = first;
  for (size_t i = first; i <= memo.size(); ++i) {
    if (i < memo.size() && !IsDelimiter(memo[i])) continue;
    const std::string_view text = memo.substr(start, i - start);
    if (header) control = std::string(text.substr(0, text.find(';')));
    rows.push_back({control, text, header});
    if (i < memo.size()) header = memo[i] == '[';
    start = i + 1;
  }
  return rows;
}

std::string HiddenRestart(const RawRow& row) {
  const size_t first = row.text.find(';');
  if (first == std::string_view::npos) return {};
  if (!row.header && row.text.find(';', first + 1) == std::string_view::npos) return {};
  // What the tip window makes of this row alone.
  const std::string text(row.text);
  const std::vector<SetRecord> read =
      ReadSettingsMemo(row.header ? "[" + text + "]" : "[" + row.control + "]" + text);
  const std::string prop = row.header ? "" : text.substr(0, first);
  const std::string reads =
      read.empty() ? "nothing (the row is dropped)" : Quoted(read.front().SETTING.clip());
  return "settings row [" + EscapeText(row.control) + "]" + EscapeText(prop) + ": value " +
         Quoted(row.text.substr(first + 1)) +
         " holds \";\", which starts the value again: it reads as " + reads;
}

}  // namespace

std::vector<TipCall> ListTipCalls(const std::vector<TipText>& tips) {
  std::vector<TipCall> calls;
  for (const TipText& t : tips) {
    for (const SetRecord& row : ReadSettingsMemo(t.settings)) {
      const std::string_view kind = row.SETTING.view().substr(0, 3);
      if (row.PROP.clip() == kPropCallName && IsCallKind(kind))
        calls.push_back(
            {TipTitle(t), std::string(row.CONTROLNAME.clip()), std::string(row.SETTING.clip())});
    }
  }
  return calls;
}

void AddHiddenRestartProblems(const std::vector<TipText>& tips, CheckResult& result) {
  std::vector<CheckProblem> merged;
  size_t next = 0;
  for (const TipText& t : tips) {
    const std::string title = TipTitle(t);
    while (next < result.problems.size() && result.problems[next].tip == title)
      merged.push_back(std::move(result.problems[next++]));
    for (const RawRow& row : RawRows(t.settings))
      if (std::string message = HiddenRestart(row); !message.empty())
        merged.push_back({title, 0, std::move(message)});
  }
  while (next < result.problems.size()) merged.push_back(std::move(result.problems[next++]));
  result.problems = std::move(merged);
}

}  // namespace vistip
