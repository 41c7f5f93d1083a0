// Sending output texts as key events (see key_output.h).
#include "input/key_output.h"

#include "apicalls/api_text.h"
#include "input/held_modifiers.h"
#include "input/key_events.h"
#include "input/key_text.h"
#include "input/shift_state.h"
#include "input/key_names.h"

namespace tapora {

UINT CharKeyFlags = 0;
UINT CharCell = 0;

namespace {

constexpr int NUMERIC_PREFIX_UNITS = 3;
constexpr int NUMERIC_DIGIT_UNITS = 3;
constexpr WCHAR TAB_CHARACTER = 9;

void SendSpecialKey(const SpecialKey& key) {
  if (key.send == SpecialKeySend::TabCharacter) {
    CharCell = TAB_CHARACTER;
    SendCharEventsCall(0, CharKeyFlags, 1, &CharKeyFlags, &CharCell);
    return;
  }
  SendVirtualKeyEvent(key.virtualKey, KEY_EVENT_DOWN);
}

UINT UpperCaseUnit(WCHAR unit) {
  WCHAR text[2] = {unit, 0};
  api::CharUpperW(text);
  return text[0];
}

// One unit with Ctrl or Alt held goes out as a key event with that state and no
// character, so that Ctrl with "c" arrives as virtual key 67.
void SendModifiedUnit(WCHAR unit) {
  CharCell = UpperCaseUnit(unit);
  SendCharEventsCall(CharCell, CharKeyFlags, 0, &CharKeyFlags, &CharCell);
}

// Ctrl and Alt apply to a text only while they are latched for it. A key that
// was released from the latch is still held towards the application until
// after that next tap's own output, and must not turn that tap into a second
// Ctrl or Alt shortcut.
bool CtrlApplies() { return CtrlHeld != 0 && (SentShiftState & SS_CTRL) != 0; }
bool AltApplies() { return AltHeld != 0 && (SentShiftState & SS_ALT) != 0; }

void SendPlainText(const WCHAR* text) {
  const int length = KeyTextLength(text);
  if (length == 0) return;  // nothing to type, so no event at all
  if (length != 1) {
    SendStringEvent(text, static_cast<DWORD>(length));
    return;
  }
  CharKeyFlags = CHAR_KEY_DOWN;
  if (CtrlApplies()) CharKeyFlags |= CHAR_KEY_CTRL;
  if (AltApplies()) CharKeyFlags |= CHAR_KEY_ALT;
  if (CharKeyFlags != CHAR_KEY_DOWN) {
    SendModifiedUnit(text[0]);
    return;
  }
  // A held Shift is already part of the chosen character.
  CharCell = text[0];
  SendCharEventsCall(0, CHAR_KEY_DOWN, 1, &CharKeyFlags, &CharCell);
}

void RepeatPlainText(const WCHAR* text) {
  const int length = KeyTextLength(text);
  if (length == 0) return;
  if (!CtrlApplies() && !AltApplies()) {
    SendStringEvent(text, static_cast<DWORD>(length));
    return;
  }
  // A longer text does not repeat while Ctrl or Alt is held.
  if (length == 1) SendModifiedUnit(text[0]);
}

// A repeat never presses or releases a modifier itself, so it sends nothing
// while a latched one is not pressed towards the application.
bool LatchedModifierNotHeld() {
  return ((SentShiftState & SS_SHIFT) != 0 && ShiftHeld == 0) ||
         ((SentShiftState & SS_CTRL) != 0 && CtrlHeld == 0) ||
         ((SentShiftState & SS_ALT) != 0 && AltHeld == 0);
}

}  // namespace

bool IsNumericKeyForm(const WCHAR* text) {
  return KeyTextStartsWith(text, TEXT("%%s")) || KeyTextStartsWith(text, TEXT("%%c"));
}

bool IsCommandText(const WCHAR* text) { return KeyTextStartsWith(text, TEXT("[CMD:")); }

void SendNumericKeyOutput(const WCHAR* text) {
  WCHAR digits[NUMERIC_DIGIT_UNITS + 1] = {0, 0, 0, 0};
  // The text may end before its three digits; stop at its terminator.
  const WCHAR* source = text + NUMERIC_PREFIX_UNITS;
  for (int i = 0; i < NUMERIC_DIGIT_UNITS && source[i] != 0; ++i) digits[i] = source[i];
  const long number = api::_wtol(digits);
  const BYTE virtualKey = static_cast<BYTE>(static_cast<unsigned long>(number) & 0xFF);
  SendVirtualKeyEvent(virtualKey, KEY_EVENT_DOWN);
  SendVirtualKeyEvent(virtualKey, KEY_EVENT_UP);
}

void SendKeyOutput(const WCHAR* text) {
  PressHeldModifiers();
  const SpecialKey* special = FindSpecialKey(text);
  if (special != nullptr) {
    SendSpecialKey(*special);
  } else {
    SendPlainText(text);
  }
  ReleaseUnlatchedModifiers();
}

void RepeatKeyOutput(const WCHAR* pressOutput) {
  SentShiftState = ShiftState;
  if (IsNumericKeyForm(pressOutput)) {
    SendNumericKeyOutput(pressOutput);
    return;
  }
  if (IsCommandText(pressOutput)) return;
  if (LatchedModifierNotHeld()) return;
  const SpecialKey* special = FindSpecialKey(pressOutput);
  if (special != nullptr) {
    if (special->repeats) SendSpecialKey(*special);
    return;
  }
  if (BeginsWithNonRepeatingName(pressOutput)) return;
  RepeatPlainText(pressOutput);
}

}  // namespace tapora
