// The headless backend: windows exist only in the model; input comes from the test harness.
#include "runtime/headless/headless.h"

#include "runtime/input.h"

namespace rt {
namespace {

class HeadlessBackend : public Backend {
 public:
  const char* name() const override { return "headless"; }
  // With no window manager the window opened last takes the focus.
  void WindowOpened(Window& w) override { input::WindowFocus(w, true); }
  void WindowClosed(Window&) override {}
  void WindowChanged(Window&) override {}
  void Beep() override {}
};

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace rt
