// The line scanner of the tip markup: text runs, "<<", "|", buttons, bullets, web links and
// tip links, left to right in one pass; a tag that is not closed in time adds nothing.
#include "tipwindow/line_scanner.h"

#include "runtime/strings.h"
#include "tipwindow/queues.h"

namespace vistip {
namespace {

class Scanner {
 public:
  Scanner(std::string_view line, ScanNumbers& numbers) : line_(line), num_(numbers) {}

  LineScan Run() {
    while (pos_ <= line_.size()) Step();
    if (text_.find_first_not_of(' ') != std::string::npos) AddRun();
    return std::move(out_);
  }

 private:
  // Character at a position counted from 1; past the end of the line a blank.
  char At(size_t p) const { return p >= 1 && p <= line_.size() ? line_[p - 1] : ' '; }

  void Step() {
    const char c = At(pos_);
    if (c == '<' && pos_ < line_.size() && At(pos_ + 1) == '<') {
      text_ += '<';
      pos_ += 2;
    } else if (c == '<') {
      Tag();
    } else if (c == '|') {
      AddRun();
      ++pos_;
    } else {
      text_ += c;
      ++pos_;
    }
  }

  void Tag() {
    const size_t open = pos_;
    if (!text_.empty()) AddRun();
    const char kind = rt::UpperChar(At(pos_ + 1));
    bool closed = true;
    if (kind == 'B' || kind == 'T') {
      closed = NamedTag(kind == 'B' ? kTypeButton : kTypeBullet);
    } else if (kind == 'H' || kind == 'W' || kind == 'F' || At(pos_ + 2) == ':') {
      closed = WebLink();
    } else if (kind == 'L') {
      closed = TipLink();
    }
    if (!closed) out_.unclosed.push_back(open);
    text_.clear();
    ++pos_;  // past the ">", the "<" of no tag, or where an unclosed tag stopped
  }

  // "<B1>", "<T1>": a name of one to four characters, the letter first.
  bool NamedTag(const char* type) {
    ++pos_;
    std::string name;
    while (name.size() < kMaxTagName && At(pos_) != '>') name += At(pos_++);
    if (At(pos_) != '>') return false;
    Add(type, std::move(name), "");
    return true;
  }

  // "<http://...>": the address runs to the ">" on the same line.
  bool WebLink() {
    ++pos_;
    std::string address;
    while (address.size() < kMaxLinkText && pos_ <= line_.size() && At(pos_) != '>')
      address += At(pos_++);
    if (pos_ > line_.size() || At(pos_) != '>') return false;
    AddLink(kTypeHttp, "HTTP" + std::to_string(num_.http++), std::move(address));
    return true;
  }

  // "<LNK:text>": four characters introduce the tag, the link text runs to the ">".
  bool TipLink() {
    pos_ += 5;
    std::string text;
    while (text.size() < kMaxLinkText && At(pos_) != '>') text += At(pos_++);
    if (At(pos_) != '>') return false;
    AddLink(kTypeLnk, "LNK" + std::to_string(num_.lnk++), std::move(text));
    return true;
  }

  void AddLink(const char* type, std::string name, std::string text) {
    Add(type, std::move(name), text);
    Add(kTypeRegion, "Region" + std::to_string(num_.region++), std::move(text));
  }

  void AddRun() {
    Add(kTypeString, RunName(num_.run++), std::move(text_));
    text_.clear();
  }

  void Add(const char* type, std::string name, std::string text) {
    out_.entries.push_back({type, std::move(name), std::move(text)});
  }

  std::string_view line_;
  ScanNumbers& num_;
  size_t pos_ = 1;
  std::string text_;  // the current text run
  LineScan out_;
};

}  // namespace

std::string RunName(int32_t n) {
  return "S" + rt::FormatNumber(n, 3);
}

LineScan ScanTipLine(std::string_view line, ScanNumbers& numbers) {
  line = rt::detail::ClipBlanks(line.substr(0, kMaxLineLength));
  if (line.find("<HR>") != std::string_view::npos) {
    LineScan rule;
    rule.entries.push_back({kTypeLine, "", ""});
    return rule;
  }
  if (line.find_first_not_of(' ') == std::string_view::npos) {
    LineScan blank;
    blank.entries.push_back({kTypeString, "", ""});
    return blank;
  }
  return Scanner(line, numbers).Run();
}

}  // namespace vistip
