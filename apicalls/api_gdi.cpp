// Thin pass-throughs to the platform's drawing functions.
#include "apicalls/api_gdi.h"

namespace tapora::api {

HDC GetDC(HWND window) { return ::GetDC(window); }

int ReleaseDC(HWND window, HDC dc) { return ::ReleaseDC(window, dc); }

HDC CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }

BOOL DeleteDC(HDC dc) { return ::DeleteDC(dc); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return ::SelectObject(dc, object); }

BOOL DeleteObject(HGDIOBJ object) { return ::DeleteObject(object); }

HPEN CreatePen(int style, int width, COLORREF colour) { return ::CreatePen(style, width, colour); }

HBRUSH CreateSolidBrush(COLORREF colour) { return ::CreateSolidBrush(colour); }

BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return ::SetBrushOrgEx(dc, x, y, previous);
}

int SetBkMode(HDC dc, int mode) { return ::SetBkMode(dc, mode); }

COLORREF SetTextColor(HDC dc, COLORREF colour) { return ::SetTextColor(dc, colour); }

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) { return ::FillRect(dc, rect, brush); }

BOOL Polyline(HDC dc, const POINT* points, int count) { return ::Polyline(dc, points, count); }

BOOL Polygon(HDC dc, const POINT* points, int count) { return ::Polygon(dc, points, count); }

BOOL StretchBlt(HDC destination, int xDestination, int yDestination, int widthDestination,
                int heightDestination, HDC source, int xSource, int ySource, int widthSource,
                int heightSource, DWORD rop) {
  return ::StretchBlt(destination, xDestination, yDestination, widthDestination, heightDestination,
                      source, xSource, ySource, widthSource, heightSource, rop);
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) { return ::LoadBitmapW(instance, name); }

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  return ::DrawTextW(dc, text, count, rect, format);
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                           LPSIZE size) {
  return ::GetTextExtentExPointW(dc, text, count, maxExtent, fit, dx, size);
}

}  // namespace tapora::api
