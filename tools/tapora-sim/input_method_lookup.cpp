// The SIP manager's registry lookup (see input_method_lookup.h).
#include "tools/tapora-sim/input_method_lookup.h"

#include <windows.h>

namespace sim {

bool FindInputMethod(std::u16string* classKey, std::u16string* library) {
  HKEY classes = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, KEY_READ, &classes) != ERROR_SUCCESS)
    return false;
  bool found = false;
  for (DWORD index = 0; !found; ++index) {
    WCHAR name[64];
    DWORD length = 64;
    if (RegEnumKeyExW(classes, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY marker = nullptr;
    const std::u16string key(name);
    if (RegOpenKeyExW(classes, (key + u"\\IsSIPInputMethod").c_str(), 0, KEY_READ, &marker) !=
        ERROR_SUCCESS)
      continue;
    RegCloseKey(marker);
    HKEY server = nullptr;
    if (RegOpenKeyExW(classes, (key + u"\\InprocServer32").c_str(), 0, KEY_READ, &server) !=
        ERROR_SUCCESS)
      continue;
    WCHAR path[MAX_PATH] = {};
    DWORD size = sizeof path - sizeof(WCHAR);
    if (RegQueryValueExW(server, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) ==
        ERROR_SUCCESS) {
      *classKey = key;
      *library = path;
      found = true;
    }
    RegCloseKey(server);
  }
  RegCloseKey(classes);
  return found;
}

}  // namespace sim
