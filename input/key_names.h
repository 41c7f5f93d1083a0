// The bracketed names of special keys in output texts. A name is recognised
// when the text begins with all of it, so anything after a name is ignored;
// every name ends with "]", so no name is the beginning of another ("[F1]"
// against "[F10]").
#pragma once

#include <windows.h>

namespace tapora {

enum class SpecialKeySend : BYTE {
  VirtualKeyDown,  // SendVirtualKey (key, down) and no key-up
  TabCharacter,    // SendCharEvents with character 9 and CharKeyFlags as it stands
};

struct SpecialKey {
  const WCHAR* name;
  SpecialKeySend send;
  BYTE virtualKey;
  bool repeats;  // sent again by typematic repeat
};

// The special key whose name begins text, or null.
const SpecialKey* FindSpecialKey(const WCHAR* text);

// True when text begins with one of the names that are not sent as special
// keys but must not repeat as text either: the modifier names and "[NUMLOCK]".
bool BeginsWithNonRepeatingName(const WCHAR* text);

}  // namespace tapora
