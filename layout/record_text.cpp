// Bounded readers of the records' text fields: none looks past its field or
// writes past its destination.
#include "apicalls/api_text.h"
#include "layout/records.h"

namespace tapora {

namespace {

// The widest 8-bit field read as text is the 32-byte output field.
constexpr DWORD MAX_8BIT_FIELD = 64;

}  // namespace

WCHAR* Read8BitFieldText(const BYTE* field, DWORD width, WCHAR* destination, int capacity) {
  if (capacity < 1) return destination;
  if (width > MAX_8BIT_FIELD) width = MAX_8BIT_FIELD;
  // The field is copied out with a terminator of its own, so a field without
  // a NUL ends at its last byte instead of running on into the record.
  CHAR staging[MAX_8BIT_FIELD + 1];
  DWORD length = 0;
  while (length < width && field[length] != 0) {
    staging[length] = static_cast<CHAR>(field[length]);
    ++length;
  }
  staging[length] = 0;
  destination[0] = 0;
  if (api::MultiByteToWideChar(staging, destination, capacity) == 0) {
    // Too small a destination holds the first units without a terminator.
    destination[capacity - 1] = 0;
  }
  return destination;
}

WCHAR* ReadNameField(const BYTE* field, WCHAR* destination, int capacity) {
  return Read8BitFieldText(field, NAME_WIDTH, destination, capacity);
}

WCHAR* ReadUtf16Field(const BYTE* field, DWORD widthBytes, WCHAR* destination, int capacity) {
  if (capacity < 1) return destination;
  DWORD units = widthBytes / 2;
  int length = 0;
  for (DWORD i = 0; i < units && length < capacity - 1; ++i) {
    WORD unit = ReadU16(field, 2 * i);
    if (unit == 0) break;
    destination[length++] = static_cast<WCHAR>(unit);
  }
  destination[length] = 0;
  return destination;
}

CHAR* Read8BitField(const BYTE* field, DWORD width, CHAR* destination, int capacity) {
  if (capacity < 1) return destination;
  int length = 0;
  for (DWORD i = 0; i < width && length < capacity - 1; ++i) {
    if (field[i] == 0) break;
    destination[length++] = static_cast<CHAR>(field[i]);
  }
  destination[length] = 0;
  return destination;
}

}  // namespace tapora
