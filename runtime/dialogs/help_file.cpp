// Reading help files: topics from "== Title ==" headings, paragraphs from blank lines, links from
// "-> Title" lines. Everything here is pure except LoadHelpFile, which only fetches the bytes.
#include "runtime/dialogs/help_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "runtime/strings.h"
#include "runtime/textmetrics.h"

namespace rt {
namespace {

constexpr std::string_view kParagraphBreak = "\r\n\r\n";

// Bytes below 20H (NUL, tabs, stray carriage returns) and DEL read as blanks.
std::string Printable(std::string_view line) {
  std::string out(line);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = ' ';
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// "== Title ==" with a non-blank title: the title; otherwise empty.
std::string_view HeadingTitle(std::string_view line) {
  if (line.size() < 4 || !line.starts_with("==") || !line.ends_with("==")) return {};
  return Trim(line.substr(2, line.size() - 4));
}

// Collects one topic's lines: consecutive lines join into a paragraph with single blanks.
class TopicBuilder {
 public:
  explicit TopicBuilder(HelpTopic& topic) : topic_(topic) {}

  void Line(std::string_view line) {
    if (line.starts_with("->")) {
      if (std::string_view target = Trim(line.substr(2)); !target.empty())
        topic_.links.emplace_back(target);
      in_paragraph_ = false;  // a link line ends the paragraph before it
      return;
    }
    const std::string_view words = Trim(line);
    if (words.empty()) {
      in_paragraph_ = false;
      return;
    }
    if (in_paragraph_) {
      topic_.text += ' ';
    } else if (!topic_.text.empty()) {
      topic_.text += kParagraphBreak;
    }
    topic_.text += words;
    in_paragraph_ = true;
  }

 private:
  HelpTopic& topic_;
  bool in_paragraph_ = false;
};

bool SameTitle(std::string_view a, std::string_view b) {
  return Lower(Trim(a)) == Lower(Trim(b));
}

}  // namespace

HelpFile ParseHelpFile(std::string_view bytes) {
  HelpFile file;
  std::optional<TopicBuilder> builder;
  size_t pos = 0;
  while (pos < bytes.size()) {
    // Lines end at LF, CR LF or a lone CR.
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string line = Printable(bytes.substr(pos, end - pos));
    pos = end + (bytes.substr(end).starts_with("\r\n") ? 2 : 1);
    const std::string_view clipped =
        std::string_view(line).substr(0, line.find_last_not_of(' ') + 1);
    if (std::string_view title = HeadingTitle(clipped); !title.empty()) {
      file.topics.push_back(HelpTopic{std::string(title), {}, {}});
      builder.emplace(file.topics.back());
    } else if (builder) {
      builder->Line(clipped);
    }
  }
  return file;
}

int FindHelpTopic(const HelpFile& file, std::string_view title) {
  for (size_t i = 0; i < file.topics.size(); ++i)
    if (SameTitle(file.topics[i].title, title)) return static_cast<int>(i);
  return -1;
}

int ContentsTopic(const HelpFile& file) {
  if (file.topics.empty()) return -1;
  const int contents = FindHelpTopic(file, "Contents");
  return contents >= 0 ? contents : 0;
}

bool LoadHelpFile(std::string_view path, HelpFile& out) {
  const std::filesystem::path file(Cp1252ToUtf8(path));
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<uint64_t>(size) > kMaxHelpFileBytes) return false;
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) return false;
  out = ParseHelpFile(bytes);
  return true;
}

}  // namespace rt
