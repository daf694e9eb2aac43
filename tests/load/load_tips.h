// The tips of the load test's tip file, known to the test that writes the file and to every
// host process: each window of each process owns one tip, and a few tips belong to nobody.
#pragma once

#include <string>

namespace vistip::load {

inline constexpr int kProcesses = 4;
inline constexpr int kWindowsPerProcess = 2;
inline constexpr int kSharedTips = 4;
inline constexpr int kTips = kProcesses * kWindowsPerProcess + kSharedTips;
inline constexpr const char* kProcedure = "LOAD";
inline constexpr const char* kType = "ENTRY";
// The two link texts every tip shows; their targets are in the tip's settings, so following
// them never writes.
inline constexpr const char* kLinkTexts[] = {"next", "jump"};

// Tip i: the owned ones first (window w of process p is p * kWindowsPerProcess + w).
inline std::string ControlName(int tip) {
  if (tip < kProcesses * kWindowsPerProcess)
    return "O" + std::to_string(tip / kWindowsPerProcess) +
           std::to_string(tip % kWindowsPerProcess);
  return "S" + std::to_string(tip - kProcesses * kWindowsPerProcess);
}
inline int OwnedTip(int process, int window) {
  return process * kWindowsPerProcess + window;
}

// A tip's text: a sentence naming its control and a version, then the two links.
inline std::string TipText(const std::string& control, const std::string& version) {
  return "Tip " + control + " " + version + " <LNK:next> <LNK:jump>";
}
inline std::string TipSettings(int tip) {
  auto link = [](int n, int target) {
    return "[LNK" + std::to_string(n) + "]LINKTIPPROC;" + kProcedure + "\xAB" + "LINKTIPCTL;" +
           ControlName(target) + "\xAB";
  };
  return link(1, (tip + 1) % kTips) + link(2, (tip * 5 + 3) % kTips);
}

}  // namespace vistip::load
