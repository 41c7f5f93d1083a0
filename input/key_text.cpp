// Key texts: bounded copies and exact comparisons (see key_text.h).
#include "input/key_text.h"

#include "layout/records.h"

namespace tapora {

int KeyTextLength(const WCHAR* text) {
  int length = 0;
  while (text[length] != 0) ++length;
  return length;
}

bool KeyTextEquals(const WCHAR* text, const WCHAR* other) {
  int i = 0;
  while (text[i] != 0 && text[i] == other[i]) ++i;
  return text[i] == other[i];
}

bool KeyTextStartsWith(const WCHAR* text, const WCHAR* prefix) {
  for (int i = 0; prefix[i] != 0; ++i) {
    // A shorter text meets its terminator here and differs.
    if (text[i] != prefix[i]) return false;
  }
  return true;
}

WCHAR* CopyKeyText(WCHAR* destination, const WCHAR* source) {
  int i = 0;
  for (; i < KEY_TEXT_UNITS && source[i] != 0; ++i) destination[i] = source[i];
  destination[i] = 0;
  return destination;
}

WCHAR* SetKeyTextUnit(WCHAR* destination, WCHAR unit) {
  destination[0] = unit;
  destination[1] = 0;
  return destination;
}

WCHAR* ReadKeyField(const BYTE* keyRecord, DWORD fieldOffset, DWORD fieldWidth,
                    WCHAR* destination) {
  return ReadUtf16Field(keyRecord + fieldOffset, fieldWidth, destination, KEY_TEXT_SIZE);
}

}  // namespace tapora
