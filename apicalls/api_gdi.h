// The platform-call layer for drawing: device contexts, drawing objects,
// lines, fills, bitmaps and text. One thin function per system function; the
// renderer reaches GDI only through these.
#pragma once

#include <windows.h>

namespace tapora::api {

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF colour);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL StretchBlt(HDC destination, int xDestination, int yDestination, int widthDestination,
                int heightDestination, HDC source, int xSource, int ySource, int widthSource,
                int heightSource, DWORD rop);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                           LPSIZE size);

}  // namespace tapora::api
