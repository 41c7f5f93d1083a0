// Little-endian bytes and whole-file writes for the build-time programs that
// draw the resources' pictures (.bmp and .ico files).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace image_bytes {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Writes the whole file; false when any part of it could not be written.
inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace image_bytes
