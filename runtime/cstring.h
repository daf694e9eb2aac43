// STRING(N): the runtime's fixed-length text of exactly N Windows-1252 bytes, blank-padded and
// unterminated, so record buffers can be packed structs of them. Assignment cuts or pads;
// comparison ignores trailing blanks. Thread-safety: a plain value, like a char array.
#pragma once

// A String has alignment 1. Pack a record of them with `#pragma pack(push, 1)` ... `pop`:
// GCC warns about `__attribute__((packed))` on a struct holding one, because its default
// constructor (all blanks) makes it non-POD, though the layout comes out the same.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

namespace rt {

namespace detail {

// Compares two texts as if the shorter were padded with blanks to the longer's length.
// Bytes compare unsigned, so Windows-1252 letters sort above ASCII.
constexpr std::strong_ordering ComparePadded(std::string_view a, std::string_view b) {
  const size_t n = a.size() > b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
    const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
    if (ca != cb) return ca <=> cb;
  }
  return std::strong_ordering::equal;
}

// The text without its trailing blanks. Fields are often long and mostly blank, so at run time
// the blanks are skipped eight at a time.
constexpr std::string_view ClipBlanks(std::string_view s) {
  size_t n = s.size();
  if (!std::is_constant_evaluated()) {
    constexpr uint64_t kEightBlanks = 0x2020202020202020ull;
    uint64_t word = 0;
    while (n >= sizeof word) {
      std::memcpy(&word, s.data() + n - sizeof word, sizeof word);
      if (word != kEightBlanks) break;
      n -= sizeof word;
    }
  }
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

}  // namespace detail

template <size_t N>
class String {
  static_assert(N > 0, "STRING(0) does not exist");

 public:
  constexpr String() noexcept { Fill(0); }
  constexpr String(std::string_view s) noexcept { assign(s); }  // NOLINT: implicit by design
  constexpr String(const char* s) noexcept { assign(s); }       // NOLINT: implicit by design
  String(const std::string& s) noexcept { assign(s); }          // NOLINT: implicit by design
  template <size_t M>
  constexpr String(const String<M>& s) noexcept {  // NOLINT: implicit by design
    assign(s.view());
  }
  constexpr String(const String&) noexcept = default;
  constexpr String& operator=(const String&) noexcept = default;

  constexpr String& operator=(std::string_view s) noexcept { return assign(s); }
  constexpr String& operator=(const char* s) noexcept { return assign(s); }
  String& operator=(const std::string& s) noexcept { return assign(std::string_view(s)); }
  template <size_t M>
  constexpr String& operator=(const String<M>& s) noexcept {
    return assign(s.view());
  }

  // Copies s, cutting it at N bytes or padding it with blanks to N.
  constexpr String& assign(std::string_view s) noexcept {
    const size_t n = s.size() < N ? s.size() : N;
    for (size_t i = 0; i < n; ++i) data_[i] = s[i];
    Fill(n);
    return *this;
  }
  constexpr String& assign(const char* s) noexcept {
    return assign(s ? std::string_view(s) : std::string_view());
  }
  String& assign(const std::string& s) noexcept { return assign(std::string_view(s)); }

  static constexpr size_t size() noexcept { return N; }
  constexpr char* data() noexcept { return data_; }
  constexpr const char* data() const noexcept { return data_; }
  // All N bytes, trailing blanks included.
  constexpr std::string_view view() const noexcept { return std::string_view(data_, N); }
  // The text without trailing blanks (CLIP).
  constexpr std::string_view clip() const noexcept { return detail::ClipBlanks(view()); }
  std::string str() const { return std::string(clip()); }
  constexpr bool blank() const noexcept { return clip().empty(); }
  constexpr void clear() noexcept { Fill(0); }

  // Character i, counted from 1; positions outside 1..N read as a blank.
  constexpr char at(size_t i) const noexcept { return i >= 1 && i <= N ? data_[i - 1] : ' '; }
  // Sets character i, counted from 1; positions outside 1..N are ignored.
  constexpr void set(size_t i, char c) noexcept {
    if (i >= 1 && i <= N) data_[i - 1] = c;
  }

  template <size_t M>
  friend constexpr bool operator==(const String& a, const String<M>& b) noexcept {
    return a.clip() == b.clip();
  }
  template <size_t M>
  friend constexpr std::strong_ordering operator<=>(const String& a, const String<M>& b) noexcept {
    return detail::ComparePadded(a.view(), b.view());
  }
  friend constexpr bool operator==(const String& a, std::string_view b) noexcept {
    return a.clip() == detail::ClipBlanks(b);
  }
  friend constexpr std::strong_ordering operator<=>(const String& a, std::string_view b) noexcept {
    return detail::ComparePadded(a.view(), b);
  }
  friend std::ostream& operator<<(std::ostream& os, const String& s) { return os << s.clip(); }

 private:
  constexpr void Fill(size_t from) noexcept {
    for (size_t i = from; i < N; ++i) data_[i] = ' ';
  }

  char data_[N];
};

static_assert(sizeof(String<7>) == 7);
static_assert(std::is_trivially_copyable_v<String<7>>);
static_assert(std::is_standard_layout_v<String<7>>);

}  // namespace rt
