// Drawing one key: its up or down state, then its face, then its label.
//
// The record is copied out of its block for drawing; only the down byte is
// written back (SetKeyDown), and only when the state decision changed it.
#include "apicalls/api_gdi.h"
#include "input/key_types.h"
#include "input/modifier_state.h"
#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "render/key_face.h"
#include "render/key_label.h"
#include "render/paint_keyboard.h"
#include "render/palette.h"

namespace tapora {

namespace {

constexpr BYTE STOCK_KEY_TYPE = 5;

// The ShiftState bit that shows a modifier key of this kind down; 0 for an
// ordinary key.
WORD LatchBit(WORD kind) {
  switch (kind) {
    case KIND_CAPS: return SS_CAPS;
    case KIND_SHIFT: return SS_SHIFT;
    case KIND_ALTGR: return SS_ALTGR;
    case KIND_ALT: return SS_ALT;
    case KIND_CTRL: return SS_CTRL;
  }
  return 0;
}

// Scope and latch decision; false when the key is not to be drawn at all.
bool DecideDownState(DWORD keyHandle, BYTE* record, DrawMode mode, bool keepDownState) {
  BYTE down = ReadU8(record, KEY_DOWN);
  if (mode == PressedKeysOnly) {
    if (down != 1) return false;  // left untouched on the screen
    down = 0;
  }
  if (!keepDownState && ShowsLatchedState(ReadU8(record, KEY_TYPE))) {
    const WORD bit = LatchBit(GetModifierKind(record));
    if (bit != 0) down = (ShiftState & bit) ? 1 : 0;
  }
  if (down != ReadU8(record, KEY_DOWN)) {
    WriteU8(record, KEY_DOWN, down);
    SetKeyDown(keyHandle, down);
  }
  return true;
}

}  // namespace

void DrawKey(HDC dc, DWORD keyHandle, LONG left, LONG top, DrawMode mode, bool keepDownState) {
  if (keyHandle == 0) return;
  BYTE record[KEY_RECORD_SIZE];
  if (!ReadKeyRecord(keyHandle, record)) return;
  if (!DecideDownState(keyHandle, record, mode, keepDownState)) return;

  const bool down = ReadU8(record, KEY_DOWN) == 1;
  const BYTE keyType = ReadU8(record, KEY_TYPE);
  const RECT keyRect = {left, top, left + ReadU16(record, KEY_WIDTH),
                        top + ReadU16(record, KEY_HEIGHT)};

  api::SetBkMode(dc, TRANSPARENT);
  FaceStyle style;
  if (keyType == STOCK_KEY_TYPE) {
    style = down ? FaceStyle::StockDown : FaceStyle::StockUp;
  } else {
    style = down ? FaceStyle::Sunken : FaceStyle::Raised;
  }
  CurrentColours.face = ReadU8(record, KEY_FACE_COLOUR);
  CurrentColours.text = ReadU8(record, KEY_TEXT_COLOUR);
  CurrentColours.lightEdge = ReadU8(record, KEY_LIGHT_EDGE_COLOUR);
  CurrentColours.shadowEdge = ReadU8(record, KEY_SHADOW_EDGE_COLOUR);
  DrawKeyFace(dc, style, &keyRect);

  // A pressed key's label moves a pixel right and down; its face stays put.
  RECT textRect = keyRect;
  if (down) {
    textRect.left += 1;
    textRect.top += 1;
    textRect.right += 1;
    textRect.bottom += 1;
  }
  api::SetTextColor(dc, PaletteColour(CurrentColours.text));

  WCHAR primary[LABEL_UNITS];
  WCHAR secondary[LABEL_UNITS];
  PrepareKeyLabels(record, primary, secondary);
  DrawKeyLabel(dc, primary, secondary, &textRect, IsCapsAffectedKeyType(keyType), record);
}

}  // namespace tapora
