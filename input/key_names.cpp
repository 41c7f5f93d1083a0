// The special-key table (see key_names.h). Virtual keys are the platform's
// standard codes.
#include "input/key_names.h"

#include "input/key_text.h"

namespace tapora {

namespace {

constexpr SpecialKeySend DOWN = SpecialKeySend::VirtualKeyDown;

const SpecialKey SPECIAL_KEYS[] = {
    {TEXT("[Enter]"), DOWN, 13, true},
    {TEXT("[Tab]"), SpecialKeySend::TabCharacter, 0, true},
    {TEXT("[Back]"), DOWN, 8, true},
    {TEXT("[Insert]"), DOWN, 45, false},
    {TEXT("[Delete]"), DOWN, 46, true},
    {TEXT("[Home]"), DOWN, 36, false},
    {TEXT("[End]"), DOWN, 35, false},
    {TEXT("[PgUp]"), DOWN, 33, false},
    {TEXT("[PgDn]"), DOWN, 34, false},
    {TEXT("[Up]"), DOWN, 38, true},
    {TEXT("[Down]"), DOWN, 40, true},
    {TEXT("[Left]"), DOWN, 37, true},
    {TEXT("[Right]"), DOWN, 39, true},
    {TEXT("[F1]"), DOWN, 112, false},
    {TEXT("[F2]"), DOWN, 113, false},
    {TEXT("[F3]"), DOWN, 114, false},
    {TEXT("[F4]"), DOWN, 115, false},
    {TEXT("[F5]"), DOWN, 116, false},
    {TEXT("[F6]"), DOWN, 117, false},
    {TEXT("[F7]"), DOWN, 118, false},
    {TEXT("[F8]"), DOWN, 119, false},
    {TEXT("[F9]"), DOWN, 120, false},
    {TEXT("[F10]"), DOWN, 121, false},
    {TEXT("[F11]"), DOWN, 122, false},
    {TEXT("[F12]"), DOWN, 123, false},
};

const WCHAR* const NON_REPEATING_NAMES[] = {
    TEXT("[Shift-Down]"), TEXT("[Alt-Down]"), TEXT("[AltGr-Down]"),
    TEXT("[NUMLOCK]"),    TEXT("[Ctrl-Down]"), TEXT("[Caps]"),
};

}  // namespace

const SpecialKey* FindSpecialKey(const WCHAR* text) {
  for (const SpecialKey& key : SPECIAL_KEYS) {
    if (KeyTextStartsWith(text, key.name)) return &key;
  }
  return nullptr;
}

bool BeginsWithNonRepeatingName(const WCHAR* text) {
  for (const WCHAR* name : NON_REPEATING_NAMES) {
    if (KeyTextStartsWith(text, name)) return true;
  }
  return false;
}

}  // namespace tapora
