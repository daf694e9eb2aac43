// The headless backend: the window model with no screen, for tests and for rendering to PNG.
#pragma once

#include <memory>

#include "runtime/backend.h"

namespace rt {

std::unique_ptr<Backend> MakeHeadlessBackend();

}  // namespace rt
