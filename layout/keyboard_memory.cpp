// KeyboardMemory and the read helpers that drawing and tap handling use. Each
// helper locks the blocks it reads and unlocks them before it returns.
#include "layout/keyboard_memory.h"

#include "apicalls/api_memory.h"

namespace tapora {

KeyboardMemoryHandles KeyboardMemory = {0, 0};

DWORD PanelCount() {
  BYTE* header = api::Lock(KeyboardMemory.setHeaderHandle);
  if (header == nullptr) return 0;
  DWORD count = ReadU32(header, SET_PANEL_COUNT);
  api::Unlock(KeyboardMemory.setHeaderHandle);
  return count;
}

DWORD PanelHandle(DWORD index) {
  BYTE* array = api::Lock(KeyboardMemory.panelArrayHandle);
  if (array == nullptr) return 0;
  // Walked from the start so that an index past the 0 entry never reads
  // beyond the block.
  DWORD handle = 0;
  for (DWORD i = 0;; ++i) {
    handle = ReadU32(array, PANEL_ARRAY_ENTRY_SIZE * i);
    if (handle == 0 || i == index) break;
  }
  api::Unlock(KeyboardMemory.panelArrayHandle);
  return handle;
}

bool ReadPanelPlace(DWORD panelHandle, PanelPlace* place) {
  BYTE* panel = api::Lock(panelHandle);
  if (panel == nullptr) return false;
  place->top = ReadU16(panel, PANEL_TOP);
  place->left = ReadU16(panel, PANEL_LEFT);
  place->width = ReadU16(panel, PANEL_WIDTH);
  place->height = ReadU16(panel, PANEL_HEIGHT);
  place->keyCount = ReadU32(panel, PANEL_KEY_COUNT);
  api::Unlock(panelHandle);
  return true;
}

bool ReadKeyEntry(DWORD panelHandle, DWORD k, KeyEntry* entry) {
  BYTE* panel = api::Lock(panelHandle);
  if (panel == nullptr) return false;
  bool found = k < ReadU32(panel, PANEL_KEY_COUNT);
  if (found) {
    DWORD at = PANEL_KEY_ENTRIES + KEY_ENTRY_SIZE * k;
    entry->keyHandle = ReadU32(panel, at + KEY_ENTRY_KEY_HANDLE);
    entry->x = ReadU16(panel, at + KEY_ENTRY_X);
    entry->y = ReadU16(panel, at + KEY_ENTRY_Y);
  }
  api::Unlock(panelHandle);
  return found;
}

bool ReadKeyRecord(DWORD keyHandle, BYTE* record) {
  BYTE* key = api::Lock(keyHandle);
  if (key == nullptr) return false;
  for (DWORD i = 0; i < KEY_RECORD_SIZE; ++i) record[i] = key[i];
  api::Unlock(keyHandle);
  return true;
}

bool ReadKeyShape(DWORD keyHandle, KeyShape* shape) {
  BYTE* key = api::Lock(keyHandle);
  if (key == nullptr) return false;
  shape->width = ReadU16(key, KEY_WIDTH);
  shape->height = ReadU16(key, KEY_HEIGHT);
  shape->down = ReadU8(key, KEY_DOWN);
  api::Unlock(keyHandle);
  return true;
}

bool KeyDown(DWORD keyHandle, BYTE* down) {
  BYTE* key = api::Lock(keyHandle);
  if (key == nullptr) return false;
  *down = ReadU8(key, KEY_DOWN);
  api::Unlock(keyHandle);
  return true;
}

bool SetKeyDown(DWORD keyHandle, BYTE down) {
  BYTE* key = api::Lock(keyHandle);
  if (key == nullptr) return false;
  WriteU8(key, KEY_DOWN, down);
  api::Unlock(keyHandle);
  return true;
}

}  // namespace tapora
