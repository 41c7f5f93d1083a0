// Tap handling: pen-down, pen-up and typematic repeat on the input panel window.
//
// A tap runs through these states (PenDown is 1 in all but idle):
//   idle            -> pressed          pen-down on a key that is up: marked
//                                       down, drawn pressed, pen captured      [PressKey]
//   idle            -> pressed latched  pen-down on a key already shown down
//                                       (a latched modifier): no capture, no
//                                       redraw, no repeat text                 [PressKey]
//   idle            -> down, no key     pen-down outside every panel or key   [PressKey]
//   any pen-down    -> same state       timer tick: from the sixth on, the
//                                       pen-down text is sent again            [RepeatTick]
//   any pen-down    -> idle             pen-up on the key of the pen-down:
//                                       modifier toggled, text chosen, dead
//                                       key applied, then sent or acted on     [ReleaseKey]
//                                       capture released, redraw               [FinishRelease]
//   any pen-down    -> idle             pen-up anywhere else: abandoned, the
//                                       pressed key drawn up, nothing sent     [FinishRelease]
//
// Every tap ends with the capture released and its key drawn up, also when
// its text is the numeric virtual-key form or a command: a capture must not
// outlive its tap, nor a key stay drawn pressed after its pen-up.
#include "input/tap_handling.h"

#include "apicalls/api_gdi.h"
#include "apicalls/api_window.h"
#include "input/dead_keys.h"
#include "input/hit_test.h"
#include "input/key_output.h"
#include "input/keyboard_switch.h"
#include "input/modifier_state.h"
#include "input/output_selection.h"
#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "render/paint_keyboard.h"

namespace tapora {

BYTE PenDown = 0;
LONG RepeatTicks = 0;
BYTE TypematicEnabled = 1;
WCHAR PressOutput[KEY_TEXT_SIZE] = {};
WCHAR ReleaseOutput[KEY_TEXT_SIZE] = {};
DWORD PressedKey = 0;
DWORD ReleaseResult = 0;
LONG PenPanelIndex = 0;

namespace {

constexpr WORD ONE_SHOT_MODIFIERS = SS_SHIFT | SS_ALTGR | SS_ALT | SS_CTRL;

// The pen position of a pen message: x in the low word, y in the high word,
// each unsigned.
POINT PenPoint(LPARAM lParam) {
  const DWORD packed = static_cast<DWORD>(lParam);
  return POINT{static_cast<LONG>(packed & 0xFFFF), static_cast<LONG>((packed >> 16) & 0xFFFF)};
}

void RedrawKeyboard(HWND window, DrawMode mode) {
  HDC dc = api::GetDC(window);
  DrawKeyboard(dc, mode, false);
  api::ReleaseDC(window, dc);
}

void RedrawHitKey(HWND window, bool keepDownState) {
  HDC dc = api::GetDC(window);
  DrawPanelKeys(dc, PenPanelIndex, &HitKeyRef, AllKeys, keepDownState);
  api::ReleaseDC(window, dc);
}

// After a completed tap the whole keyboard is drawn again when labels or
// latched keys may have changed, else the key alone.
void RedrawCompletedTap(HWND window) {
  bool everything = true;
  switch (ModifierKind) {
    case KIND_CAPS:
    case KIND_SHIFT:
    case KIND_ALT:
    case KIND_CTRL:
      break;
    case KIND_ALTGR:
      // With Caps Lock on, AltGr does not latch, so nothing else changed.
      everything = (ShiftState & SS_CAPS) == 0;
      break;
    default:
      // The one-shot modifiers an ordinary key used up are cleared only now,
      // after its output went out with them.
      everything = (ShiftState & ONE_SHOT_MODIFIERS) != 0;
      if (everything) ClearOneShotModifiers();
      break;
  }
  if (everything) {
    RedrawKeyboard(window, AllKeys);
  } else {
    RedrawHitKey(window, false);
  }
}

// Ends a tap whose text was not sent as key output (the numeric form or a
// command): the capture goes and the key is drawn up, unless a keyboard
// switch already repainted the window.
void EndCommandTap(HWND window, bool repainted) {
  api::ReleaseCapture();
  if (!repainted && ReleaseResult == RELEASE_SAME_KEY) RedrawHitKey(window, false);
}

void PenUp(HWND window, POINT point) {
  RepeatTicks = 0;
  PenDown = 0;
  const WCHAR* text = ReleaseKey(point);
  SentShiftState = ShiftState;
  if (IsNumericKeyForm(text)) {
    SendNumericKeyOutput(text);
    EndCommandTap(window, false);
    return;
  }
  if (IsCommandText(text)) {
    // The capture goes first: a failed switch shows a message box.
    const bool switching = IsKeyboardSwitch(text);
    EndCommandTap(window, switching);
    if (switching) SwitchKeyboardFile(window, text);
    return;
  }
  SendKeyOutput(text);
  FinishRelease(window);
}

}  // namespace

LRESULT HandlePenMessage(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    PenDown = 1;
    PressKey(PenPoint(lParam), window);
  } else if (message == WM_LBUTTONUP) {
    PenUp(window, PenPoint(lParam));
  }
  return 0;
}

LPWSTR PressKey(POINT point, HWND window) {
  PressOutput[0] = 0;
  ModifierKind = 0;
  // A key pressed by an earlier tap must not make this pen-up count.
  PressedKey = 0;
  PenPanelIndex = HitTestPanels(point.x, point.y);
  if (PenPanelIndex == -1) return PressOutput;
  if (HitTestKeys(PenPanelIndex, point.x, point.y, true)) {
    api::SetCapture(window);
    RedrawHitKey(window, true);
    PressedKey = KeyHandleOf(HitKeyRef);
    BYTE record[KEY_RECORD_SIZE];
    if (ReadKeyRecord(PressedKey, record)) SelectKeyOutput(record, PressOutput);
  } else if (FindDownKeyAt(PenPanelIndex, point.x, point.y)) {
    PressedKey = KeyHandleOf(HitKeyRef);
  }
  return PressOutput;
}

LPWSTR ReleaseKey(POINT point) {
  ReleaseOutput[0] = 0;
  ReleaseResult = RELEASE_ABANDONED;
  PenPanelIndex = HitTestPanels(point.x, point.y);
  if (PenPanelIndex == -1) return ReleaseOutput;
  if (!HitTestKeys(PenPanelIndex, point.x, point.y, false)) return ReleaseOutput;
  const DWORD key = KeyHandleOf(HitKeyRef);
  BYTE record[KEY_RECORD_SIZE];
  if (key == 0 || key != PressedKey || !ReadKeyRecord(key, record)) return ReleaseOutput;
  ModifierKind = GetModifierKind(record);
  ToggleModifier();
  SelectKeyOutput(record, ReleaseOutput);
  ReleaseResult = RELEASE_SAME_KEY;
  ApplyDeadKey(record, ReleaseOutput);
  return ReleaseOutput;
}

void FinishRelease(HWND window) {
  api::ReleaseCapture();
  if (ReleaseResult == RELEASE_ABANDONED) {
    // Clears every key still marked down: the one the pen left.
    RedrawKeyboard(window, PressedKeysOnly);
    ReleaseOutput[0] = 0;
    PressedKey = 0;
    return;
  }
  RedrawCompletedTap(window);
}

void RepeatTick() {
  if (TypematicEnabled == 0 || PenDown == 0) return;
  RepeatTicks += 1;
  if (RepeatTicks > REPEAT_DELAY_TICKS) RepeatKeyOutput(PressOutput);
}

}  // namespace tapora
