// Vector glyphs that a key label can name instead of text: four arrows and a
// bar, always black.
#pragma once

#include <windows.h>

namespace tapora {

// A label that starts with this names a glyph; the rest of it is the name.
constexpr WCHAR GLYPH_PREFIX[] = TEXT("{NQX");
constexpr int GLYPH_PREFIX_UNITS = 4;

// Draws the glyph named `name` ("M}" the bar, "U", "D", "L", "R" the arrows)
// inside the text rectangle; any other name draws nothing.
void DrawKeyGlyph(HDC dc, LPCWSTR name, const RECT* textRect);

}  // namespace tapora
