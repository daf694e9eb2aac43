// QUEUE: the runtime's typed in-memory list of records with a record buffer. Each operation
// reads or writes the buffer and sets the runtime error state (30 when nothing is found).
#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <type_traits>
#include <vector>

#include "runtime/cstring.h"
#include "runtime/errors.h"

namespace rt {

// A key component that orders its field from high to low: Descending(&Rec::field).
template <class Rec, class Field>
struct Descending {
  constexpr explicit Descending(Field Rec::*field) : member(field) {}
  Field Rec::*member;
};
template <class Rec, class Field>
Descending(Field Rec::*) -> Descending<Rec, Field>;

namespace queue_detail {

template <class T>
struct IsString : std::false_type {};
template <size_t N>
struct IsString<String<N>> : std::true_type {};

// One field of two records: texts as blank-padded bytes (exact, case-sensitive), numbers by
// value. Result < 0, 0 or > 0.
template <class T>
int CompareField(const T& a, const T& b) {
  if constexpr (IsString<T>::value) {
    const auto order = detail::ComparePadded(a.view(), b.view());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
  } else {
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>,
                  "a queue key is a STRING or a number field");
    return a < b ? -1 : b < a ? 1 : 0;
  }
}

// A number field is copied out byte-wise, so records packed with `#pragma pack(1)` (whose
// number fields may be misaligned) are read without a misaligned load.
template <class Rec, class Field>
int CompareMember(Field Rec::*member, const Rec& a, const Rec& b) {
  if constexpr (IsString<Field>::value) {
    return CompareField(a.*member, b.*member);
  } else {
    Field x;
    Field y;
    std::memcpy(&x, &(a.*member), sizeof x);
    std::memcpy(&y, &(b.*member), sizeof y);
    return CompareField(x, y);
  }
}

template <class Rec, class Field>
int CompareKey(Field Rec::*member, const Rec& a, const Rec& b) {
  return CompareMember(member, a, b);
}

template <class Rec, class Field>
int CompareKey(Descending<Rec, Field> key, const Rec& a, const Rec& b) {
  return -CompareMember(key.member, a, b);
}

// The first key component that tells a and b apart decides.
template <class Rec, class... Keys>
int Compare(const Rec& a, const Rec& b, const Keys&... keys) {
  int result = 0;
  (void)((result = CompareKey(keys, a, b), result != 0) || ...);
  return result;
}

}  // namespace queue_detail

// Queue<Rec> keeps entries of the trivially copyable record type Rec (a struct of String<N>,
// int32_t, double ...). Positions count from 1. Keys are pointers to members (&Rec::name) or
// Descending(&Rec::name), one or more, compared component by component.
//
// Pointer() is the position of the entry last read, added or rewritten (0 when there is none);
// Put() and Delete() work on it. Delete() leaves Pointer() at the deleted position; Free() and
// Sort() reset it to 0.
//
// Thread-safety: none of its own. Queues are shared between runtime threads under the runtime
// lock (only one runtime thread runs at a time), which is what makes that sharing race-free.
template <class Rec>
class Queue {
  static_assert(std::is_trivially_copyable_v<Rec>, "a queue record is plain data");

 public:
  Rec buf{};  // the record buffer: blank and zero until written

  // ADD: appends the buffer.
  void Add() {
    entries_.push_back(buf);
    pointer_ = Records();
    ClearError();
  }

  // ADD at a position: inserts the buffer so that it becomes entry pos; a position below 1 or
  // beyond the last entry appends.
  void Add(int32_t pos) {
    if (pos < 1 || pos > Records()) {
      Add();
      return;
    }
    entries_.insert(entries_.begin() + (pos - 1), buf);
    pointer_ = pos;
    ClearError();
  }

