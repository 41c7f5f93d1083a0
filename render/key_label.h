// Key labels: the two strings a key offers (by key type and the latched
// AltGr and Shift), the choice between them under Caps Lock and Shift, fitting
// the chosen one to the key, and drawing it as text or as a named glyph.
#pragma once

#include <windows.h>

namespace tapora {

// Room in each of the two label strings, terminator included.
constexpr int LABEL_UNITS = 260;

// Key types 17, 18, 19, 21, 49, 50 and 53: UTF-16 labels, and the shown-down
// state follows the latched modifier that the key's output names.
inline bool ShowsLatchedState(BYTE keyType) {
  return keyType == 17 || keyType == 18 || keyType == 19 || keyType == 21 || keyType == 49 ||
         keyType == 50 || keyType == 53;
}

// Fills primary and secondary (LABEL_UNITS each) from the key record: 8-bit
// text in the system code page, UTF-16 text, or for the per-state character
// keys the characters that belong to the latched AltGr and Shift.
void PrepareKeyLabels(const BYTE* keyRecord, LPWSTR primary, LPWSTR secondary);

// The one of primary and secondary that the key shows under ShiftState: the
// secondary for Shift (or Caps Lock on a caps-affected key, where the two
// cancel out), and for Shift with AltGr on a per-state character key.
LPCWSTR ChooseKeyLabel(LPCWSTR primary, LPCWSTR secondary, bool capsAffected, BYTE keyType);
// How many leading units of text DrawKeyLabel draws in textRect: all of them
// when they fit the width less the margin, else the longest prefix of two or
// more that fits, else one (drawn whole, overflowing).
int FittedLabelLength(HDC dc, LPCWSTR text, const RECT* textRect);
// Chooses between primary and secondary under ShiftState, fits the choice to
// the text rectangle and draws it (or the glyph it names). The text colour,
// background mode and font are the device context's.
void DrawKeyLabel(HDC dc, LPCWSTR primary, LPCWSTR secondary, const RECT* textRect,
                  bool capsAffected, const BYTE* keyRecord);

}  // namespace tapora
