// Shift, Ctrl and Alt pressed towards the focused application while they are
// latched. Around each tap's output the latched ones are pressed (key-down for
// 16, 17, 18) and those no longer latched are released (key-up), judged by
// SentShiftState, which tap handling copies from ShiftState at every pen-up.
// ShiftHeld, CtrlHeld and AltHeld record what was pressed; only these
// functions change them.
#pragma once

#include <windows.h>

namespace tapora {

constexpr BYTE VK_SHIFT_KEY = 16;
constexpr BYTE VK_CONTROL_KEY = 17;
constexpr BYTE VK_ALT_KEY = 18;

// Before a tap's output: key-down for each modifier in SentShiftState not yet held.
void PressHeldModifiers();

// After a tap's output: key-up for each held modifier no longer in SentShiftState.
void ReleaseUnlatchedModifiers();

// When the panel hides or the input method is deselected: key-up for each
// modifier in SentShiftState or held, and it leaves both.
// ShiftState keeps its latches, so the next tap presses them again.
void ReleaseHeldModifiers();

}  // namespace tapora
