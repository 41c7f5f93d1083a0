// Dead keys: a dead key (type 19) tapped in one of its dead states sends
// nothing and waits; the next ordinary key is combined with it through the
// tables held in the two key records. Only ApplyDeadKey, at pen-up, and
// DropDeadKeyWait (every keyboard load and release) change the wait.
//
// The tables:
//   dead key  output units 0..11     base characters (0 = empty slot)
//             shiftLabel bytes 0..11 code per slot: high nibble = StateIndex the
//                                    dead key was tapped in, low nibble = index i
//   partner   output unit i          composed character, typed plain
//             output unit i + 1      composed character, typed shifted
//
// Transitions of the wait:
//   none    -> waiting  dead key tapped in a dead state       [ApplyDeadKey]
//   waiting -> none     ordinary key: composed, or the dead
//                       key's own character when no table fits [ApplyDeadKey]
//   waiting -> none     second dead key: the first one's
//                       character is sent                      [ApplyDeadKey]
//   waiting -> none     keyboard load or release               [DropDeadKeyWait]
// Modifier taps, abandoned taps and typematic repeats leave a wait alone.
#pragma once

#include <windows.h>

#include "layout/records.h"

namespace tapora {

// A copy of the waiting dead key's record (all zero when none waits). A copy,
// because callers may hand in a record they read out of its block; the wait is
// still dropped whenever the keyboard it came from is released.
extern BYTE PendingDeadKey[KEY_RECORD_SIZE];
// The waiting dead key's character and a terminator; empty when none waits.
extern WCHAR PendingDeadChar[2];
// PreviousShiftState at the moment the waiting dead key was tapped.
extern WORD DeadKeyShiftState;

// True while a dead key waits for its partner.
bool DeadKeyWaiting();

// At pen-up, after SelectKeyOutput: may replace releaseOutput (KEY_TEXT_SIZE
// units) with nothing, the waiting dead key's character or a composed
// character. Reads ModifierKind and PreviousShiftState. Returns releaseOutput.
WCHAR* ApplyDeadKey(const BYTE* keyRecord, WCHAR* releaseOutput);

// The first slot of deadKey's table for the partner's base character in dead
// state deadState; partnerState (1, 2, 4 or 8) picks the base character.
bool FindComposition(const BYTE* deadKey, const BYTE* partner, BYTE deadState,
                     BYTE partnerState, int* index);

// Forgets a waiting dead key without sending anything.
void DropDeadKeyWait();

}  // namespace tapora
