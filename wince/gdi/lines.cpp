// Lines with one-pixel pens: MoveToEx, LineTo and Polyline.
//
// Every segment draws its start pixel and leaves out its end pixel, so a
// polyline never draws its last point and consecutive segments never draw
// a shared point twice. Slanted segments follow the platform's Bresenham
// rasterisation: the error term starts at 2*minor - major, a minor step is
// taken while error + bias > 0, and the bias is 1 in octants 3, 5, 6 and 8
// (octants numbered clockwise from the +x axis with y pointing down), 0 in
// the others. Diagonals count as y-major. The result does not depend on
// clipping: a clipped segment starts its walk at the first visible step.
#include <algorithm>
#include <cstdlib>

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::gdi {
namespace {

int OctantOf(int64_t dx, int64_t dy) {
  if (dy > 0) {
    if (dx > 0) return dx > dy ? 1 : 2;
    return -dx > dy ? 4 : 3;
  }
  if (dx < 0) return -dx > -dy ? 5 : 6;
  return dx > -dy ? 8 : 7;
}

// Walks `steps` steps of a Bresenham segment along the major axis, drawing
// only the steps whose major coordinate lies in [clipLow, clipHigh).
// `plot(major, minor)` receives coordinates in the segment's own axes.
template <class Plot>
void Walk(int64_t major0, int64_t minor0, int64_t majorInc, int64_t minorInc, int64_t dMajor,
          int64_t dMinor, int bias, int64_t clipLow, int64_t clipHigh, Plot plot) {
  int64_t steps = dMajor;  // the end point is not drawn
  int64_t first = 0;
  int64_t last = steps - 1;
  if (majorInc > 0) {
    first = std::max<int64_t>(first, clipLow - major0);
    last = std::min<int64_t>(last, clipHigh - 1 - major0);
  } else {
    first = std::max<int64_t>(first, major0 - (clipHigh - 1));
    last = std::min<int64_t>(last, major0 - clipLow);
  }
  if (first > last) return;
  // Minor steps taken before step `first`: the n that keeps the error term
  // within (-2*dMajor, 0] once the bias and 2*dMinor are taken off.
  int64_t n = (2 * first * dMinor + dMajor + bias - 1) / (2 * dMajor);
  int64_t err = 2 * dMinor - dMajor + 2 * first * dMinor - 2 * n * dMajor;
  int64_t major = major0 + first * majorInc;
  int64_t minor = minor0 + n * minorInc;
  for (int64_t k = first; k <= last; ++k) {
    plot(major, minor);
    if (err + bias > 0) {
      minor += minorInc;
      err += 2 * dMinor - 2 * dMajor;
    } else {
      err += 2 * dMinor;
    }
    major += majorInc;
  }
}

}  // namespace

void DrawSegment(DeviceContext& dc, POINT a, POINT b, COLORREF colour) {
  int64_t dx = int64_t{b.x} - a.x;
  int64_t dy = int64_t{b.y} - a.y;
  if (dy == 0) {
    // [start, end) going right, (end, start] going left.
    int64_t x0 = dx >= 0 ? a.x : int64_t{b.x} + 1;
    int64_t x1 = dx >= 0 ? b.x : int64_t{a.x} + 1;
    FillBox(dc, x0, a.y, x1, int64_t{a.y} + 1, colour);
    return;
  }
  if (dx == 0) {
    int64_t y0 = dy >= 0 ? a.y : int64_t{b.y} + 1;
    int64_t y1 = dy >= 0 ? b.y : int64_t{a.y} + 1;
    FillBox(dc, a.x, y0, int64_t{a.x} + 1, y1, colour);
    return;
  }
  int octant = OctantOf(dx, dy);
  int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
  int64_t xInc = dx > 0 ? 1 : -1;
  int64_t yInc = dy > 0 ? 1 : -1;
  RECT clip = LogicalClip(dc);
  if (xMajor) {
    Walk(a.x, a.y, xInc, yInc, std::llabs(dx), std::llabs(dy), bias, clip.left, clip.right,
         [&](int64_t x, int64_t y) {
           if (y >= clip.top && y < clip.bottom)
             PlotPixel(dc, static_cast<int>(x), static_cast<int>(y), colour);
         });
  } else {
    Walk(a.y, a.x, yInc, xInc, std::llabs(dy), std::llabs(dx), bias, clip.top, clip.bottom,
         [&](int64_t y, int64_t x) {
           if (x >= clip.left && x < clip.right)
             PlotPixel(dc, static_cast<int>(x), static_cast<int>(y), colour);
         });
  }
}

}  // namespace wince::gdi

using namespace wince::gdi;

namespace {

bool PenDraws(const DeviceContext& dc, COLORREF* colour) {
  const PenData& pen = CurrentPen(dc);
  if (pen.style == PS_NULL) return false;
  *colour = DeviceColour(dc, pen.colour);
  return true;
}

}  // namespace

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}

extern "C" BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  COLORREF colour;
  if (PenDraws(*dc, &colour)) DrawSegment(*dc, dc->position, POINT{x, y}, colour);
  dc->position = POINT{x, y};
  return TRUE;
}

extern "C" BOOL WINAPI Polyline(HDC hdc, CONST POINT* apt, int cpt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (!apt || cpt < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  COLORREF colour;
  if (PenDraws(*dc, &colour))
    for (int i = 0; i + 1 < cpt; ++i) DrawSegment(*dc, apt[i], apt[i + 1], colour);
  return TRUE;
}
