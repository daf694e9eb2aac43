// A progress bar on the terminal, redrawn in place on one line; nothing at all when the stream
// is not a terminal (a pipe, a file, CI logs).
#pragma once

#include <cstdint>
#include <cstdio>

namespace vistip {

class TerminalProgress {
 public:
  explicit TerminalProgress(std::FILE* stream);
  // Shows done of total ("[#########...........]  45% 450/1000"), redrawing only on a change.
  void Show(int64_t done, int64_t total);
  // Ends the bar's line.
  void Finish();

 private:
  std::FILE* stream_;
  bool terminal_;
  int64_t shown_ = -1;  // the done count last drawn
  bool drawn_ = false;
};

}  // namespace vistip
