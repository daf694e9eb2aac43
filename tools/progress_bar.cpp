// The terminal progress bar.
#include "tools/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace vistip {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* stream)
    : stream_(stream), terminal_(isatty(fileno(stream)) == 1) {}

void TerminalProgress::Show(int64_t done, int64_t total) {
  if (!terminal_) return;
  total = std::max<int64_t>(total, 0);
  done = std::clamp<int64_t>(done, 0, total);
  if (done == shown_) return;
  shown_ = done;
  const int64_t percent = total == 0 ? 100 : done * 100 / total;
  const int filled = static_cast<int>(total == 0 ? kBarWidth : done * kBarWidth / total);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
  std::fprintf(stream_, "\r[%s] %3lld%% %lld/%lld", bar.c_str(), static_cast<long long>(percent),
               static_cast<long long>(done), static_cast<long long>(total));
  std::fflush(stream_);
  drawn_ = true;
}

void TerminalProgress::Finish() {
  if (drawn_) std::fputc('\n', stream_);
  drawn_ = false;
}

}  // namespace vistip
