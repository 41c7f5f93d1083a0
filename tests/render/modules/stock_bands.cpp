// A stock-face library for tests: bitmaps 101 (up) and 103 (down), 100 x 100,
// each made of three vertical bands in flat colours: source columns 0-14,
// 15-84 and 85-99, the three parts a wide key stretches separately. Built
// with STOCK_UP_ONLY it holds bitmap 101 alone.
#include <array>
#include <cstdint>

#include "wince/kernel/resource_table.h"

namespace {

constexpr int SIZE = 100;
constexpr int HEADER = 40;
constexpr int ROW_BYTES = SIZE * 3;  // 300: already a multiple of 4
using Dib = std::array<uint8_t, HEADER + ROW_BYTES * SIZE>;

struct Rgb {
  uint8_t r, g, b;
};

constexpr void Put32(Dib& d, int at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr Dib Bands(Rgb left, Rgb middle, Rgb right) {
  Dib d{};
  Put32(d, 0, HEADER);
  Put32(d, 4, SIZE);
  Put32(d, 8, SIZE);
  d[12] = 1;   // planes
  d[14] = 24;  // bits per pixel
  for (int y = 0; y < SIZE; ++y) {
    for (int x = 0; x < SIZE; ++x) {
      const Rgb c = x < 15 ? left : x < 85 ? middle : right;
      const int at = HEADER + y * ROW_BYTES + x * 3;
      d[at] = c.b;
      d[at + 1] = c.g;
      d[at + 2] = c.r;
    }
  }
  return d;
}

// Keep in step with tests/render/stock_face_test.cpp.
constexpr Dib UP = Bands({250, 10, 10}, {10, 250, 10}, {10, 10, 250});
#ifndef STOCK_UP_ONLY
constexpr Dib DOWN = Bands({120, 0, 0}, {0, 120, 0}, {0, 0, 120});
#endif

const WinceResource RESOURCES[] = {
    {2, nullptr, 101, nullptr, UP.data(), static_cast<uint32_t>(UP.size())},
#ifndef STOCK_UP_ONLY
    {2, nullptr, 103, nullptr, DOWN.data(), static_cast<uint32_t>(DOWN.size())},
#endif
};

}  // namespace

extern "C" const WinceResourceDirectory wince_resource_directory = {
    wince::kResourceMagic, wince::kResourceVersion,
    static_cast<uint32_t>(sizeof(RESOURCES) / sizeof(RESOURCES[0])), RESOURCES};
