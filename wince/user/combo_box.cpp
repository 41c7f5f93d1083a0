// The COMBOBOX class, as a drop-down list (CBS_DROPDOWNLIST): a list of
// strings, one selected, shown in a field with a drop button. Combo boxes
// with an edit field (CBS_SIMPLE, CBS_DROPDOWN) and owner-drawn ones fail
// loudly at creation, and so does a tap on the box (there is no dropped list
// to tap on): a test picks an item as a user would with
// wince::host::UserChoose (wince/host/dialogs.h).
//
// The list follows the platform's list box:
// - CBS_SORT: CB_ADDSTRING inserts where a binary search with lstrcmpiW
//   (case-insensitive, linguistic) stops, before an equal string it meets;
//   CB_INSERTSTRING never sorts.
// - CB_FINDSTRING is a case-insensitive prefix search, CB_FINDSTRINGEXACT a
//   case-insensitive whole-string one; both start after the wParam index
//   (-1, or any index outside the list: at the first item), wrap around,
//   and answer CB_ERR for an empty string or no match.
// - CB_SETCURSEL never notifies; an index outside the list clears the
//   selection and answers CB_ERR.
// - Only a user's choice notifies: CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP,
//   then CBN_SELCHANGE, each as WM_COMMAND(MAKEWPARAM(id, code), box).
// Like the platform's, the box keeps only the height of its field (the
// font's height plus 8); the height it was created with is the dropped
// list's (CB_GETDROPPEDCONTROLRECT). WS_BORDER, WS_HSCROLL and WS_VSCROLL
// belong to the list, so the box drops them from its own style.
#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/kernel/case_map.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"

