// The keyboard-file command of key outputs: "[CMD:NKBF={n}" loads entry n of
// the language tree's mapping file, "[CMD:NKBF=name]" loads a file of the
// current language folder. A load that fails is followed by a reload of the
// keyboard that was current; the window is repainted either way and keeps its
// size.
#pragma once

#include <windows.h>

namespace tapora {

// True when text is a command ("[CMD:") naming the keyboard-file switch.
bool IsKeyboardSwitch(const WCHAR* text);
// text: a key text that IsKeyboardSwitch accepts.
void SwitchKeyboardFile(HWND window, const WCHAR* text);

}  // namespace tapora
