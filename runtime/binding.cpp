// Reading and writing a control's bound variable.
#include <algorithm>
#include <cstring>

#include "runtime/cstring.h"
#include "runtime/strings.h"
#include "runtime/window.h"

namespace rt {

std::string Binding::Get() const {
  if (number != nullptr) return std::to_string(*number);
  if (text == nullptr) return {};
  return std::string(detail::ClipBlanks(std::string_view(text, size)));
}

void Binding::Set(std::string_view value) {
  if (number != nullptr) {
    *number = ToLong(value);
    return;
  }
  if (text == nullptr) return;
  const size_t n = std::min(size, value.size());
  std::memcpy(text, value.data(), n);
  std::memset(text + n, ' ', size - n);
}

}  // namespace rt
