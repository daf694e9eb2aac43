// Arbitrary bytes as a help file: titles, paragraphs and links come out trimmed and free of
// control characters, each title finds a topic of that title, and the topics written out again
// as a help file read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/dialogs/help_file.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

constexpr std::string_view kParagraphBreak = "\r\n\r\n";

// Trimmed of blanks, and with no control character but the CR LF pairs of `breaks_allowed`.
bool Clean(std::string_view s, bool breaks_allowed) {
  if (!s.empty() && (s.front() == ' ' || s.back() == ' ')) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != 0x7F) continue;
    if (!breaks_allowed || s.substr(i, kParagraphBreak.size()) != kParagraphBreak) return false;
    if (i == 0 || i + kParagraphBreak.size() >= s.size()) return false;
    if (s[i + kParagraphBreak.size()] == ' ' || s[i - 1] == ' ') return false;
    i += kParagraphBreak.size() - 1;
  }
  return true;
}

// The topics as a help file: each paragraph on a line of its own, after a blank so that it can
// read neither as a heading nor as a link.
std::string Write(const rt::HelpFile& file) {
  std::string out;
  for (const rt::HelpTopic& topic : file.topics) {
    out += "== " + topic.title + " ==\n";
    std::string_view text = topic.text;
    while (!text.empty()) {
      const size_t end = text.find(kParagraphBreak);
      out += " " + std::string(text.substr(0, end)) + "\n\n";
      text = end == std::string_view::npos ? "" : text.substr(end + kParagraphBreak.size());
    }
    for (const std::string& link : topic.links) out += "-> " + link + "\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const rt::HelpFile file = rt::ParseHelpFile(bytes);
  for (size_t i = 0; i < file.topics.size(); ++i) {
    const rt::HelpTopic& topic = file.topics[i];
    Check(!topic.title.empty() && Clean(topic.title, false));
    Check(Clean(topic.text, true));
    for (const std::string& link : topic.links) Check(!link.empty() && Clean(link, false));
    const int found = rt::FindHelpTopic(file, topic.title);
    Check(found >= 0 && static_cast<size_t>(found) <= i);
  }
  const int contents = rt::ContentsTopic(file);
  Check(file.topics.empty() ? contents == -1 : contents >= 0);

  const rt::HelpFile again = rt::ParseHelpFile(Write(file));
  Check(again.topics.size() == file.topics.size());
  for (size_t i = 0; i < again.topics.size() && i < file.topics.size(); ++i) {
    Check(again.topics[i].title == file.topics[i].title);
    Check(again.topics[i].text == file.topics[i].text);
    Check(again.topics[i].links == file.topics[i].links);
  }
  return 0;
}
