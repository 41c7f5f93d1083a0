// The fixed 16-colour palette that every colour index of a key record names.
#pragma once

#include <windows.h>

namespace tapora {

// RGB colour of a palette index; only the low 8 bits of the index count, and
// indexes 16 to 255 are black.
COLORREF PaletteColour(UINT index);

}  // namespace tapora
