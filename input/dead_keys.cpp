// Dead-key waits and compositions (see dead_keys.h for the tables and the
// transitions).
#include "input/dead_keys.h"

#include "input/key_text.h"
#include "input/key_types.h"
#include "input/modifier_state.h"
#include "input/output_selection.h"
#include "input/shift_state.h"
#include "layout/records.h"

namespace tapora {

BYTE PendingDeadKey[KEY_RECORD_SIZE] = {};
WCHAR PendingDeadChar[2] = {0, 0};
WORD DeadKeyShiftState = 0;

namespace {

constexpr int COMPOSITION_SLOTS = 12;

// The partner's state: like StateIndex, but Caps Lock counts as Shift and the
// two cancel.
BYTE PartnerState(WORD shiftState) {
  const bool shift = (shiftState & SS_SHIFT) != 0;
  const bool altGr = (shiftState & SS_ALTGR) != 0;
  const bool caps = (shiftState & SS_CAPS) != 0;
  if (shift && altGr) return STATE_ALTGR_SHIFT;
  if (altGr) return STATE_ALTGR;
  if (shift && caps) return STATE_PLAIN;
  if (shift || caps) return STATE_SHIFT;
  return STATE_PLAIN;
}

// The waiting dead key's character goes out in place of the tap's own text.
WCHAR* ReleaseWait(WCHAR* releaseOutput) {
  SetKeyTextUnit(releaseOutput, PendingDeadChar[0]);
  DropDeadKeyWait();
  return releaseOutput;
}

WCHAR* ApplyToDeadKey(const BYTE* keyRecord, WCHAR* releaseOutput) {
  // Caps Lock does not count for the dead key's own state.
  const BYTE state = StateIndex(PreviousShiftState);
  if ((ReadU8(keyRecord, KEY_DEAD_KEY_STATES) & state) == 0) {
    // Not dead in this state: its text goes out like any key's, and a dead key
    // that was waiting keeps its own state for its partner.
    return releaseOutput;
  }
  if (DeadKeyWaiting()) return ReleaseWait(releaseOutput);
  // A dead key whose character is empty in this state has nothing to wait with.
  if (releaseOutput[0] != 0) {
    for (DWORD i = 0; i < KEY_RECORD_SIZE; ++i) PendingDeadKey[i] = keyRecord[i];
    SetKeyTextUnit(PendingDeadChar, releaseOutput[0]);
    DeadKeyShiftState = PreviousShiftState;
  }
  releaseOutput[0] = 0;
  return releaseOutput;
}

WCHAR* ApplyToPartner(const BYTE* keyRecord, WCHAR* releaseOutput) {
  const BYTE deadState = StateIndex(DeadKeyShiftState);
  const BYTE partnerState = PartnerState(PreviousShiftState);
  int index = 0;
  if (!FindComposition(PendingDeadKey, keyRecord, deadState, partnerState, &index)) {
    return ReleaseWait(releaseOutput);
  }
  const int unit = partnerState == STATE_SHIFT ? index + 1 : index;
  // Index 15 typed shifted would name a unit past the output field: no
  // composition then, as for a missing table entry.
  if (unit >= static_cast<int>(KEY_OUTPUT_UNITS)) return ReleaseWait(releaseOutput);
  SetKeyTextUnit(releaseOutput,
                 static_cast<WCHAR>(ReadU16(keyRecord, KEY_OUTPUT + 2 * static_cast<DWORD>(unit))));
  DropDeadKeyWait();
  return releaseOutput;
}

}  // namespace

bool DeadKeyWaiting() { return PendingDeadChar[0] != 0; }

WCHAR* ApplyDeadKey(const BYTE* keyRecord, WCHAR* releaseOutput) {
  if (ModifierKind != 0) {
    // A modifier tap sends nothing; a waiting dead key keeps waiting.
    releaseOutput[0] = 0;
    return releaseOutput;
  }
  if (ReadU8(keyRecord, KEY_TYPE) == DEAD_KEY_TYPE) return ApplyToDeadKey(keyRecord, releaseOutput);
  if (!DeadKeyWaiting()) return releaseOutput;
  return ApplyToPartner(keyRecord, releaseOutput);
}

bool FindComposition(const BYTE* deadKey, const BYTE* partner, BYTE deadState,
                     BYTE partnerState, int* index) {
  const bool altGr = partnerState == STATE_ALTGR || partnerState == STATE_ALTGR_SHIFT;
  // Read from the per-state units whatever the partner's key type.
  const WCHAR base =
      static_cast<WCHAR>(ReadU16(partner, altGr ? KEY_STATE_CHAR_ALTGR : KEY_STATE_CHAR_NONE));
  for (int slot = 0; slot < COMPOSITION_SLOTS; ++slot) {
    const WCHAR slotBase =
        static_cast<WCHAR>(ReadU16(deadKey, KEY_OUTPUT + 2 * static_cast<DWORD>(slot)));
    if (slotBase == 0) continue;
    const BYTE code = ReadU8(deadKey, KEY_SHIFT_LABEL + static_cast<DWORD>(slot));
    if (slotBase == base && (code >> 4) == deadState) {
      *index = code & 0x0F;
      return true;
    }
  }
  return false;
}

void DropDeadKeyWait() {
  for (BYTE& byte : PendingDeadKey) byte = 0;
  PendingDeadChar[0] = 0;
  PendingDeadChar[1] = 0;
}

}  // namespace tapora
