// ReadRecord and EstablishFilePointer: every byte of a keyboard file is read
// here, one read call per field, and a container's members are found here.
#include "layout/record_reader.h"

#include "apicalls/api_files.h"
#include "apicalls/api_memory.h"
#include "apicalls/api_text.h"

namespace tapora {

namespace {

struct FieldTable {
  const Field* fields;
  DWORD count;
};

template <DWORD N>
constexpr FieldTable TableOf(const Field (&fields)[N]) {
  return {fields, N};
}

FieldTable FieldsOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::ContainerHeader: return TableOf(CONTAINER_HEADER_FIELDS);
    case RecordKind::ContainerEntry: return TableOf(CONTAINER_ENTRY_FIELDS);
    case RecordKind::PanelSetHeader: return TableOf(PANEL_SET_HEADER_FIELDS);
    case RecordKind::PanelName: return TableOf(PANEL_NAME_FIELDS);
    case RecordKind::KeyPlacement: return TableOf(KEY_PLACEMENT_FIELDS);
    case RecordKind::PanelRecord: return TableOf(PANEL_RECORD_FIELDS);
    case RecordKind::KeyListHeader: return TableOf(KEY_LIST_HEADER_FIELDS);
    case RecordKind::KeyRecord: return TableOf(KEY_RECORD_FIELDS);
  }
  return {nullptr, 0};
}

// The farthest a member may lie: SetFilePointer's low distance is signed.
constexpr DWORD LARGEST_POSITION = 0x7FFFFFFF;

}  // namespace

bool ReadRecord(HANDLE file, BYTE* destination, RecordKind kind, DWORD* bytesRead) {
  *bytesRead = 0;
  FieldTable table = FieldsOf(kind);
  DWORD size = RecordSize(kind);
  if (table.fields == nullptr || size == 0) return false;

  BYTE staging[LARGEST_RECORD_SIZE];
  api::Zero(staging, size);
  bool ok = true;
  DWORD total = 0;
  for (DWORD i = 0; i < table.count; ++i) {
    DWORD got = 0;
    if (!api::ReadFile(file, staging + table.fields[i].offset, table.fields[i].width, &got)) {
      ok = false;
      break;
    }
    // A short read (end of file) keeps going: later fields read nothing and
    // stay zero.
    if (got > table.fields[i].width) got = table.fields[i].width;
    total += got;
  }
  for (DWORD i = 0; i < size; ++i) destination[i] = staging[i];
  *bytesRead = total;
  return ok;
}

bool EstablishFilePointer(HANDLE container, LPCWSTR member, LPWSTR progress) {
  if (progress) api::AppendBounded(progress, TEXT("\r\nEstablishFilePointer"), PROGRESS_TEXT_UNITS);

  if (api::SetFilePointer(container, 0, nullptr, FILE_BEGIN) != 0) return false;
  BYTE header[CONTAINER_HEADER_SIZE];
  DWORD got = 0;
  if (!ReadRecord(container, header, RecordKind::ContainerHeader, &got) ||
      got != CONTAINER_HEADER_SIZE) {
    return false;
  }
  DWORD dataStart = ReadU32(header, CONTAINER_DATA_START);
  // Unsigned on purpose: a dataStart below 10 gives a huge count, and the
  // walk then ends at the first entry that cannot be read whole.
  DWORD entries = (dataStart - CONTAINER_HEADER_SIZE) / CONTAINER_ENTRY_SIZE;

  if (progress) api::AppendBounded(progress, TEXT(": Match file"), PROGRESS_TEXT_UNITS);

  for (DWORD i = 0; i < entries; ++i) {
    BYTE entry[CONTAINER_ENTRY_SIZE];
    if (!ReadRecord(container, entry, RecordKind::ContainerEntry, &got) ||
        got != CONTAINER_ENTRY_SIZE) {
      return false;
    }
    WCHAR name[NAME_UNITS];
    ReadNameField(entry + ENTRY_MEMBER_NAME, name, NAME_UNITS);
    if (progress) {
      api::AppendBounded(progress, TEXT(":"), PROGRESS_TEXT_UNITS);
      api::AppendBounded(progress, member, PROGRESS_TEXT_UNITS);
    }
    if (api::CompareText(name, member, api::COMPARE_IGNORE_CASE, 0) != 0) continue;

    // 32-bit arithmetic, as the offsets are stored: a writer may rely on the
    // sum wrapping around. A place beyond what one seek reaches is refused
    // rather than landing somewhere else in the file.
    DWORD position = dataStart + ReadU32(entry, ENTRY_MEMBER_OFFSET);
    if (position > LARGEST_POSITION) return false;
    return api::SetFilePointer(container, static_cast<LONG>(position), nullptr, FILE_BEGIN) ==
           position;
  }
  return false;
}

}  // namespace tapora
