// Key texts: the UTF-16 texts that a key record's fields hold and that the
// input code chooses, changes and sends. A key text is at most 16 units and
// ends at its first zero unit; buffers for one hold KEY_TEXT_SIZE units. The
// helpers compare units exactly (names such as "[Caps]" are case-sensitive and
// never linguistic) and never read past a terminator.
#pragma once

#include <windows.h>

namespace tapora {

constexpr int KEY_TEXT_UNITS = 16;
constexpr int KEY_TEXT_SIZE = KEY_TEXT_UNITS + 1;

// Units before the terminator.
int KeyTextLength(const WCHAR* text);

// True when the two texts hold the same units.
bool KeyTextEquals(const WCHAR* text, const WCHAR* other);

// True when text begins with every unit of prefix.
bool KeyTextStartsWith(const WCHAR* text, const WCHAR* prefix);

// Copies at most KEY_TEXT_UNITS units of source into destination
// (KEY_TEXT_SIZE units) and terminates it. Returns destination.
WCHAR* CopyKeyText(WCHAR* destination, const WCHAR* source);

// Makes destination (KEY_TEXT_SIZE units) the one-unit text of unit, or the
// empty text when unit is 0. Returns destination.
WCHAR* SetKeyTextUnit(WCHAR* destination, WCHAR unit);

// The UTF-16 text of a key record's field (label, shiftLabel or output),
// bounded by the field's width. Returns destination (KEY_TEXT_SIZE units).
WCHAR* ReadKeyField(const BYTE* keyRecord, DWORD fieldOffset, DWORD fieldWidth,
                    WCHAR* destination);

}  // namespace tapora
