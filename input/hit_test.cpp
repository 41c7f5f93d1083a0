// Hit testing of panels and keys (see hit_test.h).
#include "input/hit_test.h"

#include "apicalls/api_window.h"
#include "layout/keyboard_memory.h"

namespace tapora {

KeyRef HitKeyRef = {0, 0};

namespace {

// What a key under the point must be to be taken, and what it becomes.
enum class KeyWant { PressUp, ReleaseDown, FindDown };

// The panel's block, or 0 when no panel array is loaded or the index is past it.
DWORD PanelAt(LONG panelIndex) {
  if (panelIndex < 0 || KeyboardMemory.panelArrayHandle == 0) return 0;
  return PanelHandle(static_cast<DWORD>(panelIndex));
}

bool FindKey(LONG panelIndex, LONG x, LONG y, KeyWant want) {
  const DWORD panel = PanelAt(panelIndex);
  PanelPlace place;
  if (panel == 0 || !ReadPanelPlace(panel, &place)) return false;
  const POINT point = {x, y};
  for (DWORD k = 0; k < place.keyCount; ++k) {
    KeyEntry entry;
    KeyShape key;
    if (!ReadKeyEntry(panel, k, &entry) || entry.keyHandle == 0 ||
        !ReadKeyShape(entry.keyHandle, &key)) {
      continue;
    }
    RECT rect;
    rect.left = static_cast<LONG>(place.left) + entry.x;
    rect.top = static_cast<LONG>(place.top) + entry.y;
    rect.right = rect.left + key.width;
    rect.bottom = rect.top + key.height;
    if (!api::PtInRect(&rect, point)) continue;
    const bool fits = want == KeyWant::PressUp ? key.down == 0 : key.down == 1;
    if (!fits) continue;
    if (want == KeyWant::PressUp) SetKeyDown(entry.keyHandle, 1);
    if (want == KeyWant::ReleaseDown) SetKeyDown(entry.keyHandle, 0);
    HitKeyRef = KeyRef{panelIndex, static_cast<LONG>(k)};
    return true;
  }
  return false;
}

}  // namespace

LONG HitTestPanels(LONG x, LONG y) {
  if (KeyboardMemory.panelArrayHandle == 0) return -1;
  for (DWORD i = 0;; ++i) {
    const DWORD panel = PanelHandle(i);
    PanelPlace place;
    if (panel == 0 || !ReadPanelPlace(panel, &place)) return -1;
    const LONG left = place.left;
    const LONG top = place.top;
    if (left < x && x < left + place.width - 2 && top < y && y < top + place.height - 2) {
      return static_cast<LONG>(i);
    }
  }
}

bool HitTestKeys(LONG panelIndex, LONG x, LONG y, bool pressing) {
  return FindKey(panelIndex, x, y, pressing ? KeyWant::PressUp : KeyWant::ReleaseDown);
}

bool FindDownKeyAt(LONG panelIndex, LONG x, LONG y) {
  return FindKey(panelIndex, x, y, KeyWant::FindDown);
}

DWORD KeyHandleOf(const KeyRef& key) {
  const DWORD panel = PanelAt(key.panelIndex);
  KeyEntry entry;
  if (panel == 0 || key.keyIndex < 0 ||
      !ReadKeyEntry(panel, static_cast<DWORD>(key.keyIndex), &entry)) {
    return 0;
  }
  return entry.keyHandle;
}

}  // namespace tapora
