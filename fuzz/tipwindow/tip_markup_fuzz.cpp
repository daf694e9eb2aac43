// Arbitrary bytes as a tip text (split into lines as the edit control keeps them) and as a
// settings memo: the scanner's entries and the reader's rows must keep their rules.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tipwindow/markup.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool StartsWith(std::string_view s, std::string_view p) {
  return s.substr(0, p.size()) == p;
}

struct Expected {
  int32_t run = 1, http = 1, lnk = 1, region = 1;
};

void CheckEntries(const vistip::LineScan& scan, Expected& next) {
  const auto& e = scan.entries;
  for (size_t i = 0; i < e.size(); ++i) {
    const vistip::MarkupEntry& m = e[i];
    Check(m.name.size() <= 20 && m.text.size() <= vistip::kMaxLineLength);
    if (m.type == vistip::kTypeString) {
      Check(m.name.empty() ? e.size() == 1 && m.text.empty()
                           : m.name == vistip::RunName(next.run++));
    } else if (m.type == vistip::kTypeLine) {
      Check(e.size() == 1 && m.name.empty() && m.text.empty());
    } else if (m.type == vistip::kTypeButton || m.type == vistip::kTypeBullet) {
      const char letter = m.type == vistip::kTypeButton ? 'B' : 'T';
      Check(!m.name.empty() && m.name.size() <= vistip::kMaxTagName && m.text.empty());
      Check((m.name[0] & ~0x20) == letter && m.name.find('>') == std::string::npos);
    } else if (m.type == vistip::kTypeHttp || m.type == vistip::kTypeLnk) {
      const bool web = m.type == vistip::kTypeHttp;
      Check(m.name ==
            (web ? "HTTP" + std::to_string(next.http++) : "LNK" + std::to_string(next.lnk++)));
      Check(m.text.size() <= vistip::kMaxLinkText && m.text.find('>') == std::string::npos);
      Check(i + 1 < e.size() && e[i + 1].type == vistip::kTypeRegion && e[i + 1].text == m.text);
      Check(e[i + 1].name == "Region" + std::to_string(next.region++));
      ++i;
    } else {
      Check(false);  // a region always follows its link
    }
  }
}

void FuzzLines(std::string_view text) {
  vistip::ScanNumbers numbers;
  Expected next;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const vistip::LineScan scan = vistip::ScanTipLine(line, numbers);
    CheckEntries(scan, next);
    for (size_t at : scan.unclosed) Check(at >= 1 && at <= line.size() && line[at - 1] == '<');
    Check(numbers.run == next.run && numbers.http == next.http && numbers.lnk == next.lnk &&
          numbers.region == next.region);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool Clean(std::string_view s) {
  return s.find_first_of("[];\xAB") == std::string_view::npos;
}

void FuzzSettings(std::string_view memo) {
  const std::vector<vistip::SetRecord> rows = vistip::ReadSettingsMemo(memo);
  for (size_t i = 0; i < rows.size(); ++i) {
    const vistip::SetRecord& r = rows[i];
    Check(!r.SETTING.blank() && r.PROP != "LINKPROC" && r.PROP != "LINKCTL");
    Check(Clean(r.CONTROLNAME.view()) && Clean(r.PROP.view()) && Clean(r.SETTING.view()));
    if (i > 0) {
      const auto& p = rows[i - 1];
      const auto order = p.CONTROLNAME <=> r.CONTROLNAME;
      Check(order < 0 || (order == 0 && (p.PROP <=> r.PROP) < 0));
    }
  }
  const std::string written = vistip::WriteSettingsMemo(rows);
  Check(written.size() <= vistip::kMaxSettingsMemo);
  if (written.size() < vistip::kMaxSettingsMemo) {
    const std::vector<vistip::SetRecord> again = vistip::ReadSettingsMemo(written);
    Check(again.size() == rows.size());
    for (size_t i = 0; i < again.size() && i < rows.size(); ++i)
      Check(again[i].CONTROLNAME == rows[i].CONTROLNAME && again[i].PROP == rows[i].PROP &&
            again[i].SETTING == rows[i].SETTING);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FuzzLines(bytes);
  FuzzSettings(bytes);
  return 0;
}
