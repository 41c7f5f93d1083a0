// Finding the panel and the key under the pen. Points are window client
// pixels, compared as signed numbers with the panels' and keys' places, so a
// captured pen left of or above the window (large unsigned coordinates) hits
// nothing.
//
// Panels: the first in array order that holds the point strictly inside,
// less its first row and column and its last two rows and columns.
// Keys: the first in list order whose rectangle holds the point by PtInRect
// (right and bottom edges excluded) and whose `down` byte fits: pressing
// takes a key that is up and marks it down, releasing takes one that is down
// and marks it up. A key that does not fit is passed over, so of two
// overlapping keys the first that fits wins.
#pragma once

#include <windows.h>

#include "render/paint_keyboard.h"

namespace tapora {

// The key that hit testing found last: (panel index, key index). (0, 0) at start.
extern KeyRef HitKeyRef;

// The index of the panel under (x, y), or -1.
LONG HitTestPanels(LONG x, LONG y);
// Finds the key under (x, y) in a panel whose `down` byte fits `pressing`,
// flips that byte and sets HitKeyRef.
bool HitTestKeys(LONG panelIndex, LONG x, LONG y, bool pressing);
// Finds the first key under (x, y) that is shown down, changing nothing but
// HitKeyRef.
bool FindDownKeyAt(LONG panelIndex, LONG x, LONG y);
// The key handle of a key reference, 0 when there is none.
DWORD KeyHandleOf(const KeyRef& key);

}  // namespace tapora
