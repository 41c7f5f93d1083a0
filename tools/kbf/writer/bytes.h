// Little-endian field writing and reading for the record codecs (internal).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kbf::detail {

class ByteWriter {
 public:
  explicit ByteWriter(size_t reserve) { bytes_.reserve(reserve); }
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  template <size_t N>
  void Bytes(const std::array<uint8_t, N>& a) {
    bytes_.insert(bytes_.end(), a.begin(), a.end());
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads fields in order; bytes past the end of the input read as 0.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint8_t U8() { return pos_ < bytes_.size() ? bytes_[pos_++] : (pos_++, 0); }
  uint16_t U16() {
    uint16_t lo = U8();
    return static_cast<uint16_t>(lo | (U8() << 8));
  }
  uint32_t U32() {
    uint32_t lo = U16();
    return lo | (static_cast<uint32_t>(U16()) << 16);
  }
  template <size_t N>
  std::array<uint8_t, N> Bytes() {
    std::array<uint8_t, N> a{};
    for (auto& b : a) b = U8();
    return a;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

}  // namespace kbf::detail
