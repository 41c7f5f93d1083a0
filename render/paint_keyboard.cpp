// The paint entry that the panel window calls for every paint request.
#include "render/paint_keyboard.h"

#include "apicalls/api_gdi.h"

namespace tapora {

void PaintKeyboard(HWND window) {
  HDC dc = api::GetDC(window);
  DrawKeyboard(dc, AllKeys, true);
  api::ReleaseDC(window, dc);
}

}  // namespace tapora
