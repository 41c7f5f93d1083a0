// Drawing the loaded keyboard: the redraw of the whole keyboard, of one panel
// or of a single key of it, and the decision whether each key is drawn up or
// down.
//
// Keys are drawn straight onto the device context, panel by panel and, within
// a panel, in list order, so where keys overlap the later one covers the
// earlier. Nothing is painted between keys: that is the window's background.
//
// The `down` byte of each key record is the one piece of key state shared with
// tap handling. Drawing writes it in two cases:
//   PressedKeysOnly          a key drawn because its byte is 1 has it cleared first
//   keepDownState false      a key of types 17, 18, 19, 21, 49, 50, 53 whose output
//                            names a modifier gets 1 while ShiftState latches that
//                            modifier (or Caps Lock is on) and 0 otherwise
#pragma once

#include <windows.h>

namespace tapora {

enum DrawMode {
  AllKeys,          // every key in scope
  PressedKeysOnly,  // only keys whose down byte is 1, after clearing it
};

// A key on the keyboard: its panel and its index in the panel's key list.
struct KeyRef {
  LONG panelIndex;
  LONG keyIndex;
};

// The paint entry: every key on the window's client area as the last redraw
// left its down byte (a paint never re-evaluates latched modifiers).
void PaintKeyboard(HWND window);

// Every panel in load order; nothing when no keyboard is loaded.
void DrawKeyboard(HDC dc, DrawMode mode, bool keepDownState);

// The keys of one panel, or with keyRef only the key with its key index.
void DrawPanelKeys(HDC dc, LONG panelIndex, const KeyRef* keyRef, DrawMode mode,
                   bool keepDownState);

// One key whose rectangle starts at (left, top); a 0 handle draws nothing.
void DrawKey(HDC dc, DWORD keyHandle, LONG left, LONG top, DrawMode mode, bool keepDownState);

}  // namespace tapora
