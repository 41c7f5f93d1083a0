// Shared by the GDI conformance tests: a memory DC on a colour bitmap, and
// pixel sets read back through the host's surface view.
#pragma once

#include <set>
#include <utility>

#include <windows.h>

#include "wince/host/surface.h"

namespace gdi_test {

using Pixel = std::pair<int, int>;  // (x, y)
using PixelSet = std::set<Pixel>;

// A memory DC holding a colour bitmap of the given size, filled with `fill`.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
      : dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateBitmap(width, height, 1, 32, nullptr)),
        previous_(SelectObject(dc_, bitmap_)),
        width_(width),
        height_(height) {
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }

  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

  // Every pixel of exactly this colour.
  PixelSet PixelsOf(COLORREF colour) const {
    PixelSet out;
    auto view = wince::host::ViewOf(dc_);
    for (int y = 0; y < view->height; ++y)
      for (int x = 0; x < view->width; ++x)
        if (view->At(x, y) == colour) out.insert({x, y});
    return out;
  }

  // Every pixel that is not this colour.
  PixelSet PixelsNot(COLORREF colour) const {
    PixelSet out;
    auto view = wince::host::ViewOf(dc_);
    for (int y = 0; y < view->height; ++y)
      for (int x = 0; x < view->width; ++x)
        if (view->At(x, y) != colour) out.insert({x, y});
    return out;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  int width_;
  int height_;
};

// The smallest rectangle holding every pixel of the set (empty set: all 0).
inline RECT Bounds(const PixelSet& pixels) {
  if (pixels.empty()) return RECT{0, 0, 0, 0};
  RECT r{pixels.begin()->first, pixels.begin()->second, pixels.begin()->first + 1,
         pixels.begin()->second + 1};
  for (const Pixel& p : pixels) {
    if (p.first < r.left) r.left = p.first;
    if (p.first >= r.right) r.right = p.first + 1;
    if (p.second < r.top) r.top = p.second;
    if (p.second >= r.bottom) r.bottom = p.second + 1;
  }
  return r;
}

inline PixelSet Box(int left, int top, int right, int bottom) {
  PixelSet out;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) out.insert({x, y});
  return out;
}

}  // namespace gdi_test
