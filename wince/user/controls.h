// What the system's window classes share: their names and procedures, the
// per-window state each control keeps, and the steps every control's
// painting and notifying goes through. Only the control and dialog files of
// wince/user/ use it.
#pragma once

#include <map>
#include <string>

#include <windows.h>

namespace wince::win {

// The system's classes, registered for every instance (CS_GLOBALCLASS).
// Names compare without regard to case, so templates and callers may write
// "Button" or "BUTTON".
inline constexpr char16_t kDialogClass[] = u"Dialog";
inline constexpr char16_t kButtonClass[] = u"BUTTON";
inline constexpr char16_t kEditClass[] = u"EDIT";
inline constexpr char16_t kStaticClass[] = u"STATIC";
inline constexpr char16_t kListBoxClass[] = u"LISTBOX";
inline constexpr char16_t kScrollBarClass[] = u"SCROLLBAR";
inline constexpr char16_t kComboBoxClass[] = u"COMBOBOX";

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Edit controls, list boxes and scroll bars: windows that show themselves
// but whose own messages fail loudly.
LRESULT CALLBACK PlainControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// State kept per control window, dropped at WM_NCDESTROY. Handles are never
// reused, so an entry can never be taken for a later window's.
template <typename T>
class PerWindow {
 public:
  T* Find(HWND hwnd) {
    auto it = map_.find(hwnd);
    return it == map_.end() ? nullptr : &it->second;
  }
  T& Get(HWND hwnd) { return map_[hwnd]; }
  void Erase(HWND hwnd) { map_.erase(hwnd); }

 private:
  std::map<HWND, T> map_;
};

// WM_COMMAND(MAKEWPARAM(id, code), control) to the control's parent.
void NotifyParent(HWND control, WORD code);
// Asks the parent for the control's colours (a WM_CTLCOLOR* message); the
// parent's answer, or DefWindowProcW's when it gives none.
HBRUSH ControlBrush(HWND control, HDC hdc, UINT message);
// Selects the control's font (NULL: the system font) into a DC.
void SelectControlFont(HDC hdc, HFONT font);
// The cell height of a font (NULL: the system font).
int FontHeight(HFONT font);
// A control's text, as DefWindowProcW keeps it.
std::u16string WindowText(HWND hwnd);
// A one-pixel frame in the window-frame colour just inside a rectangle.
void FrameRectWith(HDC hdc, RECT r);
// Sunken or raised 3D edges just inside a rectangle, one pixel each.
void DrawEdge3D(HDC hdc, RECT r, bool sunken);

// ---- combo boxes (combo_box.cpp)
// Picks the item at index as a tap on the box and then on the item would:
// the box takes the focus, drops, closes on the item and notifies the
// parent (CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE).
bool ChooseComboItem(HWND combo, int index);

// ---- icons (icon.cpp)
// The size of an icon; false when the handle is none.
bool IconSize(HICON icon, SIZE* size);

}  // namespace wince::win
