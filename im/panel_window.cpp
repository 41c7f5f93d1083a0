// The input panel window's class, creation and procedure (see panel_window.h).
#include "im/panel_window.h"

#include "apicalls/api_window.h"
#include "im/input_method_state.h"
#include "input/tap_handling.h"
#include "language/keyboard_selection.h"
#include "render/paint_keyboard.h"

namespace tapora {

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Re-arming on every message restarts the countdown, so ticks come only
  // while the window is otherwise quiet: a stream of pen moves holds repeats back.
  api::SetTimer(window, REPEAT_TIMER_ID, REPEAT_TIMER_PERIOD, NULL);
  switch (message) {
    case WM_PAINT:
      api::BeginPaint(window, &InputMethodState.paintInfo);
      PaintKeyboard(window);
      api::EndPaint(window, &InputMethodState.paintInfo);
      break;
    case WM_TIMER:
      RepeatTick();
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return HandlePenMessage(window, message, wParam, lParam);
    default:
      break;
  }
  return api::DefWindowProcW(window, message, wParam, lParam);
}

ATOM RegisterPanelWindowClass() {
  WNDCLASSW windowClass = {};
  windowClass.style = 0;  // no double-clicks
  windowClass.lpfnWndProc = PanelWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = InputMethodState.moduleInstance;
  windowClass.hbrBackground = static_cast<HBRUSH>(api::GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszClassName = PANEL_WINDOW_CLASS;
  return api::RegisterClassW(&windowClass);
}

HWND CreatePanelWindow(HWND sipWindow) {
  HWND window = api::CreateWindowExW(
      0, PANEL_WINDOW_CLASS, TEXT(""), WS_CHILD, PANEL_WINDOW_X, PANEL_WINDOW_Y,
      KeyboardSelection.windowWidth, KeyboardSelection.windowHeight, sipWindow, NULL,
      InputMethodState.moduleInstance, NULL);
  InputMethodState.panelWindow = window;
  api::ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace tapora
