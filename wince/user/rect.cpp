// Rectangle helpers of USER: SetRect, PtInRect, InflateRect, IntersectRect...
// A rectangle holds [left, right) x [top, bottom): it is empty when right <= left
// or bottom <= top, and PtInRect excludes the right and bottom edges.
#include <algorithm>

#include <windows.h>

namespace {

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

extern "C" BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

extern "C" BOOL WINAPI SetRectEmpty(LPRECT lprc) {
  if (!lprc) return FALSE;
  *lprc = RECT{0, 0, 0, 0};
  return TRUE;
}

extern "C" BOOL WINAPI CopyRect(LPRECT lprcDst, CONST RECT* lprcSrc) {
  if (!lprcDst || !lprcSrc) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

extern "C" BOOL WINAPI IsRectEmpty(CONST RECT* lprc) { return !lprc || Empty(*lprc); }

extern "C" BOOL WINAPI EqualRect(CONST RECT* a, CONST RECT* b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

extern "C" BOOL WINAPI PtInRect(CONST RECT* lprc, POINT pt) {
  if (!lprc) return FALSE;
  return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

extern "C" BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

extern "C" BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

// An empty intersection leaves the destination empty (all zero) and fails.
extern "C" BOOL WINAPI IntersectRect(LPRECT dst, CONST RECT* a, CONST RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (Empty(*a) || Empty(*b) || Empty(r)) {
    *dst = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

// Empty rectangles do not count; the union of two empty ones is empty and fails.
extern "C" BOOL WINAPI UnionRect(LPRECT dst, CONST RECT* a, CONST RECT* b) {
  if (!dst || !a || !b) return FALSE;
  bool aEmpty = Empty(*a);
  bool bEmpty = Empty(*b);
  if (aEmpty && bEmpty) {
    *dst = RECT{0, 0, 0, 0};
    return FALSE;
  }
  if (aEmpty) {
    *dst = *b;
  } else if (bEmpty) {
    *dst = *a;
  } else {
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}
