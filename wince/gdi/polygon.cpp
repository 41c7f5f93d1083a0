// Filled shapes: Polygon and Rectangle.
//
// Polygon fills its interior with the brush in the ALTERNATE (even-odd)
// mode and then draws the closed outline with the pen. A pixel belongs to
// the interior when its point (x, y) lies inside: on scan line y an edge
// from (x0, y0) to (x1, y1) counts when min(y0, y1) <= y < max(y0, y1), and
// a span between two crossings covers the pixels from the ceiling of the
// left crossing up to, but not including, the ceiling of the right one. So
// the right and bottom edges of the interior stay out, and polygons that
// share an edge tile without a gap or an overlap.
//
// Rectangle excludes its right and bottom edges with a pen; with the null
// pen it is one pixel smaller in each direction, as the platform documents.
#include <algorithm>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::gdi {
namespace {

int64_t CeilDiv(int64_t num, int64_t den) {  // den > 0
  int64_t q = num / den;
  if (num % den != 0 && num > 0) ++q;
  return q;
}

void FillPolygon(DeviceContext& dc, const POINT* pts, int count, COLORREF colour) {
  int64_t yMin = pts[0].y;
  int64_t yMax = pts[0].y;
  for (int i = 1; i < count; ++i) {
    yMin = std::min<int64_t>(yMin, pts[i].y);
    yMax = std::max<int64_t>(yMax, pts[i].y);
  }
  RECT clip = LogicalClip(dc);
  yMin = std::max<int64_t>(yMin, clip.top);
  yMax = std::min<int64_t>(yMax, clip.bottom);
  std::vector<int64_t> crossings;
  for (int64_t y = yMin; y < yMax; ++y) {
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      POINT p = pts[i];
      POINT q = pts[(i + 1) % count];
      if (p.y == q.y) continue;
      if (p.y > q.y) std::swap(p, q);
      if (y < p.y || y >= q.y) continue;
      int64_t num = (y - p.y) * (int64_t{q.x} - p.x);
      crossings.push_back(p.x + CeilDiv(num, int64_t{q.y} - p.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2)
      FillBox(dc, crossings[k], y, crossings[k + 1], y + 1, colour);
  }
}

bool BrushColour(const DeviceContext& dc, COLORREF* colour) {
  const BrushData& brush = CurrentBrush(dc);
  if (brush.style == BS_NULL) return false;
  *colour = DeviceColour(dc, brush.colour);
  return true;
}

bool PenColour(const DeviceContext& dc, COLORREF* colour) {
  const PenData& pen = CurrentPen(dc);
  if (pen.style == PS_NULL) return false;
  *colour = DeviceColour(dc, pen.colour);
  return true;
}

}  // namespace
}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" BOOL WINAPI Polygon(HDC hdc, CONST POINT* apt, int cpt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (!apt || cpt < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  COLORREF colour;
  if (BrushColour(*dc, &colour)) FillPolygon(*dc, apt, cpt, colour);
  if (PenColour(*dc, &colour))
    for (int i = 0; i < cpt; ++i) DrawSegment(*dc, apt[i], apt[(i + 1) % cpt], colour);
  return TRUE;
}

extern "C" BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  COLORREF fill;
  COLORREF outline;
  bool hasBrush = BrushColour(*dc, &fill);
  if (!PenColour(*dc, &outline)) {
    if (hasBrush) FillBox(*dc, left, top, int64_t{right} - 1, int64_t{bottom} - 1, fill);
    return TRUE;
  }
  if (right - left < 1 || bottom - top < 1) return TRUE;
  if (hasBrush)
    FillBox(*dc, int64_t{left} + 1, int64_t{top} + 1, int64_t{right} - 1, int64_t{bottom} - 1,
            fill);
  if (right - left == 1 && bottom - top == 1) {
    FillBox(*dc, left, top, right, bottom, outline);
    return TRUE;
  }
  POINT corners[4] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
  for (int i = 0; i < 4; ++i) DrawSegment(*dc, corners[i], corners[(i + 1) % 4], outline);
  return TRUE;
}
