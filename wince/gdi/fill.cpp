// FillRect and the system colours (GetSysColor, GetSysColorBrush).
//
// FillRect fills [left, right) x [top, bottom); an empty or inverted
// rectangle fills nothing. As on the platform, the brush may also be a
// system colour index plus one, (HBRUSH)(COLOR_WINDOW + 1).
// The system colours are the classic grey scheme of a Windows CE device.
#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::gdi {
namespace {

// Windows CE marks system colour indexes with this flag in its headers.
constexpr ULONG_PTR kSysColourFlag = 0x40000000;
constexpr int kSysColourCount = COLOR_STATICTEXT + 1;

const COLORREF kSysColours[kSysColourCount] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(192, 192, 192),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};

int IndexOf(ULONG_PTR value) { return static_cast<int>(value & ~kSysColourFlag); }

}  // namespace

bool IsSystemColourIndex(ULONG_PTR value) {
  ULONG_PTR index = value & ~kSysColourFlag;
  return index < static_cast<ULONG_PTR>(kSysColourCount);
}

COLORREF SystemColour(int index) { return kSysColours[index]; }

}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" DWORD WINAPI GetSysColor(int nIndex) {
  if (nIndex < 0 || !IsSystemColourIndex(static_cast<ULONG_PTR>(nIndex))) return 0;
  return SystemColour(IndexOf(static_cast<ULONG_PTR>(nIndex)));
}

extern "C" HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  static HBRUSH brushes[kSysColourCount] = {};
  if (nIndex < 0 || !IsSystemColourIndex(static_cast<ULONG_PTR>(nIndex))) return nullptr;
  int index = IndexOf(static_cast<ULONG_PTR>(nIndex));
  if (!brushes[index]) {
    Object o{Kind::Brush};
    o.stock = true;  // system colour brushes are never destroyed
    o.brush.colour = SystemColour(index);
    brushes[index] = static_cast<HBRUSH>(AddObject(std::move(o)));
  }
  return brushes[index];
}

extern "C" int WINAPI FillRect(HDC hDC, CONST RECT* lprc, HBRUSH hbr) {
  DeviceContext* dc = FindDC(hDC);
  if (!dc) return 0;
  if (!lprc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  COLORREF colour;
  auto value = reinterpret_cast<ULONG_PTR>(hbr);
  if (value != 0 && IsSystemColourIndex(value - 1)) {
    colour = SystemColour(IndexOf(value - 1));
  } else {
    Object* brush = Find(hbr, Kind::Brush);
    if (!brush) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    if (brush->brush.style == BS_NULL) return 1;
    colour = brush->brush.colour;
  }
  FillBox(*dc, lprc->left, lprc->top, lprc->right, lprc->bottom, DeviceColour(*dc, colour));
  return 1;
}
