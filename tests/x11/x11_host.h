// A small host program for the X11 tests: an order form on a runtime thread of its own, armed
// with vtSHOWHELP, asking for a tip with vtCALLHELPTIP whenever VTWATCH reports a "What's This"
// pick; and the sample tip file of the demo host, built in a temporary directory.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "runtime/window.h"

namespace x11test {

// Fields of the host form, and the tip names they ask for.
inline constexpr int32_t kCustomerPrompt = 1;
inline constexpr int32_t kCustomer = 2;
inline constexpr int32_t kProduct = 3;
inline constexpr int32_t kSave = 4;

class X11Host {
 public:
  // Opens the form at (x, y) dialog units with its tips from tip_file.
  X11Host(std::string tip_file, int32_t x, int32_t y, std::string caption = "Order Entry");
  // Closes whatever is still open on the host's thread and waits for it to end.
  ~X11Host();
  X11Host(const X11Host&) = delete;
  X11Host& operator=(const X11Host&) = delete;

  // Waits until the form is on the screen and has been drawn; false on timeout.
  bool WaitShown();
  rt::Window& window() { return *window_; }
  unsigned long xid() const;
  int32_t thread() const { return thread_; }
  // When VTWATCH last returned a pick (the host then called vtCALLHELPTIP).
  std::chrono::steady_clock::time_point picked_at() const { return picked_at_; }
  int32_t picks() const { return picks_; }

 private:
  void Run();

  std::string tip_file_;
  int32_t x_, y_;
  std::string caption_;
  rt::Window* window_ = nullptr;
  int32_t thread_ = 0;
  int32_t picks_ = 0;
  std::chrono::steady_clock::time_point picked_at_;
};

// The demo's sample tips (demo/tips.vtx) as a tip file at path; false with a test failure when
// they cannot be built.
bool BuildSampleTips(const std::filesystem::path& path);

// Right-clicks a field of the host and picks "What's This" from the popup menu with the mouse.
bool AskForTip(X11Host& host, int32_t field);

// AskForTip, then WaitForTip. Now and then a right-click from xdotool brings up no menu, or
// the pick misses it; the steps are then made again (up to three times).
rt::Window* ShowTipFor(X11Host& host, int32_t field);

// The shown tip window of a thread other than `not_thread`, waiting until it is on the screen
// and drawn in the tip colour; nullptr on timeout.
rt::Window* WaitForTip(int32_t not_thread,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5));
// The first of the tip's own controls (fields from 300) that shows this text, or 0.
int32_t TipField(const rt::Window& tip, const std::string& text);
// What the tip windows of the process are doing, for failure messages.
std::string TipWindowsState();
// Waits until the tip window of that thread shows a control with this text and is drawn.
bool WaitForTipText(rt::Window& tip, const std::string& text);

}  // namespace x11test
