// Self-registration of the input method (see registration.h). Every value is
// the default value of its key, REG_SZ, stored with its terminating NUL.
#include "im/registration.h"

#include "apicalls/api_registry.h"
#include "apicalls/api_text.h"

namespace tapora {

const WCHAR INPUT_METHOD_CLSID_TEXT[] = TEXT("{26CA1951-5391-48C1-AC94-17CF92B65759}");

namespace {

constexpr WCHAR CLSID_KEY[] = TEXT("CLSID");
constexpr WCHAR CLASS_NAME[] = TEXT("Tapora");
constexpr WCHAR LIBRARY_PATH[] = TEXT("\\windows\\tapora.dll");
constexpr WCHAR ICON_REFERENCE[] = TEXT("\\windows\\tapora.dll,0");
constexpr WCHAR NO_CLSID_KEY_TEXT[] = TEXT("Failed to create the CLSID key");

// The sub-keys of the class and their default values, in the order written.
struct SubKey {
  const WCHAR* name;
  const WCHAR* value;
};
constexpr SubKey CLASS_SUB_KEYS[] = {
    {TEXT("InprocServer32"), LIBRARY_PATH},
    {TEXT("IsSIPInputMethod"), TEXT("1")},
    {TEXT("DefaultIcon"), ICON_REFERENCE},
};

// Deleted children first, each relative to HKEY_CLASSES_ROOT with a leading
// backslash.
constexpr const WCHAR* UNREGISTER_KEYS[] = {
    TEXT("\\CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}\\DefaultIcon"),
    TEXT("\\CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}\\InprocServer32"),
    TEXT("\\CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}\\IsSIPInputMethod"),
    TEXT("\\CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}"),
};

bool SetDefaultValue(HKEY key, LPCWSTR text) {
  const DWORD size = static_cast<DWORD>((api::lstrlenW(text) + 1) * sizeof(WCHAR));
  return api::RegSetValueExW(key, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
         ERROR_SUCCESS;
}

// Creates (or opens) name below parent for writing and sets its default value.
bool CreateWithValue(HKEY parent, LPCWSTR name, LPCWSTR value, HKEY* created) {
  DWORD disposition = 0;
  if (api::RegCreateKeyExW(parent, name, 0, NULL, 0, KEY_WRITE, NULL, created, &disposition) !=
      ERROR_SUCCESS) {
    *created = NULL;
    return false;
  }
  return SetDefaultValue(*created, value);
}

}  // namespace

HRESULT RegisterInputMethodServer(LPCWSTR clsidText) {
  HKEY clsidKey = NULL;
  if (api::RegOpenKeyExW(HKEY_CLASSES_ROOT, CLSID_KEY, 0, KEY_WRITE, &clsidKey) != ERROR_SUCCESS) {
    api::OutputDebugStringW(NO_CLSID_KEY_TEXT);
    return E_FAIL;
  }
  HKEY classKey = NULL;
  bool written = CreateWithValue(clsidKey, clsidText, CLASS_NAME, &classKey);
  for (const SubKey& sub : CLASS_SUB_KEYS) {
    if (!written) break;
    HKEY subKey = NULL;
    written = CreateWithValue(classKey, sub.name, sub.value, &subKey);
    if (subKey != NULL) api::RegCloseKey(subKey);
  }
  if (classKey != NULL) api::RegCloseKey(classKey);
  api::RegCloseKey(clsidKey);
  return written ? S_OK : E_FAIL;
}

void UnregisterInputMethodServer() {
  for (const WCHAR* key : UNREGISTER_KEYS) api::RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
}

}  // namespace tapora
