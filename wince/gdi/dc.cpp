// Device contexts: memory DCs and display DCs onto window surfaces, their
// attributes (colours, modes, brush origin), device capabilities, single
// pixels, and the clipped pixel primitives every drawing call ends in.
//
// A memory DC starts with the stock 1x1 monochrome bitmap selected, as on
// Windows, so a bitmap made compatible with such a DC is monochrome too.
#include <algorithm>
#include <new>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/gdi/surface.h"
#include "wince/kernel/not_implemented.h"

namespace wince::gdi {
namespace {

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT WholeSurface(const Surface* s) {
  return s ? RECT{0, 0, s->width, s->height} : RECT{0, 0, 0, 0};
}

// Nearest of black and white; ties go to black, the first palette entry.
bool NearerWhite(COLORREF c) {
  int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  int toBlack = r * r + g * g + b * b;
  int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
  return toWhite < toBlack;
}

}  // namespace

std::shared_ptr<Surface> MakeSurface(int width, int height, int bitsPerPixel, COLORREF fill) {
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxSurfacePixels) return nullptr;
  try {
    auto s = std::make_shared<Surface>();
    s->width = width;
    s->height = height;
    s->bitsPerPixel = bitsPerPixel == 1 ? 1 : 32;
    s->pixels.assign(static_cast<size_t>(width) * height, fill & 0xFFFFFF);
    return s;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void AttachSurface(DeviceContext& dc, std::shared_ptr<Surface> surface) {
  dc.surface = std::move(surface);
  dc.origin = POINT{0, 0};
  dc.clip = WholeSurface(dc.surface.get());
}

COLORREF DeviceColour(const DeviceContext& dc, COLORREF colour) {
  colour &= 0xFFFFFF;
  if (!dc.surface || !dc.surface->Mono()) return colour;
  if (colour == RGB(0, 0, 0)) return 0;
  if (colour == RGB(255, 255, 255)) return 0xFFFFFF;
  // Any other colour is told apart from the background: the background takes
  // its nearest entry, every other colour the opposite one.
  COLORREF bk = dc.bkColour & 0xFFFFFF;
  bool bkWhite = NearerWhite(bk);
  bool white = colour == bk ? bkWhite : !bkWhite;
  return white ? 0xFFFFFF : 0;
}

void PlotPixel(DeviceContext& dc, int x, int y, COLORREF deviceColour) {
  if (!dc.surface) return;
  int64_t sx = int64_t{x} + dc.origin.x;
  int64_t sy = int64_t{y} + dc.origin.y;
  if (sx < dc.clip.left || sx >= dc.clip.right || sy < dc.clip.top || sy >= dc.clip.bottom)
    return;
  dc.surface->At(static_cast<int>(sx), static_cast<int>(sy)) = deviceColour;
}

void FillBox(DeviceContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
             COLORREF deviceColour) {
  if (!dc.surface) return;
  x0 = std::max<int64_t>(x0 + dc.origin.x, dc.clip.left);
  x1 = std::min<int64_t>(x1 + dc.origin.x, dc.clip.right);
  y0 = std::max<int64_t>(y0 + dc.origin.y, dc.clip.top);
  y1 = std::min<int64_t>(y1 + dc.origin.y, dc.clip.bottom);
  for (int64_t y = y0; y < y1; ++y) {
    COLORREF* row = &dc.surface->At(0, static_cast<int>(y));
    std::fill(row + x0, row + std::max(x0, x1), deviceColour);
  }
}

RECT LogicalClip(const DeviceContext& dc) {
  return RECT{dc.clip.left - dc.origin.x, dc.clip.top - dc.origin.y,
              dc.clip.right - dc.origin.x, dc.clip.bottom - dc.origin.y};
}

std::shared_ptr<Surface> CreateScreenSurface(int width, int height, COLORREF fill) {
  return MakeSurface(width, height, 32, fill);
}

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, RECT clip) {
  if (!surface) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Object o{Kind::DC};
  InitDefaults(o.dc);
  o.dc.memory = false;
  o.dc.surface = std::move(surface);
  o.dc.origin = origin;
  o.dc.clip = Intersect(clip, WholeSurface(o.dc.surface.get()));
  return static_cast<HDC>(AddObject(std::move(o)));
}

bool SetSurfaceDCGeometry(HDC hdc, POINT origin, RECT clip) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || dc->memory) return false;
  dc->origin = origin;
  dc->clip = Intersect(clip, WholeSurface(dc->surface.get()));
  return true;
}

}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindDC(hdc)) return nullptr;
  Object o{Kind::DC};
  InitDefaults(o.dc);
  o.dc.memory = true;
  o.dc.bitmap = DefaultBitmap();
  AttachSurface(o.dc, Find(o.dc.bitmap, Kind::Bitmap)->bitmap.surface);
  return static_cast<HDC>(AddObject(std::move(o)));
}

extern "C" BOOL WINAPI DeleteDC(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (Object* bitmap = Find(dc->bitmap, Kind::Bitmap); bitmap && !bitmap->stock)
    bitmap->bitmap.selectedInto = nullptr;
  RemoveObject(hdc);
  return TRUE;
}

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->textColour;
  dc->textColour = color;
  return previous;
}

extern "C" COLORREF WINAPI GetTextColor(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  return dc ? dc->textColour : CLR_INVALID;
}

extern "C" COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->bkColour;
  dc->bkColour = color;
  return previous;
}

extern "C" COLORREF WINAPI GetBkColor(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  return dc ? dc->bkColour : CLR_INVALID;
}

extern "C" int WINAPI SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return 0;
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

extern "C" int WINAPI GetBkMode(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  return dc ? dc->bkMode : 0;
}

extern "C" int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return 0;
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int previous = dc->stretchMode;
  dc->stretchMode = mode;
  return previous;
}

extern "C" int WINAPI GetStretchBltMode(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  return dc ? dc->stretchMode : 0;
}

extern "C" BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->brushOrigin;
  dc->brushOrigin = POINT{x, y};
  return TRUE;
}

extern "C" BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (!lppt) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lppt = dc->brushOrigin;
  return TRUE;
}

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return 0;
  switch (index) {
    case HORZRES: return dc->surface ? dc->surface->width : 0;
    case VERTRES: return dc->surface ? dc->surface->height : 0;
    // Memory DCs report the display's format, whatever bitmap they hold.
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: wince::NotImplemented("GetDeviceCaps", "this index"); return 0;
  }
}

extern "C" COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || !dc->surface) return CLR_INVALID;
  int64_t sx = int64_t{x} + dc->origin.x;
  int64_t sy = int64_t{y} + dc->origin.y;
  if (sx < dc->clip.left || sx >= dc->clip.right || sy < dc->clip.top || sy >= dc->clip.bottom)
    return CLR_INVALID;
  return dc->surface->At(static_cast<int>(sx), static_cast<int>(sy));
}

extern "C" COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || !dc->surface) return CLR_INVALID;
  int64_t sx = int64_t{x} + dc->origin.x;
  int64_t sy = int64_t{y} + dc->origin.y;
  if (sx < dc->clip.left || sx >= dc->clip.right || sy < dc->clip.top || sy >= dc->clip.bottom)
    return CLR_INVALID;
  COLORREF stored = DeviceColour(*dc, color);
  dc->surface->At(static_cast<int>(sx), static_cast<int>(sy)) = stored;
  return stored;
}
