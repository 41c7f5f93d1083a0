// Thin pass-throughs to the platform's window-manager functions.
#include "apicalls/api_window.h"

namespace tapora::api {

ATOM RegisterClassW(const WNDCLASSW* windowClass) { return ::RegisterClassW(windowClass); }

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter) {
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                           instance, parameter);
}

BOOL ShowWindow(HWND window, int command) { return ::ShowWindow(window, command); }

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return ::MoveWindow(window, x, y, width, height, repaint);
}

BOOL DestroyWindow(HWND window) { return ::DestroyWindow(window); }

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  return ::UnregisterClassW(className, instance);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HGDIOBJ GetStockObject(int object) { return ::GetStockObject(object); }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  return ::SetTimer(window, id, elapse, procedure);
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) { return ::BeginPaint(window, paint); }

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) { return ::EndPaint(window, paint); }

HWND GetForegroundWindow() { return ::GetForegroundWindow(); }

HWND SetCapture(HWND window) { return ::SetCapture(window); }

BOOL ReleaseCapture() { return ::ReleaseCapture(); }

BOOL PtInRect(const RECT* rect, POINT point) { return ::PtInRect(rect, point); }

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  return ::InvalidateRect(window, rect, erase);
}

BOOL UpdateWindow(HWND window) { return ::UpdateWindow(window); }

}  // namespace tapora::api
