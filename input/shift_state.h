// The modifier state word that every keyboard load resets and that drawing and
// output selection read, and its companions: the state before the last toggle,
// the copy taken when output is sent, and which modifier keys are pressed
// towards the receiving application. ShiftState and PreviousShiftState are
// written only by the modifier handling in input/ (modifier_state.cpp);
// SentShiftState and the held bytes only by the held-key handling
// (held_modifiers.cpp) and by tap handling, which copies ShiftState into
// SentShiftState at each pen-up.
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

// ShiftState as it was just before the last ToggleModifier.
extern WORD PreviousShiftState;

// ShiftState as it stood when the last output was sent; decides which modifier
// keys are pressed or released towards the system.
extern WORD SentShiftState;

// 1 while a key-down for virtual key 16, 17 or 18 went out without its key-up.
extern BYTE ShiftHeld;
extern BYTE CtrlHeld;
extern BYTE AltHeld;

}  // namespace tapora
