// The three key events that reach the focused application, sent through the
// SIP manager's callback registered in InputMethodState. With no callback
// registered an event is dropped; callers update their state as if it had been
// sent, as they do when a call fails (results are not looked at).
#pragma once

#include <windows.h>

namespace tapora {

// Flags of SendVirtualKey events: no key click, and the key-up.
constexpr DWORD KEY_EVENT_DOWN = 0x0004;  // KEYEVENTF_SILENT
constexpr DWORD KEY_EVENT_UP = 0x0006;    // KEYEVENTF_KEYUP | KEYEVENTF_SILENT

void SendVirtualKeyEvent(BYTE virtualKey, DWORD flags);
void SendCharEventsCall(UINT virtualKey, UINT keyFlags, UINT charCount, UINT* shiftStates,
                        UINT* characters);
void SendStringEvent(const WCHAR* text, DWORD length);

}  // namespace tapora
