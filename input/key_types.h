// The key type groups that decide how a key's texts are chosen. The keyType
// byte is not checked by the loader: every value not named here is a plain key.
#pragma once

#include <windows.h>

namespace tapora {

constexpr BYTE DEAD_KEY_TYPE = 19;

// 17, 19, 49: one character per modifier state in the label field.
inline bool IsStateCharKeyType(BYTE keyType) {
  return keyType == 17 || keyType == 19 || keyType == 49;
}

// 1, 33: the plain text is the label.
inline bool IsLabelOutputKeyType(BYTE keyType) { return keyType == 1 || keyType == 33; }

// 33, 34, 37, 49, 50, 53: Caps Lock works like Shift.
inline bool IsCapsAffectedKeyType(BYTE keyType) {
  return keyType == 33 || keyType == 34 || keyType == 37 || keyType == 49 || keyType == 50 ||
         keyType == 53;
}

}  // namespace tapora
