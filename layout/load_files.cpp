// Opening and placing the files that the load steps read.
#include "layout/load_files.h"

#include "apicalls/api_files.h"
#include "apicalls/api_memory.h"
#include "apicalls/api_text.h"
#include "layout/load_keyboard.h"
#include "layout/record_reader.h"

namespace tapora {

HANDLE OpenForReading(LPCWSTR path, DWORD shareMode) {
  HANDLE file = api::CreateFileW(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

HANDLE AcquireMember(HANDLE container, LPCWSTR name, LPWSTR progress) {
  if (container != nullptr) {
    return EstablishFilePointer(container, name, progress) ? container : nullptr;
  }
  WCHAR path[SET_FOLDER_UNITS];
  api::lstrcpynW(path, SetFolder, SET_FOLDER_UNITS);
  api::AppendBounded(path, name, SET_FOLDER_UNITS);
  return OpenForReading(path, 0);
}

void ReleaseMember(HANDLE container, HANDLE file) {
  if (file != nullptr && file != container) api::CloseHandle(file);
}

DWORD NotePosition(HANDLE container) {
  return api::SetFilePointer(container, 0, nullptr, FILE_CURRENT);
}

void RestorePosition(HANDLE container, DWORD position) {
  api::SetFilePointer(container, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}

void ReleaseUnlinked(DWORD handle) {
  if (handle != 0) api::Free(handle);
}

}  // namespace tapora
