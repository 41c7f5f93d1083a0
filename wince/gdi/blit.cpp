// Blits: BitBlt, StretchBlt and PatBlt, with any ternary raster operation.
//
// Pixel mapping of StretchBlt, on each axis independently (S source pixels
// onto D destination pixels):
// - enlarging or equal (D >= S): destination pixel i takes source pixel
//   ceil((2i + 1) S / 2D) - 1, the one under its centre;
// - shrinking (D < S): source pixel m falls on destination pixel
//   ceil((2m + 1) D / 2S) - 1, and the pixels that fall on one destination
//   pixel merge by the stretch mode: BLACKONWHITE (the default) ANDs them,
//   WHITEONBLACK ORs them, COLORONCOLOR keeps the first, HALFTONE averages.
// A negative width or height mirrors that axis; the destination then covers
// (x + w, x]. Sources are converted to the destination's format before they
// merge: a monochrome source paints its black in the destination's text
// colour and its white in the background colour; a colour source on a
// monochrome destination is white where it equals the source DC's
// background colour and black elsewhere.
#include <algorithm>
#include <memory>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::gdi {
namespace {

struct AxisPixel {
  int dest;       // logical destination coordinate
  int64_t first;  // source indexes [first, last] along the axis
  int64_t last;
};

int64_t FloorDiv(int64_t num, int64_t den) {  // den > 0
  int64_t q = num / den;
  if (num % den != 0 && num < 0) --q;
  return q;
}

// Destination pixels of one axis that fall inside [clipLow, clipHigh), each
// with the run of source indexes it takes.
std::vector<AxisPixel> MapAxis(int destStart, int destLength, int64_t srcLength,
                               int64_t clipLow, int64_t clipHigh) {
  std::vector<AxisPixel> out;
  int64_t d = destLength < 0 ? -int64_t{destLength} : destLength;
  int64_t s = srcLength < 0 ? -srcLength : srcLength;
  int64_t step = destLength < 0 ? -1 : 1;
  // Only destination indexes inside the clip are walked.
  int64_t lo = 0;
  int64_t hi = d - 1;
  if (step > 0) {
    lo = std::max<int64_t>(lo, clipLow - destStart);
    hi = std::min<int64_t>(hi, clipHigh - 1 - destStart);
  } else {
    lo = std::max<int64_t>(lo, destStart - (clipHigh - 1));
    hi = std::min<int64_t>(hi, destStart - clipLow);
  }
  for (int64_t i = lo; i <= hi; ++i) {
    AxisPixel p;
    p.dest = static_cast<int>(destStart + i * step);
    if (d >= s) {
      p.first = p.last = FloorDiv((2 * i + 1) * s + 2 * d - 1, 2 * d) - 1;  // ceil - 1
    } else {
      p.first = FloorDiv(2 * i * s - d, 2 * d) + 1;
      p.last = FloorDiv(2 * (i + 1) * s - d, 2 * d);
    }
    out.push_back(p);
  }
  return out;
}

COLORREF Rop3(DWORD rop, COLORREF p, COLORREF s, COLORREF d) {
  unsigned t = (rop >> 16) & 0xFF;
  if (t == 0xCC) return s;
  COLORREF result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(t & (1u << i))) continue;
    COLORREF term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return result & 0xFFFFFF;
}

bool UsesSource(DWORD rop) {
  unsigned t = (rop >> 16) & 0xFF;
  return (((t >> 2) ^ t) & 0x33) != 0;
}

bool UsesPattern(DWORD rop) {
  unsigned t = (rop >> 16) & 0xFF;
  return (((t >> 4) ^ t) & 0x0F) != 0;
}

struct Source {
  std::shared_ptr<const Surface> surface;
  const DeviceContext* dc = nullptr;
  int x0 = 0, y0 = 0;        // logical start of the source rectangle
  int xStep = 1, yStep = 1;  // +1, or -1 for a mirrored axis
};

COLORREF Convert(const Source& src, const DeviceContext& dest, COLORREF value) {
  bool srcMono = src.surface->Mono();
  bool destMono = dest.surface->Mono();
  if (srcMono == destMono) return value;
  if (srcMono)
    return (value ? dest.bkColour : dest.textColour) & 0xFFFFFF;
  return value == (src.dc->bkColour & 0xFFFFFF) ? 0xFFFFFF : 0;
}

