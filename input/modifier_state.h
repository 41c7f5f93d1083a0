// Which keys are modifier keys, and how a completed tap on one changes the
// latched modifiers in ShiftState. Tap handling stores the kind of the key being
// released in ModifierKind and calls ToggleModifier before choosing the key's
// text, and ClearOneShotModifiers after an ordinary key's text was sent. Drawing
// calls GetModifierKind for its own decision and changes nothing here.
//
// Transitions of ShiftState (only these functions and ResetInputState write it):
//   Caps tap        [ToggleModifier]        drop Shift and AltGr, flip SS_CAPS
//   Shift tap       [ToggleModifier]        flip SS_SHIFT
//   AltGr tap       [ToggleModifier]        flip SS_ALTGR, only while SS_CAPS is clear
//   Alt / Ctrl tap  [ToggleModifier]        flip SS_ALT / SS_CTRL
//   ordinary key    [ClearOneShotModifiers] clear Shift, Ctrl, Alt, AltGr; Caps stays
//   keyboard load   [ResetInputState]       0, and a waiting dead key is dropped
#pragma once

#include <windows.h>

namespace tapora {

// Kinds of key, from an exact match of the whole output field.
constexpr WORD KIND_CAPS = 1;     // "[Caps]"
constexpr WORD KIND_SHIFT = 2;    // "[Shift-Down]"
constexpr WORD KIND_CTRL = 4;     // "[Ctrl-Down]"
constexpr WORD KIND_ALT = 8;      // "[Alt-Down]"
constexpr WORD KIND_ALTGR = 16;   // "[AltGr-Down]"

// The kind of the key being released: 0 at every pen-down, set from
// GetModifierKind when a tap completes.
extern WORD ModifierKind;

// The kind of a key record (71 bytes as loaded), 0 for an ordinary key.
WORD GetModifierKind(const BYTE* keyRecord);

// Applies a completed tap on a key of kind ModifierKind; keeps the state before
// it in PreviousShiftState.
void ToggleModifier();

// After an ordinary key (ModifierKind 0): Shift, Ctrl, Alt and AltGr are one-shot.
void ClearOneShotModifiers();

// What every keyboard load and release does to the input state: ShiftState = 0
// and no dead key waits any more (it named a key of the keyboard being released).
// The held-key bytes are left alone: the next tap releases those keys.
void ResetInputState();

}  // namespace tapora
