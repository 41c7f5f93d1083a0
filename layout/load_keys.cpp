// LoadKeyList and LoadKey: the placements of a panel's key list, each key
// read into a block of its own (one copy per placement, so `down` is per
// placement) and appended to the panel block as a KeyEntry.
#include "apicalls/api_memory.h"
#include "layout/keyboard_memory.h"
#include "layout/load_files.h"
#include "layout/load_keyboard.h"
#include "layout/record_reader.h"
#include "layout/records.h"

namespace tapora {

namespace {

// Reads the key record into a new block; 0 when nothing could be read.
DWORD ReadKeyBlock(HANDLE container, LPCWSTR name) {
  DWORD key = api::Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, KEY_RECORD_SIZE);
  if (key == 0) return 0;
  BYTE* block = api::Lock(key);
  if (block == nullptr) {
    ReleaseUnlinked(key);
    return 0;
  }
  api::Zero(block, KEY_RECORD_SIZE);
  HANDLE file = AcquireMember(container, name, nullptr);
  DWORD got = 0;
  bool ok = false;
  if (file != nullptr) {
    ok = ReadRecord(file, block, RecordKind::KeyRecord, &got);
    ReleaseMember(container, file);
  }
  api::Unlock(key);
  if (!ok || got == 0) {
    ReleaseUnlinked(key);
    return 0;
  }
  return key;
}

// Entry `index` of the locked panel array, or 0 when the array ends first.
DWORD PanelEntry(const BYTE* array, DWORD index) {
  for (DWORD i = 0;; ++i) {
    DWORD handle = ReadU32(array, PANEL_ARRAY_ENTRY_SIZE * i);
    if (handle == 0 || i == index) return handle;
  }
}

// Grows panel `index` by one KeyEntry for the key; on false the key is not
// linked and the panel is as it was.
bool AppendKey(DWORD key, WORD x, WORD y, DWORD index) {
  BYTE* array = api::Lock(KeyboardMemory.panelArrayHandle);
  if (array == nullptr) return false;
  bool appended = false;
  DWORD panel = PanelEntry(array, index);
  BYTE* block = api::Lock(panel);
  if (block != nullptr) {
    DWORD n = ReadU32(block, PANEL_KEY_COUNT);
    api::Unlock(panel);
    DWORD grown = api::Reallocate(panel, (n + 1) * KEY_ENTRY_SIZE + PANEL_RECORD_SIZE);
    if (grown != 0) {
      WriteU32(array, PANEL_ARRAY_ENTRY_SIZE * index, grown);
      block = api::Lock(grown);
      if (block != nullptr) {
        DWORD at = PANEL_KEY_ENTRIES + KEY_ENTRY_SIZE * n;
        WriteU32(block, at + KEY_ENTRY_KEY_HANDLE, key);
        WriteU16(block, at + KEY_ENTRY_X, x);
        WriteU16(block, at + KEY_ENTRY_Y, y);
        WriteU32(block, PANEL_KEY_COUNT, n + 1);
        api::Unlock(grown);
        appended = true;
      }
    }
  }
  api::Unlock(KeyboardMemory.panelArrayHandle);
  return appended;
}

}  // namespace

bool LoadKey(HANDLE container, LPCWSTR name, WORD x, WORD y, DWORD index) {
  DWORD key = ReadKeyBlock(container, name);
  if (key == 0) return false;
  if (!AppendKey(key, x, y, index)) {
    ReleaseUnlinked(key);
    return false;
  }
  return true;
}

bool LoadKeyList(HANDLE container, LPCWSTR name, DWORD index) {
  HANDLE file = AcquireMember(container, name, ProgressText);
  if (file == nullptr) return false;
  BYTE header[KEY_LIST_HEADER_SIZE];
  DWORD got = 0;
  if (!ReadRecord(file, header, RecordKind::KeyListHeader, &got) || got == 0) {
    ReleaseMember(container, file);
    return false;
  }

  // Signed: a count with its top bit set means no placements.
  LONG placementCount = ReadI32(header, LIST_PLACEMENT_COUNT);
  bool result = true;
  for (LONG i = 0; i < placementCount; ++i) {
    BYTE placement[KEY_PLACEMENT_SIZE];
    if (!ReadRecord(file, placement, RecordKind::KeyPlacement, &got) || got == 0) {
      result = false;
      break;
    }
    WCHAR keyName[NAME_UNITS];
    ReadNameField(placement + PLACEMENT_KEY_FILE_NAME, keyName, NAME_UNITS);
    SetProgress(keyName);
    DWORD noted = container != nullptr ? NotePosition(container) : 0;
    bool loaded = LoadKey(container, keyName, ReadU16(placement, PLACEMENT_X),
                          ReadU16(placement, PLACEMENT_Y), index);
    if (container != nullptr) RestorePosition(container, noted);
    if (!loaded) {
      result = false;
      break;
    }
  }
  ReleaseMember(container, file);
  return result;
}

}  // namespace tapora
