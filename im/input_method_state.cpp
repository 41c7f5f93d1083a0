// Storage of the input method's process-wide state (see input_method_state.h).
#include "im/input_method_state.h"

namespace tapora {

InputMethodStateRecord InputMethodState = {};

}  // namespace tapora
