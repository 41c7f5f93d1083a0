// Walking the loaded keyboard's panels and key lists. Panels are found through
// the panel array, which ends at its first 0 entry whatever the set header's
// panelCount says; a missing panel or key draws nothing and the walk goes on.
#include "layout/keyboard_memory.h"
#include "render/paint_keyboard.h"

namespace tapora {

void DrawKeyboard(HDC dc, DrawMode mode, bool keepDownState) {
  if (KeyboardMemory.setHeaderHandle == 0) return;
  const DWORD panelCount = PanelCount();
  for (DWORD i = 0; i < panelCount; ++i) {
    if (PanelHandle(i) == 0) break;  // the array holds fewer panels than the header claims
    DrawPanelKeys(dc, static_cast<LONG>(i), NULL, mode, keepDownState);
  }
}

void DrawPanelKeys(HDC dc, LONG panelIndex, const KeyRef* keyRef, DrawMode mode,
                   bool keepDownState) {
  if (panelIndex < 0 || PanelHandle(0) == 0) return;
  const DWORD panel = PanelHandle(static_cast<DWORD>(panelIndex));
  PanelPlace place;
  if (panel == 0 || !ReadPanelPlace(panel, &place)) return;
  for (DWORD k = 0; k < place.keyCount; ++k) {
    if (keyRef != NULL && static_cast<LONG>(k) != keyRef->keyIndex) continue;
    KeyEntry entry;
    if (!ReadKeyEntry(panel, k, &entry)) continue;
    DrawKey(dc, entry.keyHandle, static_cast<LONG>(place.left) + entry.x,
            static_cast<LONG>(place.top) + entry.y, mode, keepDownState);
  }
}

}  // namespace tapora
