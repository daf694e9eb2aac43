// The runtime's help files: plain Windows-1252 text split into topics by "== Title ==" lines,
// with "-> Title" link lines (docs/help-format.md). Pure reading, shared by the help viewer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

struct HelpTopic {
  std::string title;
  std::string text;                // paragraphs separated by an empty line (CR LF CR LF)
  std::vector<std::string> links;  // titles of the topics its "->" lines name, in file order
};

struct HelpFile {
  std::vector<HelpTopic> topics;  // in file order; a title may occur twice
};

// A help file's text read into topics. Any bytes are accepted: control characters read as
// blanks, lines before the first heading are ignored.
HelpFile ParseHelpFile(std::string_view bytes);

// The index of the first topic whose title equals `title`, compared without regard to case or
// surrounding blanks; -1 when there is none.
int FindHelpTopic(const HelpFile& file, std::string_view title);

// The topic a viewer shows for the contents: the one titled "Contents", else the first; -1 for a
// file without topics.
int ContentsTopic(const HelpFile& file);

// Larger files are refused rather than read in part.
inline constexpr size_t kMaxHelpFileBytes = 8u << 20;

// Reads and parses the file at `path` (Windows-1252, as the runtime's strings are). False when
// it cannot be read or is larger than kMaxHelpFileBytes.
bool LoadHelpFile(std::string_view path, HelpFile& out);

// Where a help file named without a folder is found: the current directory, then beside the
// program, then in the installed data folder (found from the runtime's own file, then in each
// folder of $XDG_DATA_DIRS, default /usr/local/share:/usr/share, as <dir>/vistip). A name with
// a folder, or one found nowhere, is returned as it is.
std::string LocateHelpFile(std::string_view name);

}  // namespace rt
