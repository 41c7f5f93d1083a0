// Taps on the input panel window: the pen messages and repeat-timer ticks that
// the window procedure hands over, turned into key output. A key produces its
// output at pen-up, and only when the pen comes up on the key it went down on;
// typematic repeat is the only output made while the pen is down.
//
// The tap state below is owned here and lives as long as the library; the
// options dialog sets TypematicEnabled, nothing else writes it from outside.
#pragma once

#include <windows.h>

#include "input/key_text.h"

namespace tapora {

// Outcomes of a pen-up.
constexpr DWORD RELEASE_SAME_KEY = 1;
constexpr DWORD RELEASE_ABANDONED = 2;

// The panel window's repeat timer: its ticks come 100 ms after the window's
// last message.
constexpr UINT_PTR REPEAT_TIMER_ID = 17;
constexpr UINT REPEAT_TIMER_PERIOD = 100;
// Ticks with the pen held before the first repeat.
constexpr LONG REPEAT_DELAY_TICKS = 5;

extern BYTE PenDown;             // 1 from a pen-down to the next pen-up
extern LONG RepeatTicks;         // timer ticks while the pen is down; 0 at every pen-up
extern BYTE TypematicEnabled;    // 1: held keys repeat
extern WCHAR PressOutput[KEY_TEXT_SIZE];    // the text worked out at pen-down, for repeats
extern WCHAR ReleaseOutput[KEY_TEXT_SIZE];  // the text worked out at pen-up
extern DWORD PressedKey;         // handle of the key the pen went down on; 0 for none
extern DWORD ReleaseResult;      // RELEASE_SAME_KEY or RELEASE_ABANDONED (0 before any pen-up)
extern LONG PenPanelIndex;       // the panel under the last pen-down or pen-up, -1 for none

// Messages 512 to 515 (pen move, down, up, double-click); only down and up do
// anything. Returns 0.
LRESULT HandlePenMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Pen-down: marks and draws the key under the pen pressed and keeps its text.
// Returns PressOutput.
LPWSTR PressKey(POINT point, HWND window);
// Pen-up: completes or abandons the tap. Returns the text to send (empty when
// the tap is abandoned).
LPWSTR ReleaseKey(POINT point);
// Releases the pen capture and redraws what the tap changed.
void FinishRelease(HWND window);
// One tick of the repeat timer.
void RepeatTick();

}  // namespace tapora
