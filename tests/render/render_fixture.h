// Test fixture for drawing: a private device folder, a keyboard built with the
// writer and loaded by the system's loader, and a 32-bit memory surface to draw
// on and read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/kbf/writer/kbf_writer.h"

namespace render_test {

// What an untouched pixel of the surface holds: no palette colour.
constexpr COLORREF PAPER = RGB(1, 2, 3);

// A memory device context on a 32-bit bitmap, filled with PAPER.
class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  // Every pixel, row by row.
  std::vector<COLORREF> Pixels() const;
  // Pixels of colour c as (x, y), row by row.
  std::vector<POINT> PixelsOf(COLORREF c) const;
  void Fill(COLORREF c);

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Smallest rectangle holding every pixel of colour c; empty (all 0) if none.
RECT BoundsOf(const Surface& s, COLORREF c);

// Each test gets its own device folder and a clean modifier state; the loaded
// keyboard is released afterwards.
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the keyboard as a container into the device folder and loads it.
  void Load(const kbf::Keyboard& keyboard);

  // One panel at (0, 0) holding `key` at (x, y) of a panel of the given size.
  static kbf::Keyboard OneKey(const kbf::KeyRecord& key, uint16_t x = 4, uint16_t y = 4,
                              uint16_t panelWidth = 100, uint16_t panelHeight = 60);

  // The handle of key k of panel p of the loaded keyboard, and its down byte.
  static DWORD KeyHandle(DWORD panel, DWORD k);
  static BYTE Down(DWORD panel, DWORD k);

  // A surface with just `key` drawn on it (loaded alone at (4, 4)).
  std::vector<COLORREF> DrawAlone(const kbf::KeyRecord& key, WORD shiftState = 0);

  std::filesystem::path deviceFolder_;
};

}  // namespace render_test
