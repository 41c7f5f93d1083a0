// Storage of the modifier state word and its companions (see shift_state.h).
#include "input/shift_state.h"

namespace tapora {

WORD ShiftState = 0;
WORD PreviousShiftState = 0;
WORD SentShiftState = 0;
BYTE ShiftHeld = 0;
BYTE CtrlHeld = 0;
BYTE AltHeld = 0;

}  // namespace tapora
