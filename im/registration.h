// Registering the input method where the SIP manager looks for input methods:
// a COM class under HKEY_CLASSES_ROOT\CLSID with an "IsSIPInputMethod" key.
// Fixed strings only; the library is expected at "\windows\tapora.dll".
#pragma once

#include <windows.h>

namespace tapora {

// The class's text form, "{26CA1951-5391-48C1-AC94-17CF92B65759}".
extern const WCHAR INPUT_METHOD_CLSID_TEXT[];

// Writes the class key and its three sub-keys with their default values.
// S_OK when every key and value was written, else E_FAIL; what was written
// before a failure stays.
HRESULT RegisterInputMethodServer(LPCWSTR clsidText);
// Deletes the class's keys, children first, ignoring every result.
void UnregisterInputMethodServer();

}  // namespace tapora
