// The platform-call layer for the window manager: the panel window's class,
// creation and procedure, its timer, pen capture, painting requests and the
// rectangle rule of hit testing. One thin function per system function.
#pragma once

#include <windows.h>

namespace tapora::api {

ATOM RegisterClassW(const WNDCLASSW* windowClass);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter);
BOOL ShowWindow(HWND window, int command);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL DestroyWindow(HWND window);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HGDIOBJ GetStockObject(int object);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
BOOL PtInRect(const RECT* rect, POINT point);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);

}  // namespace tapora::api
