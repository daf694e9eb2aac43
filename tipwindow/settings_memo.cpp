// Reader and writer of the settings memo.
#include "tipwindow/settings_memo.h"

#include <algorithm>

namespace vistip {
namespace {

bool KeyLess(const SetRecord& a, const SetRecord& b) {
  if (const auto c = a.CONTROLNAME <=> b.CONTROLNAME; c != 0) return c < 0;
  return (a.PROP <=> b.PROP) < 0;
}

bool Obsolete(const SetRecord& row) {
  return row.PROP == "LINKPROC" || row.PROP == "LINKCTL";
}

// A pending row goes into the rows when it has a value: replacing the row with its key, or
// inserted after every row whose key is not above it.
void Store(std::vector<SetRecord>& rows, const SetRecord& row) {
  if (row.SETTING.blank() || Obsolete(row)) return;
  auto same = std::find_if(rows.begin(), rows.end(), [&](const SetRecord& r) {
    return r.CONTROLNAME.view() == row.CONTROLNAME.view() && r.PROP.view() == row.PROP.view();
  });
  if (same != rows.end()) {
    *same = row;
    return;
  }
  rows.insert(std::upper_bound(rows.begin(), rows.end(), row, KeyLess), row);
}

}  // namespace

std::vector<SetRecord> ReadSettingsMemo(std::string_view memo) {
  memo = rt::detail::ClipBlanks(memo);
  std::vector<SetRecord> rows;
  SetRecord row;
  int mode = 0;    // 0 before the first "[", 1 control name, 2 property, 3 value
  size_t sub = 1;  // write position in the current part
  for (const char c : memo) {
    if (mode == 0 && c != '[') continue;  // everything before the first group is ignored
    if (c == '[') {
      Store(rows, row);
      row = SetRecord{};
      mode = 1;
      sub = 1;
    } else if (c == ']' || c == kRowEnd) {
      Store(rows, row);
      row.PROP.clear();
      row.SETTING.clear();
      mode = 2;
      sub = 1;
    } else if (c == ';') {
      mode = 3;
      sub = 1;
    } else if (mode == 1) {
      row.CONTROLNAME.set(sub++, c);
    } else if (mode == 2) {
      row.PROP.set(sub++, c);
    } else {
      row.SETTING.set(sub++, c);
    }
  }
  Store(rows, row);
  return rows;
}

std::string WriteSettingsMemo(const std::vector<SetRecord>& rows) {
  std::string memo;
  const SetRecord* previous = nullptr;
  for (const SetRecord& row : rows) {
    if (previous == nullptr || previous->CONTROLNAME != row.CONTROLNAME) {
      memo += '[';
      memo += row.CONTROLNAME.clip();
      memo += ']';
    }
    memo += row.PROP.clip();
    memo += ';';
    memo += row.SETTING.clip();
    memo += kRowEnd;
    previous = &row;
    if (memo.size() >= kMaxSettingsMemo) break;
  }
  if (memo.size() > kMaxSettingsMemo) memo.resize(kMaxSettingsMemo);
  return memo;
}

}  // namespace vistip
