// Key output strings: what a chosen text means and how it reaches the focused
// application. A text is, by the first test that matches:
//   1. "%%s" or "%%c" and three digits: a virtual key, sent down and up;
//   2. "[CMD:...": a command, acted on by tap handling, never sent;
//   3. a special key's bracketed name (key_names.h);
//   4. plain text: one unit as a character event, more as a string.
// A tap's text goes out through SendKeyOutput with the latched modifiers held
// around it (held_modifiers.h); typematic repeat sends the pen-down text
// through RepeatKeyOutput, which never presses or releases a modifier.
#pragma once

#include <windows.h>

namespace tapora {

// Key-state flags of SendCharEvents.
constexpr UINT CHAR_KEY_DOWN = 0x00000080;
constexpr UINT CHAR_KEY_CTRL = 0x40000000;
constexpr UINT CHAR_KEY_ALT = 0x10000000;

// The key-state flags of the last one-unit plain text; handed to SendCharEvents
// as the key state and, by address, as its one-element shift-state array.
// "[Tab]" and the Ctrl or Alt repeat reuse it as they find it.
extern UINT CharKeyFlags;
// The one-element character array handed to SendCharEvents.
extern UINT CharCell;

// "%%s" or "%%c" at the start of text.
bool IsNumericKeyForm(const WCHAR* text);
// "[CMD:" at the start of text.
bool IsCommandText(const WCHAR* text);

// The numeric form: units 3 to 5 read as a decimal number, its low byte sent
// as a virtual key, down and then up. Nothing else changes.
void SendNumericKeyOutput(const WCHAR* text);

// A tap's text (neither the numeric form nor a command), with the latched
// modifiers pressed before it and the unlatched ones released after it.
// SentShiftState must have been copied from ShiftState.
void SendKeyOutput(const WCHAR* text);

// Typematic repeat of the pen-down text.
void RepeatKeyOutput(const WCHAR* pressOutput);

}  // namespace tapora
