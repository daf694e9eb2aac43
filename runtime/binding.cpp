// Reading and writing a control's bound variable.
#include <algorithm>
#include <cstring>

#include "runtime/strings.h"
#include "runtime/window.h"

namespace rt {

std::string Binding::Get() const {
  if (number != nullptr) return std::to_string(*number);
  if (text == nullptr) return {};
  size_t n = size;
  while (n > 0 && text[n - 1] == ' ') --n;
  return std::string(text, n);
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
