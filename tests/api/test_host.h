// A host program's window for the tests: entries and buttons on a runtime thread of its own,
// armed with vtSHOWHELP once open, calling VTWATCH after every event of its loop and recording
// each call. The test thread drives it through the harness, as a user would.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/window.h"

namespace vistip::testing {

struct HostOptions {
  int32_t fields = 36;                    // fields 1..n: odd entries, even buttons
  std::vector<int32_t> extra_fields;      // further (hidden) string controls, e.g. -5
  bool arm = true;                        // call vtSHOWHELP after opening
  std::optional<std::string> exclusions;  // vtSHOWHELP's arguments
  std::optional<int32_t> flags;
  std::optional<std::string> popup_text;  // VTWATCH's argument
  int32_t x = 10, y = 20;                 // window position, dialog units
  // Called on the host's thread when VTWATCH returns a field number, as a host asks for the tip.
  std::function<void(int32_t field)> on_help;
};

struct WatchCall {
  int32_t event = 0;
  int32_t field = 0;
  int32_t keycode_before = 0;
  int32_t pos_control_before = 0;
  int32_t result = 0;
  int32_t keycode_after = 0;
  int32_t pos_control_after = 0;
};

// The host's field layout: where field f is in the window.
int32_t HostFieldX(int32_t field);
int32_t HostFieldY(int32_t field);

class TestHost {
 public:
  static constexpr const char* kCaption = "Test host";

  // Starts the host's thread; its window opens and is armed while the test thread waits.
  explicit TestHost(HostOptions options);
  // Closes the host's windows and waits for its thread to end.
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Waits until the window is open and vtSHOWHELP has returned; false on timeout.
  bool WaitArmed();
  rt::Window& window() { return *window_; }
  int32_t thread() const { return thread_; }
  const std::vector<WatchCall>& calls() const { return calls_; }
  std::vector<WatchCall> CallsWith(int32_t event) const;
  // The alert key in the help slot of a field of the host window.
  int32_t HelpAlert(int32_t field) const;

 private:
  void Run();

  HostOptions options_;
  rt::Window* window_ = nullptr;
  bool armed_ = false;
  std::vector<WatchCall> calls_;
  int32_t thread_ = 0;
};

// The open popup menu, waiting for it; nullptr when none appears in time.
rt::Window* WaitForPopup(std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Clicks the popup item whose text is shown as `item`; false when there is none.
bool ChoosePopupItem(rt::Window& popup, std::string_view item);
// The texts of a window's string controls, joined by blanks, with runs of blanks made one.
std::string ShownStrings(const rt::Window& w);
// Collapses runs of blanks into one and trims both ends.
std::string OneBlank(std::string_view text);

}  // namespace vistip::testing
