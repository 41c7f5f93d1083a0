// Choosing a key's text under ShiftState (see output_selection.h).
//
//   Caps  Shift  AltGr | caps-affected types | all other types
//   set   set    any   | plain               | shifted
//   set   clear  any   | shifted             | plain
//   clear set    set   | AltGr and Shift     | AltGr and Shift
//   clear clear  set   | AltGr               | AltGr
//   clear set    clear | shifted             | shifted
//   clear clear  clear | plain               | plain
// Ctrl and Alt play no part; with Caps Lock on, AltGr plays none either.
#include "input/output_selection.h"

#include "input/key_types.h"
#include "input/shift_state.h"
#include "layout/records.h"

namespace tapora {

namespace {

WCHAR* StateChar(const BYTE* keyRecord, DWORD offset, WCHAR* text) {
  return SetKeyTextUnit(text, static_cast<WCHAR>(ReadU16(keyRecord, offset)));
}

WCHAR* PlainText(const BYTE* keyRecord, BYTE keyType, WCHAR* text) {
  if (IsStateCharKeyType(keyType)) return StateChar(keyRecord, KEY_STATE_CHAR_NONE, text);
  if (IsLabelOutputKeyType(keyType)) {
    return ReadKeyField(keyRecord, KEY_LABEL, KEY_LABEL_WIDTH, text);
  }
  return ReadKeyField(keyRecord, KEY_OUTPUT, KEY_OUTPUT_WIDTH, text);
}

WCHAR* ShiftedText(const BYTE* keyRecord, BYTE keyType, WCHAR* text) {
  if (IsStateCharKeyType(keyType)) {
    StateChar(keyRecord, KEY_STATE_CHAR_SHIFT, text);
  } else {
    ReadKeyField(keyRecord, KEY_SHIFT_LABEL, KEY_SHIFT_LABEL_WIDTH, text);
  }
  if (text[0] == 0) return PlainText(keyRecord, keyType, text);
  return text;
}

// No fallback: an empty AltGr character gives an empty text.
WCHAR* AltGrText(const BYTE* keyRecord, BYTE keyType, DWORD stateCharOffset, WCHAR* text) {
  if (IsStateCharKeyType(keyType)) return StateChar(keyRecord, stateCharOffset, text);
  return ReadKeyField(keyRecord, KEY_OUTPUT, KEY_OUTPUT_WIDTH, text);
}

}  // namespace

BYTE StateIndex(WORD shiftState) {
  const bool shift = (shiftState & SS_SHIFT) != 0;
  const bool altGr = (shiftState & SS_ALTGR) != 0;
  if (shift && altGr) return STATE_ALTGR_SHIFT;
  if (altGr) return STATE_ALTGR;
  if (shift) return STATE_SHIFT;
  return STATE_PLAIN;
}

WCHAR* SelectKeyOutput(const BYTE* keyRecord, WCHAR* text) {
  const BYTE keyType = ReadU8(keyRecord, KEY_TYPE);
  const bool shift = (ShiftState & SS_SHIFT) != 0;
  if ((ShiftState & SS_CAPS) != 0) {
    // Caps Lock and Shift cancel each other on letters; other keys ignore the lock.
    const bool shifted = IsCapsAffectedKeyType(keyType) ? !shift : shift;
    return shifted ? ShiftedText(keyRecord, keyType, text) : PlainText(keyRecord, keyType, text);
  }
  if ((ShiftState & SS_ALTGR) != 0) {
    return AltGrText(keyRecord, keyType,
                     shift ? KEY_STATE_CHAR_ALTGR_SHIFT : KEY_STATE_CHAR_ALTGR, text);
  }
  return shift ? ShiftedText(keyRecord, keyType, text) : PlainText(keyRecord, keyType, text);
}

}  // namespace tapora