// The merged, converted source pixel for a destination pixel; false when
// every source pixel it takes lies outside the source.
bool Sample(const Source& src, const DeviceContext& dest, const AxisPixel& col,
            const AxisPixel& row, int mode, COLORREF* out) {
  const Surface& s = *src.surface;
  const RECT& clip = src.dc->clip;
  bool any = false;
  COLORREF merged = 0;
  unsigned sumR = 0, sumG = 0, sumB = 0, count = 0;
  for (int64_t j = row.first; j <= row.last; ++j) {
    int64_t sy = src.y0 + j * src.yStep + int64_t{src.dc->origin.y};
    if (sy < clip.top || sy >= clip.bottom) continue;
    for (int64_t k = col.first; k <= col.last; ++k) {
      int64_t sx = src.x0 + k * src.xStep + int64_t{src.dc->origin.x};
      if (sx < clip.left || sx >= clip.right) continue;
      COLORREF v = Convert(src, dest, s.At(static_cast<int>(sx), static_cast<int>(sy)));
      if (!any) {
        merged = v;
        any = true;
      } else if (mode == BLACKONWHITE) {
        merged &= v;
      } else if (mode == WHITEONBLACK) {
        merged |= v;
      }
      sumR += GetRValue(v);
      sumG += GetGValue(v);
      sumB += GetBValue(v);
      ++count;
    }
  }
  if (!any) return false;
  if (mode == HALFTONE && count > 1)
    merged = RGB((sumR + count / 2) / count, (sumG + count / 2) / count, (sumB + count / 2) / count);
  *out = merged;
  return true;
}

}  // namespace
}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest,
                                  HDC hdcSrc, int xSrc, int ySrc, int wSrc, int hSrc,
                                  DWORD rop) {
  DeviceContext* dest = FindDC(hdcDest);
  if (!dest) return FALSE;
  bool usesSource = UsesSource(rop);
  Source src;
  if (usesSource) {
    DeviceContext* srcDc = FindDC(hdcSrc);
    if (!srcDc) return FALSE;
    if (!srcDc->surface) return TRUE;
    src.dc = srcDc;
    // Blitting within one surface reads a copy, so overlapping areas come out
    // as if the source had been read whole first.
    src.surface = srcDc->surface == dest->surface
                      ? std::make_shared<const Surface>(*srcDc->surface)
                      : srcDc->surface;
    src.x0 = xSrc;
    src.y0 = ySrc;
    src.xStep = wSrc < 0 ? -1 : 1;
    src.yStep = hSrc < 0 ? -1 : 1;
  } else {
    wSrc = wDest;
    hSrc = hDest;
  }
  if (!dest->surface || wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;

  COLORREF pattern = 0;
  if (UsesPattern(rop)) {
    const BrushData& brush = CurrentBrush(*dest);
    if (brush.style == BS_NULL) return TRUE;
    pattern = DeviceColour(*dest, brush.colour);
  }
  RECT clip = LogicalClip(*dest);
  // The source's own direction is folded into the destination's: a mirrored
  // source walks its indexes backwards.
  std::vector<AxisPixel> cols = MapAxis(xDest, wDest, wSrc, clip.left, clip.right);
  std::vector<AxisPixel> rows = MapAxis(yDest, hDest, hSrc, clip.top, clip.bottom);
  Surface& out = *dest->surface;
  for (const AxisPixel& row : rows) {
    int sy = row.dest + dest->origin.y;
    for (const AxisPixel& col : cols) {
      int sx = col.dest + dest->origin.x;
      COLORREF s = 0;
      if (usesSource && !Sample(src, *dest, col, row, dest->stretchMode, &s)) continue;
      COLORREF& d = out.At(sx, sy);
      d = Rop3(rop, pattern, s, d);
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1,
                              DWORD rop) {
  return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

extern "C" BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (UsesSource(rop)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // PatBlt takes its rectangle as given, normalised: [x + w, x) when w < 0.
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
  return StretchBlt(hdc, x, y, w, h, nullptr, 0, 0, w, h, rop);
}
