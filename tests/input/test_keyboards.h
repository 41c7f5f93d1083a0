// Keyboards that several scenario files type on.
#pragma once

#include "tests/input/scenario_driver.h"

namespace input_test {

// Letters and digits of every selection group, the five modifier keys, special
// keys, numeric and command forms, and near-misses of the modifier names.
TestKeyboard CommonKeyboard();

// Three dead keys (acute and grave dead plain, tilde dead on AltGr), a
// circumflex dead only when typed plain, their partners and a few plain keys.
TestKeyboard DeadKeyKeyboard();

}  // namespace input_test
