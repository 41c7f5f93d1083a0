// The person at a dialog in the play window (see play_dialog.h).
#include "tools/tapora-sim/play_dialog.h"

#include <algorithm>

#include "wince/host/dialogs.h"
#include "wince/host/surface.h"
#include "wince/host/windows.h"

namespace sim::play {
namespace {

// Combo boxes answer with their items' height; other controls leave the
// message to DefWindowProcW, which answers 0.
bool IsComboBox(HWND control) { return SendMessageW(control, CB_GETITEMHEIGHT, 0, 0) > 0; }

RECT WindowRectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

// The list's items in the combo box's font, the chosen one highlighted.
Pixels DrawList(HWND combo, const std::vector<std::u16string>& items, int selected, int width,
                int height, int itemHeight) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT inside{1, 1, width - 1, height - 1};
  FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < items.size(); ++i) {
    RECT row{1, 1 + static_cast<int>(i) * itemHeight, width - 1,
             1 + static_cast<int>(i + 1) * itemHeight};
    if (row.bottom > height - 1) break;
    const bool chosen = static_cast<int>(i) == selected;
    if (chosen) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ExtTextOutW(dc, row.left + 2, row.top, ETO_CLIPPED, &row, items[i].c_str(),
                static_cast<UINT>(items[i].size()), nullptr);
  }
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  if (const auto view = wince::host::ViewOf(dc)) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.rgb.push_back(view->At(x, y));
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

Box DialogUser::Size() const {
  const RECT rect = WindowRectOf(dialog_);
  return Box{0, 0, rect.right - rect.left, rect.bottom - rect.top};
}

Box DialogUser::ClientArea() const {
  const RECT rect = WindowRectOf(dialog_);
  POINT origin{0, 0};
  ClientToScreen(dialog_, &origin);
  RECT client{};
  GetClientRect(dialog_, &client);
  return Box{origin.x - rect.left, origin.y - rect.top, client.right, client.bottom};
}

Pixels DialogUser::Picture() const {
  Pixels picture;
  const auto view = wince::host::ViewOfWindow(dialog_);
  if (!view) return picture;
  // A top-level window's surface is the window itself, frame included.
  picture.width = view->width;
  picture.height = view->height;
  picture.rgb.assign(view->pixels.get(),
                     view->pixels.get() + static_cast<size_t>(view->width) * view->height);
  if (list_.combo == nullptr) return picture;
  const Box& box = list_.box;
  const Pixels list =
      DrawList(list_.combo, list_.items, list_.selected, box.width, box.height, list_.itemHeight);
  for (int y = 0; y < list.height && box.top + y < picture.height; ++y)
    for (int x = 0; x < list.width && box.left + x < picture.width; ++x)
      picture.rgb[static_cast<size_t>(box.top + y) * picture.width + box.left + x] = list.At(x, y);
  return picture;
}

HWND DialogUser::ControlAt(int x, int y) const {
  const RECT window = WindowRectOf(dialog_);
  const POINT screen{window.left + x, window.top + y};
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT rect = WindowRectOf(child);
    if (IsWindowVisible(child) && PtInRect(&rect, screen)) return child;
  }
  return nullptr;
}

void DialogUser::Drop(HWND combo) {
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  list_.combo = combo;
  list_.controlId = GetDlgCtrlID(combo);
  list_.items = wince::host::ComboItems(combo);
  list_.selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  list_.itemHeight = std::max(static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0)), 1);
  const RECT window = WindowRectOf(dialog_);
  const RECT field = WindowRectOf(combo);
  const Box size = Size();
  // Under the field when it fits, else as low as the window allows; never
  // taller than the window, whose picture it is drawn into.
  const int height = std::min(count * list_.itemHeight + 2, size.height);
  int top = field.bottom - window.top;
  if (top + height > size.height) top = size.height - height;
  list_.box = Box{field.left - window.left, top, field.right - field.left, height};
}

void DialogUser::PenDown(int x, int y) {
  if (list_.combo != nullptr) {
    const Box box = list_.box;
    if (box.Contains(x, y)) {
      const size_t index = static_cast<size_t>((y - box.top - 1) / list_.itemHeight);
      if (y > box.top && index < list_.items.size())
        wince::host::UserChoose(list_.controlId, list_.items[index]);
    }
    list_ = DroppedList{};  // a tap anywhere closes the list
    return;
  }
  HWND control = ControlAt(x, y);
  if (control != nullptr && IsComboBox(control)) {
    if (IsWindowEnabled(control)) Drop(control);
    return;
  }
  const Box client = ClientArea();
  penOnDialog_ = wince::host::PenDown(dialog_, x - client.left, y - client.top);
}

void DialogUser::PenMove(int x, int y) {
  if (!penOnDialog_) return;
  const Box client = ClientArea();
  wince::host::PenMove(dialog_, x - client.left, y - client.top);
}

void DialogUser::PenUp(int x, int y) {
  if (!penOnDialog_) return;
  penOnDialog_ = false;
  const Box client = ClientArea();
  wince::host::PenUp(dialog_, x - client.left, y - client.top);
}

}  // namespace sim::play
