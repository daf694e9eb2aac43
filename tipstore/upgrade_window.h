// The wait window of a tip file upgrade: the text "Please wait... upgrading Vistip Tip file..."
// and below it a progress bar (field 2) showing the upgrade's counter.
#pragma once

#include <cstdint>

#include "runtime/window.h"

namespace vistip {

class UpgradeWaitWindow {
 public:
  static constexpr int32_t kTextField = 1;
  static constexpr int32_t kProgressField = 2;

  // Opens the window on the calling thread, its bar bound to `counter`.
  explicit UpgradeWaitWindow(int32_t& counter);
  ~UpgradeWaitWindow();  // closes it
  UpgradeWaitWindow(const UpgradeWaitWindow&) = delete;
  UpgradeWaitWindow& operator=(const UpgradeWaitWindow&) = delete;

  void SetUpperBound(int32_t value);  // property 7C15H of the bar
  void Redisplay();                   // shows the counter's present value
  const rt::Window& window() const { return window_; }

 private:
  const int32_t& counter_;
  rt::Window window_;
};

}  // namespace vistip
