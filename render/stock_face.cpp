// Stock-bitmap key faces. The stock library lies beside the module that the
// keyboard was drawn for; it is loaded, used and freed for every stock key, so
// nothing outlives the key being drawn.
//
// Wide keys (more than twice as wide as high) keep the bitmap's left and right
// 15 columns as end caps scaled with the key's width, and stretch only the
// middle 70 columns; other keys take the whole bitmap.
#include "apicalls/api_gdi.h"
#include "apicalls/api_modules.h"
#include "apicalls/api_text.h"
#include "im/input_method_state.h"
#include "render/key_face.h"

namespace tapora {

namespace {

// GetModuleFileNameW is asked for at most this many characters.
constexpr DWORD MODULE_NAME_UNITS = 200;

constexpr int CAP_SOURCE_WIDTH = 15;
constexpr int MIDDLE_SOURCE_WIDTH = 70;

void StretchFace(HDC dc, HDC bitmapDc, const RECT* r) {
  const int width = r->right - r->left;
  const int height = r->bottom - r->top;
  if (width > 2 * height) {
    const int cap = width / 15;
    api::StretchBlt(dc, r->left, r->top, cap, height, bitmapDc, 0, 0, CAP_SOURCE_WIDTH,
               STOCK_BITMAP_SIZE, SRCCOPY);
    api::StretchBlt(dc, r->left + cap, r->top, width - 2 * cap, height, bitmapDc, CAP_SOURCE_WIDTH, 0,
               MIDDLE_SOURCE_WIDTH, STOCK_BITMAP_SIZE, SRCCOPY);
    api::StretchBlt(dc, r->right - cap, r->top, cap, height, bitmapDc,
               CAP_SOURCE_WIDTH + MIDDLE_SOURCE_WIDTH, 0, CAP_SOURCE_WIDTH, STOCK_BITMAP_SIZE,
               SRCCOPY);
  } else {
    api::StretchBlt(dc, r->left, r->top, width, height, bitmapDc, 0, 0, STOCK_BITMAP_SIZE,
               STOCK_BITMAP_SIZE, SRCCOPY);
  }
}

}  // namespace

LPWSTR StockLibraryPath(LPWSTR path) {
  // Zeroed first and asked for fewer units than it holds, so the name is
  // terminated however the platform treats a name that does not fit.
  for (int i = 0; i < MAX_PATH; ++i) path[i] = 0;
  api::GetModuleFileNameW(InputMethodState.resourceInstance, path, MODULE_NAME_UNITS);
  api::CutToFolder(path);
  return api::AppendBounded(path, TEXT("STOCK.DLL"), MAX_PATH);
}

void DrawStockFace(HDC dc, FaceStyle style, const RECT* keyRect) {
  WCHAR path[MAX_PATH];
  HMODULE library = api::LoadLibraryW(StockLibraryPath(path));
  if (library == NULL) return;  // the label is still drawn, over whatever lies there

  const WORD id = style == FaceStyle::StockDown ? STOCK_DOWN_BITMAP : STOCK_UP_BITMAP;
  HDC bitmapDc = api::CreateCompatibleDC(dc);
  HBITMAP bitmap = api::LoadBitmapW(library, MAKEINTRESOURCEW(id));
  if (bitmap != NULL) {
    // Without its bitmap the memory context holds only its 1 x 1 default, which
    // would smear one pixel over the key: draw no face instead.
    HGDIOBJ previous = api::SelectObject(bitmapDc, bitmap);
    api::SetBrushOrgEx(dc, 0, 0, NULL);
    StretchFace(dc, bitmapDc, keyRect);
    api::SelectObject(bitmapDc, previous);
    api::DeleteObject(bitmap);
  }
  api::DeleteDC(bitmapDc);
  api::FreeLibrary(library);
}

}  // namespace tapora
