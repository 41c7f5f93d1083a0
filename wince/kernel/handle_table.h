// Numbered handle tables of the host: heap blocks, open files and searches.
// A handle is a number that fits in 32 bits, never 0, a multiple of 4, taken
// from a counter that only moves up: a freed number comes back only after the
// whole range has been used, and live numbers are skipped then, so a stale
// handle does not land on a new object soon.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>

#include <windows.h>

namespace wince {

template <class T>
class HandleTable {
 public:
  HandleTable(uint32_t first, uint32_t last) : first_(first), last_(last), next_(first) {}

  // The new handle's number, or 0 when every number in the range is live.
  uint32_t Add(T value) {
    uint64_t range = (uint64_t{last_} - first_) / 4 + 1;
    for (uint64_t tried = 0; tried < range; ++tried) {
      uint32_t number = next_;
      next_ = next_ >= last_ ? first_ : next_ + 4;
      if (items_.find(number) == items_.end()) {
        items_.emplace(number, std::move(value));
        return number;
      }
    }
    return 0;
  }

  T* Find(uint32_t number) {
    auto it = items_.find(number);
    return it == items_.end() ? nullptr : &it->second;
  }

  bool Remove(uint32_t number) { return items_.erase(number) != 0; }
  size_t Size() const { return items_.size(); }

  template <class F>
  void ForEach(F&& visit) {
    for (auto& [number, item] : items_) visit(number, item);
  }

  // Tests of the wrap-around start the counter near the end of the range.
  void SetNextForTesting(uint32_t number) { next_ = number; }

 private:
  uint32_t first_;
  uint32_t last_;
  uint32_t next_;
  std::unordered_map<uint32_t, T> items_;
};

// The number a HANDLE carries; 0 for NULL and for values that no table hands
// out (INVALID_HANDLE_VALUE, anything above 32 bits).
inline uint32_t HandleNumber(const void* handle) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  return value > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(value);
}

inline HANDLE HandleFromNumber(uint32_t number) {
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(number));
}

}  // namespace wince
