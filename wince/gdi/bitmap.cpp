// Device-dependent bitmaps: CreateCompatibleBitmap and CreateBitmap.
//
// Colour bitmaps have the display's format (32 bits per pixel); monochrome
// ones hold black and white. A bitmap compatible with a memory DC takes the
// format of the bitmap selected into it, so one made for a new memory DC is
// monochrome, as on Windows. A zero width or height gives the stock 1x1
// monochrome bitmap.
#include <cstring>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/kernel/not_implemented.h"

namespace wince::gdi {
namespace {

HBITMAP NewBitmap(int width, int height, int bitsPerPixel) {
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return static_cast<HBITMAP>(DefaultBitmap());
  Object o{Kind::Bitmap};
  o.bitmap.surface = MakeSurface(width, height, bitsPerPixel, 0);
  if (!o.bitmap.surface) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBITMAP>(AddObject(std::move(o)));
}

}  // namespace
}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return nullptr;
  int bits = dc->memory && dc->surface && dc->surface->Mono() ? 1 : 32;
  return NewBitmap(cx, cy, bits);
}

extern "C" HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                                       CONST VOID* lpBits) {
  UINT bits = nPlanes * nBitCount;
  if (nPlanes != 1 || (bits != 1 && bits != 24 && bits != 32)) {
    wince::NotImplemented("CreateBitmap", "only 1, 24 and 32 bits per pixel in one plane");
    return nullptr;
  }
  HBITMAP bitmap = NewBitmap(nWidth, nHeight, bits == 1 ? 1 : 32);
  if (!bitmap || !lpBits) return bitmap;
  Object* o = Find(bitmap, Kind::Bitmap);
  if (o->stock) return bitmap;
  Surface& s = *o->bitmap.surface;
  const auto* src = static_cast<const BYTE*>(lpBits);
  // Rows of device-dependent bits are padded to 16 bits.
  size_t stride = ((static_cast<size_t>(nWidth) * bits + 15) / 16) * 2;
  for (int y = 0; y < nHeight; ++y) {
    const BYTE* row = src + stride * y;
    for (int x = 0; x < nWidth; ++x) {
      COLORREF c;
      if (bits == 1) {
        c = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFF : 0;
      } else {
        const BYTE* p = row + static_cast<size_t>(x) * (bits / 8);
        c = RGB(p[2], p[1], p[0]);
      }
      s.At(x, y) = c;
    }
  }
  return bitmap;
}
