// Bitmaps from packed DIBs: what LoadBitmapW makes of a module's RT_BITMAP
// resource (a BITMAPINFOHEADER, its colour table, then the bits).
//
// Accepted: a header of 40 bytes or more, one plane, 1, 4, 8, 24 or 32 bits
// per pixel, BI_RGB, or BI_BITFIELDS with the standard 8-8-8 masks at 32
// bits; rows bottom-up (positive height) or top-down (negative height),
// each padded to 32 bits. The result is a colour bitmap in the display's
// format, except a 1-bit DIB whose two colours are black and white, which
// becomes a monochrome bitmap as on the platform. Every field is read byte
// by byte and checked against the data's size before any pixel is read.
#include <cstdint>
#include <utility>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/host/surface.h"

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t U32(const BYTE* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t U16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

HBITMAP Invalid() {
  SetLastError(ERROR_INVALID_DATA);
  return nullptr;
}

}  // namespace

namespace wince::host {

HBITMAP CreateBitmapFromPackedDib(const void* data, size_t size) {
  const auto* dib = static_cast<const BYTE*>(data);
  if (!dib || size < 40) return Invalid();
  uint32_t headerSize = U32(dib);
  int32_t width = static_cast<int32_t>(U32(dib + 4));
  int32_t height = static_cast<int32_t>(U32(dib + 8));
  uint16_t planes = U16(dib + 12);
  uint16_t bits = U16(dib + 14);
  uint32_t compression = U32(dib + 16);
  uint32_t coloursUsed = U32(dib + 32);
  if (headerSize < 40 || headerSize > size || planes != 1) return Invalid();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return Invalid();
  if (width <= 0 || height == 0 || height == INT32_MIN) return Invalid();
  bool topDown = height < 0;
  int64_t rows = topDown ? -int64_t{height} : height;
  if (int64_t{width} * rows > gdi::kMaxSurfacePixels) return Invalid();

  uint64_t offset = headerSize;
  if (compression == kBiBitfields) {
    if (bits != 32) return Invalid();
    // A 40-byte header is followed by the three masks; longer ones hold them.
    uint64_t masksAt = 40;
    if (headerSize == 40) offset += 12;
    if (masksAt + 12 > size) return Invalid();
    if (U32(dib + masksAt) != 0xFF0000 || U32(dib + masksAt + 4) != 0xFF00 ||
        U32(dib + masksAt + 8) != 0xFF)
      return Invalid();
  } else if (compression != kBiRgb) {
    return Invalid();
  }
  uint32_t paletteSize = 0;
  if (bits <= 8) {
    paletteSize = coloursUsed ? coloursUsed : (1u << bits);
    if (paletteSize > (1u << bits)) return Invalid();
  }
  const uint64_t paletteAt = offset;
  offset += uint64_t{paletteSize} * 4;
  uint64_t stride = ((uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32) * 4;
  if (offset > size || stride * static_cast<uint64_t>(rows) > size - offset) return Invalid();

  std::vector<COLORREF> palette(paletteSize);
  for (uint32_t i = 0; i < paletteSize; ++i) {
    const BYTE* q = dib + paletteAt + uint64_t{i} * 4;
    palette[i] = RGB(q[2], q[1], q[0]);
  }
  bool mono = bits == 1 && paletteSize == 2 &&
              ((palette[0] == 0 && palette[1] == 0xFFFFFF) ||
               (palette[0] == 0xFFFFFF && palette[1] == 0));
  auto surface = gdi::MakeSurface(width, static_cast<int>(rows), mono ? 1 : 32, 0);
  if (!surface) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const BYTE* pixels = dib + offset;
  for (int64_t r = 0; r < rows; ++r) {
    const BYTE* line = pixels + stride * static_cast<uint64_t>(r);
    int y = static_cast<int>(topDown ? r : rows - 1 - r);
    for (int x = 0; x < width; ++x) {
      COLORREF c = 0;
      if (bits <= 8) {
        unsigned bitAt = static_cast<unsigned>(x) * bits;
        unsigned index = (line[bitAt / 8] >> (8 - bits - bitAt % 8)) & ((1u << bits) - 1);
        // An index past the colour table reads as black.
        c = index < paletteSize ? palette[index] : 0;
      } else {
        const BYTE* p = line + static_cast<size_t>(x) * (bits / 8);
        c = RGB(p[2], p[1], p[0]);
      }
      surface->At(x, y) = c;
    }
  }
  gdi::Object o(gdi::Kind::Bitmap);
  o.bitmap.surface = std::move(surface);
  return static_cast<HBITMAP>(gdi::AddObject(std::move(o)));
}

}  // namespace wince::host
