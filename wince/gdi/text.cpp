// Fonts and text output: CreateFontIndirectW, GetTextMetricsW, text extents
// and ExtTextOutW.
//
// Every font is DejaVu Sans (bold from a weight of 600 up) whatever face
// name is asked for; a negative lfHeight is the em size in pixels, a
// positive one the cell height, 0 the system font's size. Text is drawn
// with its cell's top-left corner at (x, y): the baseline lies `ascent`
// rows lower. In OPAQUE background mode the cell is filled with the
// background colour first; glyph pixels are exactly the text colour.
// Extents are whole pixels: the sum of the characters' advances, no kerning.
#include <algorithm>
#include <cstring>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/kernel/not_implemented.h"

namespace wince::gdi {
namespace {

int Advance(FontFace& face, const WCHAR* text, int count, int index) {
  bool secondHalf = false;
  char32_t cp = CodePointAt(text, count, index, &secondHalf);
  return secondHalf ? 0 : face.GlyphOf(cp).advance;
}

void DrawGlyph(DeviceContext& dc, const Glyph& glyph, int penX, int baseline, COLORREF colour) {
  for (int row = 0; row < glyph.rows; ++row)
    for (int col = 0; col < glyph.width; ++col)
      if (glyph.bits[static_cast<size_t>(row) * glyph.width + col])
        PlotPixel(dc, penX + glyph.left + col, baseline - glyph.top + row, colour);
}

// Narrows a DC's clip to a logical rectangle for the length of one call.
class ClipScope {
 public:
  ClipScope(DeviceContext& dc, const RECT* rect) : dc_(dc), saved_(dc.clip) {
    if (!rect) return;
    RECT& c = dc_.clip;
    c.left = std::max<LONG>(c.left, rect->left + dc.origin.x);
    c.top = std::max<LONG>(c.top, rect->top + dc.origin.y);
    c.right = std::min<LONG>(c.right, rect->right + dc.origin.x);
    c.bottom = std::min<LONG>(c.bottom, rect->bottom + dc.origin.y);
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
  }
  ~ClipScope() { dc_.clip = saved_; }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  DeviceContext& dc_;
  RECT saved_;
};

}  // namespace
}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" HFONT WINAPI CreateFontIndirectW(CONST LOGFONTW* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (lplf->lfItalic || lplf->lfUnderline || lplf->lfStrikeOut || lplf->lfEscapement ||
      lplf->lfOrientation) {
    wince::NotImplemented("CreateFontIndirectW", "italic, underlined, struck out or turned fonts");
    return nullptr;
  }
  bool bold = lplf->lfWeight >= 600;
  int em = kSystemFontEm;
  if (lplf->lfHeight < 0) em = lplf->lfHeight == INT32_MIN ? 1000 : -lplf->lfHeight;
  if (lplf->lfHeight > 0) em = EmForCellHeight(bold, std::min<LONG>(lplf->lfHeight, 2000));
  Object o{Kind::Font};
  o.font.face = OpenFace(bold, em);
  if (!o.font.face) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  o.font.logFont = *lplf;
  return static_cast<HFONT>(AddObject(std::move(o)));
}

extern "C" BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (!lptm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto face = CurrentFace(*dc);
  if (!face) return FALSE;
  TEXTMETRICW tm{};
  tm.tmHeight = face->Height();
  tm.tmAscent = face->Ascent();
  tm.tmDescent = face->Descent();
  tm.tmInternalLeading = face->Height() - face->EmPixels();
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = face->AverageWidth();
  tm.tmMaxCharWidth = face->MaxWidth();
  tm.tmWeight = face->Bold() ? FW_BOLD : FW_NORMAL;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  // Variable pitch, vector, TrueType, sans serif.
  tm.tmPitchAndFamily = 0x01 | 0x02 | 0x04 | FF_SWISS;
  tm.tmCharSet = ANSI_CHARSET;
  *lptm = tm;
  return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString,
                                             int nMaxExtent, LPINT lpnFit, LPINT lpnDx,
                                             LPSIZE lpSize) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (cchString < 0 || !lpSize || (cchString > 0 && !lpszString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto face = CurrentFace(*dc);
  if (!face) return FALSE;
  int64_t extent = 0;
  int fit = 0;
  bool fitting = true;
  for (int i = 0; i < cchString; ++i) {
    extent += Advance(*face, lpszString, cchString, i);
    if (lpnDx) lpnDx[i] = static_cast<int>(std::min<int64_t>(extent, INT32_MAX));
    // A character fits when the text up to and including it is no wider
    // than the maximum; equal fits.
    if (fitting && extent <= nMaxExtent) {
      fit = i + 1;
    } else {
      fitting = false;
    }
  }
  if (lpnFit) *lpnFit = fit;
  lpSize->cx = static_cast<LONG>(std::min<int64_t>(extent, INT32_MAX));
  lpSize->cy = face->Height();
  return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
  return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

extern "C" BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, CONST RECT* lprect,
                                   LPCWSTR lpString, UINT c, CONST INT* lpDx) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (options & ~static_cast<UINT>(ETO_OPAQUE | ETO_CLIPPED)) {
    wince::NotImplemented("ExtTextOutW", "options other than ETO_OPAQUE and ETO_CLIPPED");
    return FALSE;
  }
  if ((c > 0 && !lpString) || c > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto face = CurrentFace(*dc);
  if (!face) return FALSE;
  int count = static_cast<int>(c);
  COLORREF bk = DeviceColour(*dc, dc->bkColour);
  if ((options & ETO_OPAQUE) && lprect)
    FillBox(*dc, lprect->left, lprect->top, lprect->right, lprect->bottom, bk);
  ClipScope scope(*dc, (options & ETO_CLIPPED) ? lprect : nullptr);
  int64_t width = 0;
  for (int i = 0; i < count; ++i) width += lpDx ? lpDx[i] : Advance(*face, lpString, count, i);
  if (dc->bkMode == OPAQUE && !(options & ETO_OPAQUE))
    FillBox(*dc, x, y, x + width, int64_t{y} + face->Height(), bk);
  COLORREF ink = DeviceColour(*dc, dc->textColour);
  int baseline = y + face->Ascent();
  int64_t penX = x;
  for (int i = 0; i < count; ++i) {
    bool secondHalf = false;
    char32_t cp = CodePointAt(lpString, count, i, &secondHalf);
    if (!secondHalf) DrawGlyph(*dc, face->GlyphOf(cp), static_cast<int>(penX), baseline, ink);
    penX += lpDx ? lpDx[i] : (secondHalf ? 0 : face->GlyphOf(cp).advance);
  }
  return TRUE;
}
