// The loaded keyboard: two heap handles, owned by the loader from LoadKeyboard
// to the next ResetKeyboard. Drawing and tap handling read the records in
// place through the helpers below (each locks and unlocks in pairs); the only
// byte they write is a key's `down`, through SetKeyDown.
//
//   setHeaderHandle  -> PanelSetHeader (96 bytes)
//   panelArrayHandle -> u32 PanelBlock handles in panel order, then 0
//   PanelBlock       -> PanelRecord (37) + keyCount x KeyEntry (8)
//   KeyEntry.keyHandle -> KeyRecord (71), one block per placement
#pragma once

#include <windows.h>

#include "layout/records.h"

namespace tapora {

struct KeyboardMemoryHandles {
  DWORD setHeaderHandle;   // 0 = no keyboard loaded
  DWORD panelArrayHandle;  // 0 = none
};

extern KeyboardMemoryHandles KeyboardMemory;

// A KeyEntry decoded from a PanelBlock.
struct KeyEntry {
  DWORD keyHandle;
  WORD x;
  WORD y;
};

// The place, size and key count of a panel, decoded from its PanelRecord.
struct PanelPlace {
  WORD top;
  WORD left;
  WORD width;
  WORD height;
  DWORD keyCount;
};

// panelCount of the loaded set header; 0 when none is loaded.
DWORD PanelCount();

// The PanelBlock handle of panel `index`; 0 past the array's 0 entry or when
// no panel array exists.
DWORD PanelHandle(DWORD index);

// Decodes a panel's record; false for a 0 or invalid handle.
bool ReadPanelPlace(DWORD panelHandle, PanelPlace* place);

// Decodes key entry k of a panel; false when k is not below its keyCount or
// the handle is 0 or invalid.
bool ReadKeyEntry(DWORD panelHandle, DWORD k, KeyEntry* entry);

// Copies a key's whole record (KEY_RECORD_SIZE bytes) out of its block.
bool ReadKeyRecord(DWORD keyHandle, BYTE* record);

// What hit testing reads of a key, in one lock: its size and `down` byte.
struct KeyShape {
  WORD width;
  WORD height;
  BYTE down;
};
bool ReadKeyShape(DWORD keyHandle, KeyShape* shape);
// The `down` byte of a key, and setting it; false for a 0 or invalid handle.
bool KeyDown(DWORD keyHandle, BYTE* down);
bool SetKeyDown(DWORD keyHandle, BYTE down);

}  // namespace tapora
