// Parsing and normalizing Windows paths.
#include "ntpaths/winfs/path.h"

#include <algorithm>

#include "ntpaths/winfs/errors.h"
#include "ntpaths/winfs/winfs.h"

namespace winfs {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Splits TEXT at separators, dropping empty components; tells whether it ended in one.
void SplitParts(std::string_view text, std::vector<std::string>* parts, bool* trailing) {
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && !IsSeparator(text[j])) ++j;
    if (j > i) parts->emplace_back(text.substr(i, j - i));
    i = j + 1;
  }
  *trailing = !text.empty() && IsSeparator(text.back());
}

bool AllDots(const std::string& s) {
  return s.find_first_not_of('.') == std::string::npos;
}

}  // namespace

ParsedPath ParsePath(std::string_view text) {
  ParsedPath p;
  if (text.empty()) return p;
  if (text.size() >= 2 && IsLetter(text[0]) && text[1] == ':') {
    p.drive = static_cast<char>(text[0] & ~0x20);
    std::string_view rest = text.substr(2);
    p.kind = (!rest.empty() && IsSeparator(rest[0])) ? ParsedPath::Kind::kDriveAbsolute
                                                     : ParsedPath::Kind::kDriveRelative;
    SplitParts(rest, &p.parts, &p.trailingSeparator);
    if (p.parts.empty()) p.trailingSeparator = false;
    return p;
  }
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
    p.kind = ParsedPath::Kind::kUnc;
    SplitParts(text.substr(2), &p.parts, &p.trailingSeparator);
    return p;
  }
  p.kind = IsSeparator(text[0]) ? ParsedPath::Kind::kRootRelative : ParsedPath::Kind::kRelative;
  SplitParts(text, &p.parts, &p.trailingSeparator);
  if (p.parts.empty()) p.trailingSeparator = false;
  return p;
}

std::string FullPath::Format() const {
  std::string s;
  if (IsUnc()) {
    s = "\\\\" + server;
    if (!share.empty()) s += "\\" + share;
    for (const auto& part : parts) s += "\\" + part;
    if (trailingSeparator) s += "\\";
    return s;
  }
  s = std::string(1, drive) + ":\\";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) s += '\\';
    s += parts[i];
  }
  if (trailingSeparator && !parts.empty()) s += '\\';
  return s;
}

FullPath FullPath::Parent() const {
  FullPath p = *this;
  if (!p.parts.empty()) p.parts.pop_back();
  p.trailingSeparator = false;
  return p;
}

std::string NormalizePart(std::string part, bool last) {
  if (last) {
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
  } else if (!AllDots(part) && part.size() >= 2 && part.back() == '.' &&
             part[part.size() - 2] != '.') {
    part.pop_back();
  }
  return part;
}

FullPath MakeFull(const ParsedPath& parsed, const CurrentDirFn& currentDir, bool keepLastRaw) {
  FullPath full;
  std::vector<std::string> input = parsed.parts;
  switch (parsed.kind) {
    case ParsedPath::Kind::kEmpty:
    case ParsedPath::Kind::kRelative:
      full = currentDir(0);
      break;
    case ParsedPath::Kind::kDriveRelative:
      full = currentDir(parsed.drive);
      break;
    case ParsedPath::Kind::kDriveAbsolute:
      full.drive = parsed.drive;
      break;
    case ParsedPath::Kind::kRootRelative:
      full = currentDir(0);
      full.parts.clear();
      break;
    case ParsedPath::Kind::kUnc:
      full.drive = 0;
      if (!input.empty()) full.server = input[0];
      if (input.size() > 1) full.share = input[1];
      input.erase(input.begin(), input.begin() + (input.size() < 2 ? input.size() : 2));
      break;
  }
  full.trailingSeparator = parsed.trailingSeparator;
  // First "." and "..", then the trimming of the components that result, as the original
  // system does: "C:\\a\\...\\b\\.." ends in "...", which the trimming then removes.
  size_t kept = full.parts.size();  // components of the current directory are already trimmed
  for (const std::string& part : input) {
    if (part == ".") continue;
    if (part == "..") {
      if (!full.parts.empty()) full.parts.pop_back();
      kept = std::min(kept, full.parts.size());
      continue;
    }
    full.parts.push_back(part);
  }
  std::vector<std::string> trimmed(full.parts.begin(),
                                   full.parts.begin() + static_cast<long>(kept));
  for (size_t i = kept; i < full.parts.size(); ++i) {
    bool lastName = i + 1 == full.parts.size() && !full.trailingSeparator;
    std::string part = full.parts[i];
    if (!(lastName && keepLastRaw)) part = NormalizePart(std::move(part), lastName);
    if (!part.empty()) {
      trimmed.push_back(std::move(part));
    } else if (lastName) {
      full.trailingSeparator = true;  // "C:\\a\\..." is "C:\\a\\", as on the original system
    }
  }
  full.parts = std::move(trimmed);
  if (full.parts.empty()) full.trailingSeparator = false;
  return full;
}

std::uint32_t CheckNames(const FullPath& path, bool wildcardsInLast) {
  for (size_t i = 0; i < path.parts.size(); ++i) {
    const std::string& part = path.parts[i];
    if (part.size() > 255) return kErrFilenameExcedRange;
    bool last = i + 1 == path.parts.size();
    for (unsigned char c : part) {
      if (c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|')
        return kErrInvalidName;
      if ((c == '*' || c == '?') && !(last && wildcardsInLast)) return kErrInvalidName;
    }
  }
  if (path.Format().size() >= kMaxPath) return kErrFilenameExcedRange;
  return kErrSuccess;
}

}  // namespace winfs
