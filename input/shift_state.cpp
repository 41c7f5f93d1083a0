#include "input/shift_state.h"

namespace tapora {

WORD ShiftState = 0;

}  // namespace tapora
