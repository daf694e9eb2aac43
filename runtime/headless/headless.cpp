// The headless backend: windows exist only in the model; input comes from the test harness.
#include "runtime/headless/headless.h"

namespace rt {
namespace {

class HeadlessBackend : public Backend {
 public:
  const char* name() const override { return "headless"; }
  void WindowOpened(Window&) override {}
  void WindowClosed(Window&) override {}
  void WindowChanged(Window&) override {}
  void Beep() override {}
};

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace rt
