// The system's whole input state between two taps, taken out of its
// process-wide variables and put back, so that the explorer can try every key
// from the same state: the modifier word and its companions, the keys held
// towards the application, the character-event flags, a waiting dead key, the
// tap state, the keyboard selection and every key's `down` byte. The loaded
// keyboard itself is named by its language and file; putting a snapshot back
// on another keyboard reloads it first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kbf::coverage {

struct InputSnapshot {
  // The keyboard: its language folder (empty for the base folder) and file.
  std::u16string languageName;
  std::u16string layoutFile;
  long windowHeight = 0;
  long windowWidth = 0;
  // Modifier and held-key state.
  uint16_t shiftState = 0;
  uint16_t previousShiftState = 0;
  uint16_t sentShiftState = 0;
  uint16_t modifierKind = 0;
  uint8_t shiftHeld = 0, ctrlHeld = 0, altHeld = 0;
  uint32_t charKeyFlags = 0;
  uint32_t charCell = 0;
  // The dead-key wait.
  std::vector<uint8_t> pendingDeadKey;
  char16_t pendingDeadChar = 0;
  uint16_t deadKeyShiftState = 0;
  // Every key's `down` byte, in panel and key order.
  std::vector<uint8_t> downBytes;

  // What decides every later tap. The tap-local variables (the previous
  // modifier word, the kind, the tap texts) are written by each tap before
  // it reads them, so two snapshots that differ only there behave alike.
  std::string Identity() const;
  // "German\qwertz.kbf", UTF-8.
  std::string KeyboardName() const;
};

// The state as it stands now.
InputSnapshot CaptureInput();

// Puts a snapshot back. With `reload` the snapshot's keyboard is loaded
// first, from the selection's own path (so the base folder must have been
// set by a first selection). False when it does not load.
bool RestoreInput(const InputSnapshot& snapshot, bool reload);

// Every input variable back to its value at library load, no dead key waiting.
void ResetInputToStart();

}  // namespace kbf::coverage
