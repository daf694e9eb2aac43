// Choosing the process's display backend: X11 when a display is there, headless otherwise.
#include "runtime/backend.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "runtime/headless/headless.h"
#include "runtime/x11/x11_backend.h"

namespace rt {
namespace {

std::unique_ptr<Backend>& Instance() {
  static std::unique_ptr<Backend>* backend = new std::unique_ptr<Backend>;
  return *backend;
}

}  // namespace

Backend& CurrentBackend() {
  std::unique_ptr<Backend>& b = Instance();
  if (!b) {
    const char* display = std::getenv("DISPLAY");
    const char* choice = std::getenv("VTRT_BACKEND");
    const bool headless = choice != nullptr && std::string_view(choice) == "headless";
    if (display != nullptr && *display != '\0' && !headless) b = MakeX11Backend();
    if (!b) b = MakeHeadlessBackend();
  }
  return *b;
}

Backend* ChosenBackend() {
  return Instance().get();
}

void UseHeadlessBackend() {
  std::unique_ptr<Backend>& b = Instance();
  if (!b || std::string_view(b->name()) != "headless") b = MakeHeadlessBackend();
}

}  // namespace rt
