// Modifier kinds and the latching of modifiers in ShiftState (see
// modifier_state.h for the transitions).
#include "input/modifier_state.h"

#include "input/dead_keys.h"
#include "input/key_text.h"
#include "input/shift_state.h"
#include "layout/records.h"

namespace tapora {

WORD ModifierKind = 0;

namespace {

struct KindName {
  const WCHAR* name;
  WORD kind;
};

// In the order they are tried; only a whole, exact match counts.
const KindName KIND_NAMES[] = {
    {TEXT("[Caps]"), KIND_CAPS},
    {TEXT("[Shift-Down]"), KIND_SHIFT},
    {TEXT("[AltGr-Down]"), KIND_ALTGR},
    {TEXT("[Alt-Down]"), KIND_ALT},
    {TEXT("[Ctrl-Down]"), KIND_CTRL},
};

}  // namespace

WORD GetModifierKind(const BYTE* keyRecord) {
  WCHAR output[KEY_TEXT_SIZE];
  ReadKeyField(keyRecord, KEY_OUTPUT, KEY_OUTPUT_WIDTH, output);
  for (const KindName& entry : KIND_NAMES) {
    if (KeyTextEquals(output, entry.name)) return entry.kind;
  }
  return 0;
}

void ToggleModifier() {
  PreviousShiftState = ShiftState;
  switch (ModifierKind) {
    case KIND_CAPS:
      // Turning the lock on or off always drops a latched Shift and AltGr.
      ShiftState = static_cast<WORD>(ShiftState & ~(SS_ALTGR | SS_SHIFT));
      ShiftState ^= SS_CAPS;
      break;
    case KIND_SHIFT:
      ShiftState ^= SS_SHIFT;
      break;
    case KIND_ALTGR:
      // With Caps Lock on an AltGr tap changes nothing.
      if ((ShiftState & SS_CAPS) == 0) ShiftState ^= SS_ALTGR;
      break;
    case KIND_ALT:
      ShiftState ^= SS_ALT;
      break;
    case KIND_CTRL:
      ShiftState ^= SS_CTRL;
      break;
    default:
      break;
  }
}

void ClearOneShotModifiers() {
  if (ModifierKind != 0) return;
  ShiftState = static_cast<WORD>(ShiftState & ~(SS_SHIFT | SS_ALTGR | SS_ALT | SS_CTRL));
}

void ResetInputState() {
  ShiftState = 0;
  DropDeadKeyWait();
}

}  // namespace tapora
