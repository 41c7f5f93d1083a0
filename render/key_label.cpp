// Choosing, fitting and drawing a key's label.
//
// The choice, with "secondary" meaning the secondary string when it is not
// empty and the primary one otherwise:
//
//   Caps  Shift  caps-affected key   other key
//   off   off    primary             primary
//   off   on     secondary           secondary
//   on    off    secondary           primary
//   on    on     primary             secondary
//
// Per-state character keys with AltGr and Shift latched (Caps off) show their
// AltGr-with-Shift character even when it is empty, so that the label shows
// what a tap types: that state falls back to no other character.
//
// A label too wide for the key loses characters from its end until it fits in
// the key's width less 4 pixels; a lone character is drawn whole and centred
// even when it overflows.
#include "apicalls/api_gdi.h"
#include "render/key_label.h"

#include "apicalls/api_text.h"
#include "input/key_types.h"
#include "input/shift_state.h"
#include "layout/records.h"
#include "render/key_glyph.h"

namespace tapora {

namespace {

// Room the label leaves free across the key.
constexpr LONG LABEL_MARGIN = 4;

void SetSingleUnit(LPWSTR text, WCHAR unit) {
  text[0] = unit;
  text[1] = 0;
}

WCHAR StateChar(const BYTE* keyRecord, DWORD offset) {
  return static_cast<WCHAR>(ReadU16(keyRecord, offset));
}

bool StartsWithGlyphPrefix(LPCWSTR text) {
  for (int i = 0; i < GLYPH_PREFIX_UNITS; ++i) {
    if (text[i] != GLYPH_PREFIX[i]) return false;  // also stops at a shorter text's NUL
  }
  return true;
}

}  // namespace

int FittedLabelLength(HDC dc, LPCWSTR text, const RECT* textRect) {
  const LONG room = (textRect->right - textRect->left) - LABEL_MARGIN;
  int n = api::lstrlenW(text);
  while (n >= 2) {
    SIZE extent = {0, 0};
    api::GetTextExtentExPointW(dc, text, n, 0, NULL, NULL, &extent);
    if (extent.cx <= room) break;
    --n;
  }
  return n;
}

LPCWSTR ChooseKeyLabel(LPCWSTR primary, LPCWSTR secondary, bool capsAffected, BYTE keyType) {
  const bool caps = (ShiftState & SS_CAPS) != 0;
  const bool shift = (ShiftState & SS_SHIFT) != 0;
  const bool altGr = (ShiftState & SS_ALTGR) != 0;
  if (!caps && shift && altGr && IsStateCharKeyType(keyType)) return secondary;
  const bool wantSecondary = caps && capsAffected ? !shift : shift;
  if (wantSecondary && secondary[0] != 0) return secondary;
  return primary;
}

void PrepareKeyLabels(const BYTE* keyRecord, LPWSTR primary, LPWSTR secondary) {
  const BYTE keyType = ReadU8(keyRecord, KEY_TYPE);
  if (!ShowsLatchedState(keyType)) {
    Read8BitFieldText(keyRecord + KEY_LABEL, KEY_LABEL_WIDTH, primary, LABEL_UNITS);
    Read8BitFieldText(keyRecord + KEY_SHIFT_LABEL, KEY_SHIFT_LABEL_WIDTH, secondary, LABEL_UNITS);
  } else if (!IsStateCharKeyType(keyType)) {
    ReadUtf16Field(keyRecord + KEY_LABEL, KEY_LABEL_WIDTH, primary, LABEL_UNITS);
    ReadUtf16Field(keyRecord + KEY_SHIFT_LABEL, KEY_SHIFT_LABEL_WIDTH, secondary, LABEL_UNITS);
  } else if (ShiftState & SS_ALTGR) {
    SetSingleUnit(primary, StateChar(keyRecord, KEY_STATE_CHAR_ALTGR));
    SetSingleUnit(secondary, StateChar(keyRecord, (ShiftState & SS_SHIFT)
                                                      ? KEY_STATE_CHAR_ALTGR_SHIFT
                                                      : KEY_STATE_CHAR_SHIFT));
  } else {
    SetSingleUnit(primary, StateChar(keyRecord, KEY_STATE_CHAR_NONE));
    SetSingleUnit(secondary, StateChar(keyRecord, KEY_STATE_CHAR_SHIFT));
  }
}

void DrawKeyLabel(HDC dc, LPCWSTR primary, LPCWSTR secondary, const RECT* textRect,
                  bool capsAffected, const BYTE* keyRecord) {
  LPCWSTR text = ChooseKeyLabel(primary, secondary, capsAffected, ReadU8(keyRecord, KEY_TYPE));
  if (StartsWithGlyphPrefix(text)) {
    DrawKeyGlyph(dc, text + GLYPH_PREFIX_UNITS, textRect);
    return;
  }
  int n = FittedLabelLength(dc, text, textRect);
  if (n == 0) return;
  // DrawTextW takes a lone "&" as a prefix mark with nothing to mark; doubled,
  // it shows as itself. Longer labels keep their "&" as a prefix on purpose.
  if (n == 1 && text[0] == TEXT('&')) {
    text = TEXT("&&");
    n = 2;
  }
  RECT rect = *textRect;
  api::DrawTextW(dc, text, n, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace tapora