namespace wince::win {
namespace {

struct Item {
  std::u16string text;
  LPARAM data = 0;
};

struct ComboState {
  HFONT font = nullptr;
  std::vector<Item> items;
  int selected = CB_ERR;
  bool dropped = false;
  int droppedHeight = 0;  // the height the box was created with
};

PerWindow<ComboState>& States() {
  static PerWindow<ComboState> states;
  return states;
}

int Count(const ComboState& s) { return static_cast<int>(s.items.size()); }
bool Valid(const ComboState& s, WPARAM index) {
  return static_cast<int>(index) >= 0 && static_cast<int>(index) < Count(s);
}

std::u16string TextOf(LPARAM lParam) {
  auto* text = reinterpret_cast<LPCWSTR>(lParam);
  return text ? std::u16string(text) : std::u16string();
}

int SortedPosition(const ComboState& s, const std::u16string& text) {
  int low = 0, high = Count(s) - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    int order = lstrcmpiW(s.items[middle].text.c_str(), text.c_str());
    if (order == 0) return middle;
    if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

bool StartsWith(const std::u16string& item, const std::u16string& prefix) {
  if (item.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (text::ToUpper(item[i]) != text::ToUpper(prefix[i])) return false;
  return true;
}

LRESULT Find(const ComboState& s, WPARAM start, LPARAM lParam, bool exact) {
  std::u16string text = TextOf(lParam);
  int count = Count(s);
  if (text.empty() || count == 0) return CB_ERR;
  int first = static_cast<int>(start) + 1;
  if (first < 0 || first >= count) first = 0;
  for (int n = 0; n < count; ++n) {
    int i = (first + n) % count;
    bool match = exact ? lstrcmpiW(s.items[i].text.c_str(), text.c_str()) == 0
                       : StartsWith(s.items[i].text, text);
    if (match) return i;
  }
  return CB_ERR;
}

LRESULT Insert(HWND hwnd, ComboState& s, int index, LPARAM lParam) {
  if (index < -1 || index > Count(s)) return CB_ERR;
  if (index == -1) index = Count(s);
  s.items.insert(s.items.begin() + index, Item{TextOf(lParam), 0});
  if (s.selected >= index) ++s.selected;
  InvalidateRect(hwnd, nullptr, TRUE);
  return index;
}

LRESULT Select(HWND hwnd, ComboState& s, WPARAM index) {
  s.selected = Valid(s, index) ? static_cast<int>(index) : CB_ERR;
  InvalidateRect(hwnd, nullptr, TRUE);
  return s.selected;
}

LRESULT CopyText(const std::u16string& text, WPARAM size, LPARAM lParam) {
  auto* buffer = reinterpret_cast<LPWSTR>(lParam);
  if (!buffer || size == 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

void DrawArrow(HDC hdc, const RECT& button, COLORREF colour) {
  int cx = (button.left + button.right) / 2;
  int cy = (button.top + button.bottom) / 2 - 1;
  HBRUSH brush = CreateSolidBrush(colour);
  for (int row = 0; row < 4; ++row) {
    RECT line{cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1};
    FillRect(hdc, &line, brush);
  }
  DeleteObject(brush);
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  ComboState& s = States().Get(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  bool disabled = (GetWindowLongW(hwnd, GWL_STYLE) & WS_DISABLED) != 0;
  HBRUSH background = ControlBrush(hwnd, hdc, disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  if (disabled) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  FrameRectWith(hdc, client);
  int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
  RECT field{1, 1, client.right - 1 - buttonWidth, client.bottom - 1};
  RECT button{field.right, 1, client.right - 1, client.bottom - 1};
  FillRect(hdc, &field, background ? background : GetSysColorBrush(COLOR_WINDOW));
  FillRect(hdc, &button, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge3D(hdc, button, s.dropped);
  DrawArrow(hdc, button, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text = field;
  InflateRect(&text, -1, -1);
  if (GetFocus() == hwnd && !s.dropped) {
    FillRect(hdc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_HIGHLIGHT));
  }
  if (s.selected >= 0) {
    SelectControlFont(hdc, s.font);
    text.left += 2;
    const std::u16string& shown = s.items[s.selected].text;
    DrawTextW(hdc, shown.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  EndPaint(hwnd, &ps);
}

// The box's own height follows its font: the field's.
void FitField(HWND hwnd, HFONT font) {
  RECT r;
  GetClientRect(hwnd, &r);
  SetWindowPos(hwnd, nullptr, 0, 0, r.right, FontHeight(font) + 8,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT Create(HWND hwnd, const CREATESTRUCTW* cs) {
  auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  if ((style & 3) != CBS_DROPDOWNLIST || (style & CBS_OWNERDRAWFIXED) || (style & 0x20)) {
    NotImplemented("COMBOBOX", "edit fields (CBS_SIMPLE, CBS_DROPDOWN) and owner-drawn boxes");
    return -1;
  }
  ComboState& s = States().Get(hwnd);
  s.droppedHeight = cs ? cs->cy : 0;
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_BORDER | WS_HSCROLL | WS_VSCROLL)));
  SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  FitField(hwnd, nullptr);
  return 0;
}

LRESULT DroppedRect(HWND hwnd, const ComboState& s, LPARAM lParam) {
  auto* rect = reinterpret_cast<RECT*>(lParam);
  if (!rect) return CB_ERR;
  GetWindowRect(hwnd, rect);
  rect->bottom = rect->top + std::max<LONG>(s.droppedHeight, rect->bottom - rect->top);
  return CB_OKAY;
}

LRESULT ListMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState& s = States().Get(hwnd);
  switch (message) {
    case CB_ADDSTRING: {
      bool sorted = (GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT) != 0;
      return Insert(hwnd, s, sorted ? SortedPosition(s, TextOf(lParam)) : -1, lParam);
    }
    case CB_INSERTSTRING: return Insert(hwnd, s, static_cast<int>(wParam), lParam);
    case CB_DELETESTRING: {
      if (!Valid(s, wParam)) return CB_ERR;
      int index = static_cast<int>(wParam);
      s.items.erase(s.items.begin() + index);
      if (s.selected == index) s.selected = CB_ERR;
      else if (s.selected > index) --s.selected;
      InvalidateRect(hwnd, nullptr, TRUE);
      return Count(s);
    }
    case CB_RESETCONTENT:
      s.items.clear();
      s.selected = CB_ERR;
      InvalidateRect(hwnd, nullptr, TRUE);
      return CB_OKAY;
    case CB_GETCOUNT: return Count(s);
    case CB_GETCURSEL: return s.selected;
    case CB_SETCURSEL: return Select(hwnd, s, wParam);
    case CB_FINDSTRING: return Find(s, wParam, lParam, false);
    case CB_FINDSTRINGEXACT: return Find(s, wParam, lParam, true);
    case CB_SELECTSTRING: {
      LRESULT found = Find(s, wParam, lParam, false);
      return found == CB_ERR ? CB_ERR : Select(hwnd, s, static_cast<WPARAM>(found));
    }
    case CB_GETLBTEXTLEN:
      return Valid(s, wParam) ? static_cast<LRESULT>(s.items[wParam].text.size()) : CB_ERR;
    case CB_GETLBTEXT: {
      if (!Valid(s, wParam) || !lParam) return CB_ERR;
      const std::u16string& text = s.items[wParam].text;
      return CopyText(text, text.size() + 1, lParam);
    }
    case CB_GETITEMDATA: return Valid(s, wParam) ? s.items[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
      if (!Valid(s, wParam)) return CB_ERR;
      s.items[wParam].data = lParam;
      return TRUE;
    case CB_GETDROPPEDSTATE: return s.dropped ? TRUE : FALSE;
    case CB_SHOWDROPDOWN: return TRUE;  // the host never shows the list
    case CB_GETDROPPEDCONTROLRECT: return DroppedRect(hwnd, s, lParam);
    case CB_GETITEMHEIGHT: return FontHeight(s.font);
    default:
      NotImplemented("COMBOBOX", "this CB_ message");
      return CB_ERR;
  }
}

bool Notify(HWND hwnd, WORD code) {
  NotifyParent(hwnd, code);
  return IsWindow(hwnd) != FALSE;
}

}  // namespace

bool ChooseComboItem(HWND combo, int index) {
  ComboState* s = States().Find(combo);
  if (!s || index < 0 || index >= Count(*s) || !IsWindowEnabled(combo)) return false;
  if (GetFocus() != combo) SetFocus(combo);
  if (!(s = States().Find(combo))) return false;
  s->dropped = true;
  InvalidateRect(combo, nullptr, TRUE);
  if (!Notify(combo, CBN_DROPDOWN) || !(s = States().Find(combo))) return false;
  if (index < Count(*s)) s->selected = index;
  if (!Notify(combo, CBN_SELENDOK) || !(s = States().Find(combo))) return false;
  s->dropped = false;
  InvalidateRect(combo, nullptr, TRUE);
  if (!Notify(combo, CBN_CLOSEUP)) return false;
  Notify(combo, CBN_SELCHANGE);
  return true;
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= CB_GETEDITSEL && message <= CB_INITSTORAGE)
    return ListMessage(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: return Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SETFONT:
      States().Get(hwnd).font = reinterpret_cast<HFONT>(wParam);
      FitField(hwnd, reinterpret_cast<HFONT>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(States().Get(hwnd).font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETTEXT: {
      ComboState& s = States().Get(hwnd);
      return CopyText(s.selected >= 0 ? s.items[s.selected].text : u"", wParam, lParam);
    }
    case WM_GETTEXTLENGTH: {
      ComboState& s = States().Get(hwnd);
      return s.selected >= 0 ? static_cast<LRESULT>(s.items[s.selected].text.size()) : 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      NotImplemented("COMBOBOX", "dropping the list under the pen (tests use wince::host::UserChoose)");
      return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_NCDESTROY: States().Erase(hwnd); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace wince::win
