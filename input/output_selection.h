// Which of a key's texts a tap produces under the current ShiftState: the plain,
// shifted, AltGr or AltGr-and-Shift candidate, chosen by the key type groups.
// Tap handling calls SelectKeyOutput at pen-down (the text typematic repeat
// sends) and at pen-up (the text the tap sends, which the dead-key step may then
// replace). Nothing here changes any state.
#pragma once

#include <windows.h>

#include "input/key_text.h"

namespace tapora {

// Modifier states as dead-key tables name them.
constexpr BYTE STATE_PLAIN = 1;
constexpr BYTE STATE_SHIFT = 2;
constexpr BYTE STATE_ALTGR = 4;
constexpr BYTE STATE_ALTGR_SHIFT = 8;

// 8 for Shift with AltGr, 4 for AltGr, 2 for Shift, else 1. Caps Lock plays no part.
BYTE StateIndex(WORD shiftState);

// Fills text (KEY_TEXT_SIZE units) with the text that keyRecord produces under
// ShiftState and returns it; an empty text when the chosen candidate is empty.
WCHAR* SelectKeyOutput(const BYTE* keyRecord, WCHAR* text);

}  // namespace tapora
