// Key faces: a bevelled rectangle in the key's own palette colours (raised
// when up, sunken when down), or for stock-bitmap keys a bitmap from the stock
// library stretched over the key. DrawKey fills CurrentColours for every key
// before it calls DrawKeyFace; nothing else writes them.
#pragma once

#include <windows.h>

namespace tapora {

enum class FaceStyle { Raised, Sunken, StockUp, StockDown };

// Palette indexes of the key being drawn, copied from its record.
struct KeyColours {
  BYTE face;
  BYTE text;
  BYTE lightEdge;
  BYTE shadowEdge;
};

extern KeyColours CurrentColours;

// Resource identifiers of the stock library's two faces.
constexpr WORD STOCK_UP_BITMAP = 101;
constexpr WORD STOCK_DOWN_BITMAP = 103;
// The stock bitmaps are drawn as if they were this many pixels square.
constexpr int STOCK_BITMAP_SIZE = 100;

// Draws the face over the key rectangle (never the shifted text rectangle).
void DrawKeyFace(HDC dc, FaceStyle style, const RECT* keyRect);

// The stock faces on their own; a missing library or bitmap draws nothing.
void DrawStockFace(HDC dc, FaceStyle style, const RECT* keyRect);

// Fills path (MAX_PATH units) with the stock library's path: the folder of the
// module in InputMethodState.resourceInstance, then "STOCK.DLL".
LPWSTR StockLibraryPath(LPWSTR path);

}  // namespace tapora
