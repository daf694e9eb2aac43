// MakeShortName: a short-name-like path by rule alone, for when the file system gives none.
// It works in place in a 260-character buffer: the result never outgrows what was read.
#include <cstring>

#include "ntpaths/steps.h"

namespace ntpaths {
namespace {

constexpr size_t kWork = 260;
constexpr size_t kMaxResult = 143;

bool TurnsIntoUnderscore(char c) {
  return c == ' ' || c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']';
}

// Shortens the component WORK[start, *end): at most 3 characters after its first dot and at
// most 8 before it, the dot and extension moving up behind the 8.
void ShortenComponent(char* work, size_t start, size_t* end) {
  char* dot = static_cast<char*>(std::memchr(work + start, '.', *end - start));
  if (!dot) {
    if (*end - start > 8) *end = start + 8;
    return;
  }
  size_t d = static_cast<size_t>(dot - work);
  size_t extKeep = *end - d - 1 < 3 ? *end - d - 1 : 3;
  size_t baseKeep = d - start < 8 ? d - start : 8;
  std::memmove(work + start + baseKeep, work + d, 1 + extKeep);
  *end = start + baseKeep + 1 + extKeep;
}

}  // namespace

void MakeShortName(const char* longName, char* out) {
  char work[kWork];
  size_t len = strnlen(longName, kWork - 1);
  std::memcpy(work, longName, len);
  work[len] = 0;
  size_t r = 0, w = 0, start = 0;
  while (work[r] && w < kMaxResult) {
    char c = work[r];
    if (c == '/') c = '\\';
    if (c == '\\') {
      ShortenComponent(work, start, &w);
      work[w++] = '\\';
      start = w;
    } else if (c == ':' && r == 1) {
      work[w++] = ':';
      start = w;
    } else {
      work[w++] = (c == ':' || TurnsIntoUnderscore(c)) ? '_' : c;
    }
    ++r;
  }
  ShortenComponent(work, start, &w);
  work[w] = 0;
  std::memcpy(out, work, w + 1);
}

std::string MakeShortName(std::string_view longName) {
  std::string in(longName.substr(0, kWork - 1));
  char out[kShortBuffer];
  MakeShortName(in.c_str(), out);
  return out;
}

}  // namespace ntpaths
