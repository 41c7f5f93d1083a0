// How the SIP manager finds input methods: the first class under
// HKEY_CLASSES_ROOT\CLSID with an "IsSIPInputMethod" key, and the library its
// "InprocServer32" key names. Shared by tapora-sim and the tests that play
// the SIP manager.
#pragma once

#include <string>

namespace sim {

// The class's key name ("{...}") and the library's device path; false when no
// registered class qualifies.
bool FindInputMethod(std::u16string* classKey, std::u16string* library);

}  // namespace sim
