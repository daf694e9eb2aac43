// The setting of the tip window's X11 tests: a temporary directory (also the current one) with
// the demo's sample tips in tips.tps, host forms opened by the test, and clicks on the tip.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/x11/x11_backend.h"
#include "state/state.h"
#include "tests/x11/x11_fixture.h"
#include "tests/x11/x11_host.h"
#include "tipwindow/help_tip_window.h"

namespace x11test {

class TipWindowX11Test : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped()) return;
    dir_ = std::filesystem::temp_directory_path() / ("vistip_x11_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    vistip::GLO = vistip::GlobalState{};
    vistip::POS = vistip::PositionState{};
    ASSERT_TRUE(BuildSampleTips(dir_ / "tips.tps"));
  }
  void TearDown() override {
    if (dir_.empty()) return;
    for (rt::Window* w : rt::OpenWindows()) {
      if (w->color() != vistip::tipwindow::kTipColor) continue;
      const int32_t t = w->thread();
      rt::harness::CloseWindow(*w);
      EXPECT_TRUE(rt::Join(t));
    }
    hosts_.clear();
    vistip::GLO = vistip::GlobalState{};
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }

  X11Host& OpenHost(int32_t x, int32_t y, std::string caption = "Order Entry") {
    hosts_.push_back(std::make_unique<X11Host>("tips.tps", x, y, std::move(caption)));
    EXPECT_TRUE(hosts_.back()->WaitShown());
    return *hosts_.back();
  }

  // Clicks a field of the tip with the mouse.
  static bool ClickTip(rt::Window& tip, int32_t field) {
    const auto [x, y] = FieldCentre(tip, field);
    return ClickAt(rt::X11WindowId(tip), x, y, 1);
  }

  std::filesystem::path dir_, old_dir_;
  std::vector<std::unique_ptr<X11Host>> hosts_;
};

}  // namespace x11test
