// The modifier state word that every keyboard load resets and that drawing and
// output selection read. Written only by the modifier handling in input/ and by
// ResetKeyboard.
#pragma once

#include <windows.h>

namespace tapora {

constexpr WORD SS_SHIFT = 0x0002;
constexpr WORD SS_CTRL = 0x0004;
constexpr WORD SS_ALT = 0x0008;
constexpr WORD SS_ALTGR = 0x0010;
constexpr WORD SS_CAPS = 0x0100;

// Latched modifiers and Caps Lock; 0 at start.
extern WORD ShiftState;

}  // namespace tapora
