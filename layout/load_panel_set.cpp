// The first two load steps: LoadPanelSet tells a container from a panel-set
// file by its magic, and ReadPanelSet reads the set header into its block and
// loads each named panel in order.
#include "apicalls/api_files.h"
#include "apicalls/api_memory.h"
#include "apicalls/api_text.h"
#include "layout/keyboard_memory.h"
#include "layout/load_files.h"
#include "layout/load_keyboard.h"
#include "layout/record_reader.h"
#include "layout/records.h"

namespace tapora {

namespace {

bool StartPanelArray() {
  SetProgress(TEXT("Allocating Memory for Panel Array"));
  KeyboardMemory.panelArrayHandle = api::Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, PANEL_ARRAY_ENTRY_SIZE);
  if (KeyboardMemory.panelArrayHandle == 0) return false;
  SetProgress(TEXT("Locking Memory for Panel Array"));
  BYTE* array = api::Lock(KeyboardMemory.panelArrayHandle);
  if (array == nullptr) return false;
  WriteU32(array, 0, 0);
  api::Unlock(KeyboardMemory.panelArrayHandle);
  return true;
}

bool HasMagic(const BYTE* header, BYTE second) { return header[0] == 'P' && header[1] == second; }

// What follows the magic check, with the file (in ContainerMode) still open.
bool LoadRecognisedFile(LoadMode mode, LPCWSTR path, HANDLE file, const BYTE* header) {
  if (HasMagic(header, 'N')) {
    // Another format version loads nothing, and the load then reports it.
    if (ReadU8(header, SET_FORMAT_VERSION) != 1) return true;
    if (mode == PlainMode) return ReadPanelSet(nullptr, path);
    return ReadPanelSet(file, PANEL_SET_FILE_NAME);
  }
  if (HasMagic(header, '*')) {
    // A container named for the plain attempt has no open file to read its
    // header from.
    if (mode == PlainMode) return false;
    if (api::SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0) return false;
    BYTE containerHeader[CONTAINER_HEADER_SIZE];
    DWORD got = 0;
    if (!ReadRecord(file, containerHeader, RecordKind::ContainerHeader, &got) ||
        got != CONTAINER_HEADER_SIZE) {
      return false;
    }
    if (ReadU8(containerHeader, CONTAINER_HAS_PANEL_SET) != 1) return true;
    return ReadPanelSet(file, PANEL_SET_FILE_NAME);
  }
  SetProgress(TEXT("File is incorrect or corrupt (header mismatch)"));
  return false;
}

// Reads the panel names after the header and loads each panel; the header
// block is locked by the caller.
bool LoadNamedPanels(HANDLE container, LPCWSTR name, const BYTE* header) {
  SetProgress(name);
  HANDLE file = container;
  if (container == nullptr) {
    file = OpenForReading(name, 0);
    if (file == nullptr) return false;
  }
  SetProgress(TEXT("Reading PNL Panel Files"));
  DWORD position = 0;
  if (container != nullptr) {
    if (EstablishFilePointer(container, PANEL_SET_FILE_NAME, ProgressText)) {
      position = api::SetFilePointer(container, PANEL_SET_HEADER_SIZE, nullptr, FILE_CURRENT);
    }
  } else {
    position = api::SetFilePointer(file, PANEL_SET_HEADER_SIZE, nullptr, FILE_BEGIN);
  }
  if (position == 0 || position == INVALID_SET_FILE_POINTER) {
    ReleaseMember(container, file);
    return false;
  }

  DWORD panelCount = ReadU32(header, SET_PANEL_COUNT);
  DWORD result = 0;
  for (DWORD i = 0; i < panelCount; ++i) {
    BYTE record[PANEL_NAME_SIZE];
    DWORD got = 0;
    bool ok = ReadRecord(file, record, RecordKind::PanelName, &got);
    result = got;
    WCHAR panelName[NAME_UNITS];
    ReadNameField(record, panelName, NAME_UNITS);
    SetProgress(panelName);
    // Nothing read means the end of the file (or a read error): no later name
    // can be read either, so the set has failed and the loop can stop
    // instead of counting out a huge panelCount.
    if (!ok || got == 0) {
      result = 0;
      break;
    }
    // A name read short is skipped; its index is not loaded.
    if (got != PANEL_NAME_SIZE) continue;
    DWORD noted = container != nullptr ? NotePosition(container) : 0;
    if (!LoadPanel(container, panelName, i)) {
      result = 0;
      break;
    }
    if (container != nullptr) RestorePosition(container, noted);
  }
  ReleaseMember(container, file);
  return result != 0;
}

}  // namespace

bool LoadPanelSet(LoadMode mode, LPCWSTR path) {
  if (!StartPanelArray()) return false;

  SetProgress(path);
  HANDLE file = OpenForReading(path, FILE_SHARE_READ);
  if (file == nullptr) return false;
  BYTE header[PANEL_SET_HEADER_SIZE];
  DWORD got = 0;
  bool ok = ReadRecord(file, header, RecordKind::PanelSetHeader, &got);
  if (mode == PlainMode) {
    api::CloseHandle(file);
    file = nullptr;
  }
  bool result = false;
  if (ok && got != 0) result = LoadRecognisedFile(mode, path, file, header);
  if (file != nullptr) api::CloseHandle(file);
  return result;
}

bool ReadPanelSet(HANDLE container, LPCWSTR name) {
  SetFolder[0] = 0;
  LPCWSTR slash = api::FindLastChar(name, TEXT('\\'));
  if (slash != nullptr) {
    int length = static_cast<int>(slash - name) + 1;
    if (length > SET_FOLDER_UNITS - 1) length = SET_FOLDER_UNITS - 1;
    api::lstrcpynW(SetFolder, name, length + 1);
  }

  KeyboardMemory.setHeaderHandle = api::Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, PANEL_SET_HEADER_SIZE);
  DWORD handle = KeyboardMemory.setHeaderHandle;
  SetProgress(TEXT("Allocating Memory for PNL Block"));
  if (handle != 0) {
    SetProgress(TEXT("Locking Memory for PNL Block"));
    BYTE* block = api::Lock(handle);
    if (block == nullptr) return false;
    api::Zero(block, PANEL_SET_HEADER_SIZE);
    SetProgress(name);
    HANDLE file = nullptr;
    if (container != nullptr) {
      if (!EstablishFilePointer(container, PANEL_SET_FILE_NAME, ProgressText)) {
        api::Unlock(handle);
        return false;
      }
      file = container;
    } else {
      file = OpenForReading(name, 0);
    }
    bool ok = true;
    if (file != nullptr) {
      DWORD got = 0;
      ok = ReadRecord(file, block, RecordKind::PanelSetHeader, &got);
      ReleaseMember(container, file);
    }
    api::Unlock(handle);
    // A header that could not be read whole because of a read error would
    // load as a half-zero header; that is a failed load, not a keyboard.
    if (!ok) return false;
  }

  if (handle == 0) return false;
  SetProgress(TEXT("Locking Memory for PNL Block"));
  BYTE* header = api::Lock(handle);
  if (header == nullptr) return false;
  bool result = LoadNamedPanels(container, name, header);
  api::Unlock(handle);
  return result;
}

}  // namespace tapora
