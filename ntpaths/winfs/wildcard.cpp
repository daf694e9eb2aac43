// The DOS wildcard matcher, as a table over pattern and name positions so that no pattern
// takes more than pattern length times name length steps.
#include "ntpaths/winfs/wildcard.h"

#include <vector>

#include "ntpaths/winfs/names.h"

namespace winfs {
namespace {

enum class Tok : unsigned char { kLiteral, kStar, kStarToDot, kQuestion, kDot };
struct Token {
  Tok kind;
  unsigned char c;
};

std::vector<Token> Tokenize(std::string_view p) {
  std::vector<Token> out;
  for (size_t i = 0; i < p.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(p[i]);
    bool next = i + 1 < p.size();
    if (c == '*') {
      out.push_back({next && p[i + 1] == '.' ? Tok::kStarToDot : Tok::kStar, 0});
    } else if (c == '?') {
      out.push_back({Tok::kQuestion, 0});
    } else if (c == '.' && p.find_first_not_of("*?", i + 1) == std::string_view::npos) {
      out.push_back({Tok::kDot, 0});
    } else {
      out.push_back({Tok::kLiteral, FoldUpper(c)});
    }
  }
  return out;
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  std::vector<Token> toks = Tokenize(pattern);
  const size_t n = name.size(), m = toks.size();
  size_t lastDot = name.rfind('.');
  // can[i][j]: tokens from i on match the name from j on.
  std::vector<std::vector<char>> can(m + 1, std::vector<char>(n + 1, 0));
  can[m][n] = 1;
  for (size_t i = m; i-- > 0;) {
    const Token& t = toks[i];
    for (size_t j = n + 1; j-- > 0;) {
      bool ok = false;
      unsigned char c = j < n ? static_cast<unsigned char>(name[j]) : 0;
      switch (t.kind) {
        case Tok::kLiteral:
          ok = j < n && FoldUpper(c) == t.c && can[i + 1][j + 1];
          break;
        case Tok::kStar:
          ok = can[i + 1][j] || (j < n && can[i][j + 1]);
          break;
        case Tok::kStarToDot:
          // May consume characters but not the name's last dot.
          ok = can[i + 1][j] || (j < n && j != lastDot && can[i][j + 1]);
          break;
        case Tok::kQuestion:
          ok = (j == n || c == '.') ? can[i + 1][j] : can[i + 1][j + 1];
          break;
        case Tok::kDot:
          ok = (j < n && c == '.' && can[i + 1][j + 1]) ||
               (j == n && lastDot == std::string_view::npos && can[i + 1][j]);
          break;
      }
      can[i][j] = ok;
    }
  }
  return can[0][0];
}

}  // namespace winfs
