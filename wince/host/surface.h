// Test and tool hooks of the host's GDI: a direct view of the pixels of a
// bitmap or of what a device context draws into, saving pixels as PNG, the
// count of live GDI objects for leak checks, and the bitmap conversion that
// LoadBitmapW applies to a module's bitmap resource.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>

#include <windows.h>

namespace wince::host {

// Pixels in rows of `width`, each a COLORREF (0x00BBGGRR); a monochrome
// surface holds only black (0) and white (0xFFFFFF). The view shares the
// surface: it sees later drawing and stays valid after the bitmap or DC is
// deleted.
struct SurfaceView {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 1 or 32
  std::shared_ptr<const COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels.get()[static_cast<size_t>(y) * width + x]; }
};

// The whole surface a DC draws into (for a memory DC, its selected bitmap).
std::optional<SurfaceView> ViewOf(HDC hdc);
std::optional<SurfaceView> ViewOfBitmap(HBITMAP bitmap);

// Writes 8-bit RGB PNG; false when the file cannot be written.
bool SavePng(const SurfaceView& view, const std::filesystem::path& file);
// The same for [left, right) x [top, bottom) of the view, cut to it.
bool SavePng(const SurfaceView& view, const RECT& part, const std::filesystem::path& file);

// Pens, brushes, fonts, bitmaps and DCs that were created and not deleted
// (stock objects excluded).
size_t LiveGdiObjects();

// Pens, brushes, fonts and bitmaps created since the process started, every
// creating call counted (CreatePen, CreateSolidBrush, CreateFontIndirectW,
// CreateBitmap, CreateCompatibleBitmap, LoadBitmapW, ...), stock objects and
// the system colour brushes not. Device contexts are counted apart: every
// DC the host makes (CreateCompatibleDC, GetDC, BeginPaint, and the frame
// painting of a window with a caption).
size_t GdiObjectsCreated();
size_t DeviceContextsCreated();

// A bitmap from a packed DIB (a BITMAPINFOHEADER, its colour table, then
// the bits), as LoadBitmapW makes one from a module's RT_BITMAP resource;
// NULL with ERROR_INVALID_DATA when the DIB is malformed or unsupported.
HBITMAP CreateBitmapFromPackedDib(const void* data, size_t size);

}  // namespace wince::host
