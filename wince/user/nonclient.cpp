// Window frames and system metrics: what a style adds around the client
// area, drawing it, AdjustWindowRectEx and GetSystemMetrics.
//
// The frame, as the host draws it in the thin style of a Windows CE
// screen: WS_BORDER or WS_DLGFRAME (and so WS_CAPTION, which is both) give
// a one-pixel border in the window-frame colour; WS_CAPTION adds a caption
// strip of SM_CYCAPTION pixels under the top border, filled with the active
// or inactive caption colour and showing the window's text in bold, four
// pixels from the left. The frame belongs to the window's rectangle; the
// client area is what it leaves. Extended edge styles add nothing.
#include <algorithm>

#include <windows.h>

#include "wince/gdi/surface.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

constexpr int kBorder = 1;
constexpr int kCaptionHeight = 18;
constexpr int kTitleIndent = 4;
// The host's screen when no screen window stands for it.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

// The caption font is the system's, like a stock object: never counted as
// a live object, never deleted.
HFONT CaptionFont() {
  static HFONT font = [] {
    gdi::Object o{gdi::Kind::Font};
    o.stock = true;
    o.font.face = gdi::OpenFace(true, gdi::kSystemFontEm);
    o.font.logFont.lfHeight = -gdi::kSystemFontEm;
    o.font.logFont.lfWeight = FW_BOLD;
    if (!o.font.face) return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    return static_cast<HFONT>(gdi::AddObject(std::move(o)));
  }();
  return font;
}

void DrawCaption(HDC hdc, const Window& w, int width) {
  bool active = GetActiveWindow() == w.handle;
  RECT bar{kBorder, kBorder, width - kBorder, kBorder + kCaptionHeight};
  FillRect(hdc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  if (w.text.empty()) return;
  HGDIOBJ old = SelectObject(hdc, CaptionFont());
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  RECT text = bar;
  text.left += kTitleIndent;
  int y = bar.top + (kCaptionHeight - tm.tmHeight) / 2;
  ExtTextOutW(hdc, text.left, y, ETO_CLIPPED, &text, w.text.data(),
              static_cast<UINT>(w.text.size()), nullptr);
  SelectObject(hdc, old);
}

}  // namespace

RECT FrameOf(DWORD style, DWORD) {
  RECT frame{0, 0, 0, 0};
  if (style & (WS_BORDER | WS_DLGFRAME)) frame = RECT{kBorder, kBorder, kBorder, kBorder};
  if (HasCaption(style)) frame.top += kCaptionHeight;
  return frame;
}

void DrawFrame(Window& w) {
  if (w.frame.left == 0 && w.frame.top == 0 && w.frame.right == 0 && w.frame.bottom == 0) return;
  RECT clip = WindowClipOnSurface(w);
  auto surface = SurfaceOf(w);
  if (!surface || IsRectEmpty(&clip)) return;
  POINT origin = SurfaceOrigin(w);
  origin.x -= w.frame.left;
  origin.y -= w.frame.top;
  HDC hdc = gdi::CreateSurfaceDC(surface, origin, clip);
  if (!hdc) return;
  int width = Width(w), height = Height(w);
  if (w.style & (WS_BORDER | WS_DLGFRAME)) {
    HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    RECT edges[] = {{0, 0, width, kBorder},
                    {0, height - kBorder, width, height},
                    {0, 0, kBorder, height},
                    {width - kBorder, 0, width, height}};
    for (const RECT& edge : edges) FillRect(hdc, &edge, frame);
  }
  if (HasCaption(w.style)) DrawCaption(hdc, w, width);
  DeleteDC(hdc);
}

}  // namespace wince::win

using namespace wince::win;

extern "C" BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (menu) {
    wince::NotImplemented("AdjustWindowRectEx", "menu bars");
    return FALSE;
  }
  RECT frame = FrameOf(style, exStyle);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return TRUE;
}

extern "C" int WINAPI GetSystemMetrics(int index) {
  Window* screen = Lookup(ScreenWindow());
  switch (index) {
    case SM_CXSCREEN: return screen ? Width(*screen) : kScreenWidth;
    case SM_CYSCREEN: return screen ? Height(*screen) : kScreenHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 13;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kBorder;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: wince::NotImplemented("GetSystemMetrics", "this index"); return 0;
  }
}
