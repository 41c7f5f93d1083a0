// The input panel window: one child of the SIP window that shows the keyboard.
// Its procedure only dispatches: paint requests to the renderer, pen messages
// and repeat-timer ticks to tap handling. It keeps no state of its own; what it
// uses lives in InputMethodState, KeyboardSelection and the tap state.
#pragma once

#include <windows.h>

namespace tapora {

inline constexpr WCHAR PANEL_WINDOW_CLASS[] =
    TEXT("42429670-ae04-11d0-a4f8-00aa00a749b9 - FullKEYPNLIMWndClass");

// Where the panel window starts in the SIP window, until ReceiveSipInfo
// moves it to the SIP rectangle.
constexpr int PANEL_WINDOW_X = 0;
constexpr int PANEL_WINDOW_Y = 175;

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers PanelWindowClass for moduleInstance; 0 on failure.
ATOM RegisterPanelWindowClass();
// Creates the panel window in the SIP window at its start place, windowWidth by
// windowHeight, and shows it without activating it. Returns the window (NULL
// when creation failed).
HWND CreatePanelWindow(HWND sipWindow);

}  // namespace tapora
