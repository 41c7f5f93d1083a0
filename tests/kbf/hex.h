// Hex dumps for comparing stored bytes in test failures.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace kbf_test {

inline std::string Hex(std::span<const uint8_t> bytes) {
  std::string out;
  char cell[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(cell, sizeof cell, "%02x", bytes[i]);
    if (i) out += ' ';
    out += cell;
  }
  return out;
}

}  // namespace kbf_test
