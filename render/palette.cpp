// The 16-colour key palette: the sixteen colours of the classic VGA set, in
// the order the key files number them.
#include "render/palette.h"

namespace tapora {

namespace {

const COLORREF PALETTE[16] = {
    RGB(0, 0, 0),        // 0 black
    RGB(0, 0, 128),      // 1 navy
    RGB(0, 128, 0),      // 2 green
    RGB(0, 128, 128),    // 3 teal
    RGB(128, 0, 0),      // 4 maroon
    RGB(128, 0, 128),    // 5 purple
    RGB(128, 128, 0),    // 6 olive
    RGB(192, 192, 192),  // 7 silver
    RGB(128, 128, 128),  // 8 grey
    RGB(0, 0, 255),      // 9 blue
    RGB(0, 255, 0),      // 10 lime
    RGB(0, 255, 255),    // 11 aqua
    RGB(255, 0, 0),      // 12 red
    RGB(255, 0, 255),    // 13 fuchsia
    RGB(255, 255, 0),    // 14 yellow
    RGB(255, 255, 255),  // 15 white
};

}  // namespace

COLORREF PaletteColour(UINT index) {
  index &= 0xFF;
  // A key file may carry any byte here; what the palette does not name draws black.
  return index < 16 ? PALETTE[index] : RGB(0, 0, 0);
}

}  // namespace tapora
