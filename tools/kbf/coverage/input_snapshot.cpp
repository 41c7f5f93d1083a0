// Taking the system's input state out and putting it back (see input_snapshot.h).
#include "tools/kbf/coverage/input_snapshot.h"

#include <windows.h>

#include "input/dead_keys.h"
#include "input/hit_test.h"
#include "input/key_output.h"
#include "input/modifier_state.h"
#include "input/shift_state.h"
#include "input/tap_handling.h"
#include "language/keyboard_selection.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "wince/host/text.h"

namespace kbf::coverage {

namespace {

// Every key handle of the loaded keyboard, in panel and key order.
std::vector<DWORD> KeyHandles() {
  std::vector<DWORD> handles;
  for (DWORD p = 0; tapora::PanelHandle(p) != 0; ++p) {
    tapora::KeyEntry entry{};
    for (DWORD k = 0; tapora::ReadKeyEntry(tapora::PanelHandle(p), k, &entry); ++k) {
      handles.push_back(entry.keyHandle);
    }
  }
  return handles;
}

void CopyName(WCHAR* destination, const std::u16string& name) {
  const size_t n = std::min<size_t>(name.size(), tapora::PATH_UNITS - 1);
  for (size_t i = 0; i < n; ++i) destination[i] = name[i];
  destination[n] = 0;
}

template <typename T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

std::string InputSnapshot::Identity() const {
  std::string id = wince::host::Utf8(languageName) + '\\' + wince::host::Utf8(layoutFile) + '\0';
  Put(id, shiftState);
  Put(id, sentShiftState);
  Put(id, shiftHeld);
  Put(id, ctrlHeld);
  Put(id, altHeld);
  Put(id, charKeyFlags);
  Put(id, pendingDeadChar);
  if (pendingDeadChar != 0) {
    // Only read while a dead key waits; set when the wait starts.
    Put(id, deadKeyShiftState);
    id.append(pendingDeadKey.begin(), pendingDeadKey.end());
  }
  id.append(downBytes.begin(), downBytes.end());
  return id;
}

std::string InputSnapshot::KeyboardName() const {
  const std::string file = wince::host::Utf8(layoutFile);
  return languageName.empty() ? file : wince::host::Utf8(languageName) + "\\" + file;
}

InputSnapshot CaptureInput() {
  InputSnapshot s;
  s.languageName = tapora::KeyboardSelection.languageName;
  s.layoutFile = tapora::KeyboardSelection.layoutFile;
  s.windowHeight = tapora::KeyboardSelection.windowHeight;
  s.windowWidth = tapora::KeyboardSelection.windowWidth;
  s.shiftState = tapora::ShiftState;
  s.previousShiftState = tapora::PreviousShiftState;
  s.sentShiftState = tapora::SentShiftState;
  s.modifierKind = tapora::ModifierKind;
  s.shiftHeld = tapora::ShiftHeld;
  s.ctrlHeld = tapora::CtrlHeld;
  s.altHeld = tapora::AltHeld;
  s.charKeyFlags = tapora::CharKeyFlags;
  s.charCell = tapora::CharCell;
  s.pendingDeadKey.assign(tapora::PendingDeadKey, tapora::PendingDeadKey + tapora::KEY_RECORD_SIZE);
  s.pendingDeadChar = tapora::PendingDeadChar[0];
  s.deadKeyShiftState = tapora::DeadKeyShiftState;
  for (DWORD handle : KeyHandles()) {
    BYTE down = 0;
    tapora::KeyDown(handle, &down);
    s.downBytes.push_back(down);
  }
  return s;
}

bool RestoreInput(const InputSnapshot& s, bool reload) {
  if (reload) {
    CopyName(tapora::KeyboardSelection.languageName, s.languageName);
    CopyName(tapora::KeyboardSelection.layoutFile, s.layoutFile);
    if (!tapora::LoadKeyboard(tapora::BuildKeyboardPath(), &tapora::KeyboardSelection.windowHeight,
                              &tapora::KeyboardSelection.windowWidth)) {
      return false;
    }
  }
  tapora::KeyboardSelection.windowHeight = s.windowHeight;
  tapora::KeyboardSelection.windowWidth = s.windowWidth;
  tapora::ShiftState = s.shiftState;
  tapora::PreviousShiftState = s.previousShiftState;
  tapora::SentShiftState = s.sentShiftState;
  tapora::ModifierKind = s.modifierKind;
  tapora::ShiftHeld = s.shiftHeld;
  tapora::CtrlHeld = s.ctrlHeld;
  tapora::AltHeld = s.altHeld;
  tapora::CharKeyFlags = s.charKeyFlags;
  tapora::CharCell = s.charCell;
  std::copy(s.pendingDeadKey.begin(), s.pendingDeadKey.end(), tapora::PendingDeadKey);
  tapora::PendingDeadChar[0] = s.pendingDeadChar;
  tapora::PendingDeadChar[1] = 0;
  tapora::DeadKeyShiftState = s.deadKeyShiftState;
  const std::vector<DWORD> handles = KeyHandles();
  if (handles.size() != s.downBytes.size()) return false;
  for (size_t i = 0; i < handles.size(); ++i) tapora::SetKeyDown(handles[i], s.downBytes[i]);
  // Between taps the pen is up and nothing is pressed.
  tapora::PenDown = 0;
  tapora::RepeatTicks = 0;
  tapora::PressOutput[0] = 0;
  tapora::ReleaseOutput[0] = 0;
  tapora::PressedKey = 0;
  return true;
}

void ResetInputToStart() {
  tapora::ShiftState = 0;
  tapora::PreviousShiftState = 0;
  tapora::SentShiftState = 0;
  tapora::ShiftHeld = 0;
  tapora::CtrlHeld = 0;
  tapora::AltHeld = 0;
  tapora::ModifierKind = 0;
  tapora::CharKeyFlags = 0;
  tapora::CharCell = 0;
  tapora::DropDeadKeyWait();
  tapora::DeadKeyShiftState = 0;
  tapora::PenDown = 0;
  tapora::RepeatTicks = 0;
  tapora::TypematicEnabled = 1;
  tapora::PressOutput[0] = 0;
  tapora::ReleaseOutput[0] = 0;
  tapora::PressedKey = 0;
  tapora::ReleaseResult = 0;
  tapora::PenPanelIndex = 0;
  tapora::HitKeyRef = tapora::KeyRef{0, 0};
}

}  // namespace kbf::coverage