  // ADD in key order: inserts the buffer after every entry whose key is lower or equal. The
  // queue is expected to be in that order already (as Sort or AddByKey leave it).
  template <class... Keys>
  void AddByKey(const Keys&... keys) {
    static_assert(sizeof...(Keys) > 0, "name at least one key field");
    const size_t at = UpperBound(buf, keys...);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), buf);
    pointer_ = static_cast<int32_t>(at) + 1;
    ClearError();
  }

  // GET by position: fills the buffer with entry pos; error 30 (buffer kept) when there is none.
  void Get(int32_t pos) {
    if (pos < 1 || pos > Records()) {
      SetError(kEntryNotFound);
      return;
    }
    buf = entries_[static_cast<size_t>(pos - 1)];
    pointer_ = pos;
    ClearError();
  }

  // GET by key: fills the buffer with the first entry whose key fields equal the buffer's;
  // error 30 (buffer and Pointer() kept) when none does.
  template <class... Keys>
  void GetByKey(const Keys&... keys) {
    static_assert(sizeof...(Keys) > 0, "name at least one key field");
    for (size_t i = 0; i < entries_.size(); ++i) {
      if (queue_detail::Compare(entries_[i], buf, keys...) == 0) {
        buf = entries_[i];
        pointer_ = static_cast<int32_t>(i) + 1;
        ClearError();
        return;
      }
    }
    SetError(kEntryNotFound);
  }

  // PUT: rewrites the entry at Pointer() with the buffer; error 30 when there is none.
  void Put() {
    if (!HasCurrent()) {
      SetError(kEntryNotFound);
      return;
    }
    entries_[static_cast<size_t>(pointer_ - 1)] = buf;
    ClearError();
  }

  // PUT in key order: rewrites the entry at Pointer() and moves it to where AddByKey would put
  // it among the others; Pointer() follows it. Error 30 when there is no current entry.
  template <class... Keys>
  void PutByKey(const Keys&... keys) {
    static_assert(sizeof...(Keys) > 0, "name at least one key field");
    if (!HasCurrent()) {
      SetError(kEntryNotFound);
      return;
    }
    entries_.erase(entries_.begin() + (pointer_ - 1));
    AddByKey(keys...);
  }

  // DELETE: removes the entry at Pointer(); error 30 when there is none.
  void Delete() {
    if (!HasCurrent()) {
      SetError(kEntryNotFound);
      return;
    }
    entries_.erase(entries_.begin() + (pointer_ - 1));
    ClearError();
  }

  // FREE: removes every entry. The buffer keeps its contents.
  void Free() {
    entries_.clear();
    entries_.shrink_to_fit();
    pointer_ = 0;
    ClearError();
  }

  int32_t Records() const { return static_cast<int32_t>(entries_.size()); }
  int32_t Pointer() const { return pointer_; }

  // SORT: orders the entries by the keys; entries with equal keys keep their order.
  template <class... Keys>
  void Sort(const Keys&... keys) {
    static_assert(sizeof...(Keys) > 0, "name at least one key field");
    // Sorting positions, then copying each record once, keeps large records cheap to sort.
    std::vector<size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return queue_detail::Compare(entries_[a], entries_[b], keys...) < 0;
    });
    std::vector<Rec> sorted;
    sorted.reserve(entries_.size());
    for (size_t i : order) sorted.push_back(entries_[i]);
    entries_.swap(sorted);
    pointer_ = 0;
    ClearError();
  }

 private:
  bool HasCurrent() const { return pointer_ >= 1 && pointer_ <= Records(); }

  // Index of the first entry whose key is above rec's (binary search).
  template <class... Keys>
  size_t UpperBound(const Rec& rec, const Keys&... keys) const {
    const auto it = std::upper_bound(
        entries_.begin(), entries_.end(), rec,
        [&](const Rec& a, const Rec& b) { return queue_detail::Compare(a, b, keys...) < 0; });
    return static_cast<size_t>(it - entries_.begin());
  }

  std::vector<Rec> entries_;
  int32_t pointer_ = 0;
};

}  // namespace rt
