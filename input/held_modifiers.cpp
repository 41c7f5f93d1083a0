// Pressing and releasing the latched modifiers towards the application (see
// held_modifiers.h).
#include "input/held_modifiers.h"

#include "input/key_events.h"
#include "input/shift_state.h"

namespace tapora {

namespace {

struct HeldModifier {
  WORD bit;
  BYTE virtualKey;
  BYTE* held;
};

// Shift, Ctrl, Alt: the order in which they are pressed and released.
const HeldModifier HELD_MODIFIERS[] = {
    {SS_SHIFT, VK_SHIFT_KEY, &ShiftHeld},
    {SS_CTRL, VK_CONTROL_KEY, &CtrlHeld},
    {SS_ALT, VK_ALT_KEY, &AltHeld},
};

}  // namespace

void PressHeldModifiers() {
  for (const HeldModifier& modifier : HELD_MODIFIERS) {
    if ((SentShiftState & modifier.bit) != 0 && *modifier.held == 0) {
      SendVirtualKeyEvent(modifier.virtualKey, KEY_EVENT_DOWN);
      *modifier.held = 1;
    }
  }
}

void ReleaseUnlatchedModifiers() {
  for (const HeldModifier& modifier : HELD_MODIFIERS) {
    if ((SentShiftState & modifier.bit) == 0 && *modifier.held == 1) {
      SendVirtualKeyEvent(modifier.virtualKey, KEY_EVENT_UP);
      *modifier.held = 0;
    }
  }
}

void ReleaseHeldModifiers() {
  for (const HeldModifier& modifier : HELD_MODIFIERS) {
    // A typematic repeat copies ShiftState into SentShiftState, so a key still
    // held from a used-up one-shot modifier may no longer have its bit there.
    if ((SentShiftState & modifier.bit) != 0 || *modifier.held == 1) {
      SendVirtualKeyEvent(modifier.virtualKey, KEY_EVENT_UP);
      SentShiftState = static_cast<WORD>(SentShiftState & ~modifier.bit);
      *modifier.held = 0;
    }
  }
}

}  // namespace tapora
