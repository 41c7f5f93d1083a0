// The options dialog as a person sees it: laid out from its template, with
// a caption, filled lists, check boxes and an icon, saved as PNG beside the
// test program (dialog_options.png) for a look, and checked at the pixels
// that say what kind of control lies where.
#include <gtest/gtest.h>

#include <filesystem>

#include <windows.h>

#include "dialog_test_support.h"
#include "wince/host/surface.h"

namespace {

using namespace dialog_test;
namespace fs = std::filesystem;

fs::path BesideTheTest(const char* name) {
  return fs::canonical("/proc/self/exe").parent_path() / name;
}

// A 32 x 32 monochrome icon: a black key cap with a white top on a
// transparent field (the mask above, the image below).
HICON KeyIcon() {
  HBITMAP bits = CreateBitmap(32, 64, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bits);
  RECT all{0, 0, 32, 64}, key{4, 6, 28, 26}, top{6, 40, 26, 46};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FillRect(dc, &key, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT image{0, 32, 32, 64};
  FillRect(dc, &image, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillRect(dc, &top, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  ICONINFO info{TRUE, 16, 16, bits, nullptr};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(bits);
  return icon;
}

class DialogSnapshotTest : public DialogTest {};

TEST_F(DialogSnapshotTest, OptionsDialogLooksLikeADialog) {
  HICON icon = KeyIcon();
  ASSERT_NE(icon, nullptr);
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                          INT_PTR& result) {
    if (message != WM_INITDIALOG) return EndOnButtons(dialog, message, wParam, lParam, result);
    for (const char16_t* name : {u"English", u"Deutsch", u"Fran\u00E7ais"})
      SendDlgItemMessageW(dialog, kLanguageList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    for (const char16_t* name : {u"QWERTY", u"Dvorak"})
      SendDlgItemMessageW(dialog, kLayoutList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageW(dialog, kLanguageList, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, kLayoutList, CB_SETCURSEL, 1, 0);
    CheckDlgButton(dialog, kDefaultLanguage, BST_CHECKED);
    CheckDlgButton(dialog, kTypematic, BST_CHECKED);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      bool iconStatic = SendMessageW(child, WM_GETDLGCODE, 0, 0) == DLGC_STATIC &&
                        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      if (iconStatic) SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    result = TRUE;
    return true;
  };
  fs::path file = BesideTheTest("dialog_options.png");
  wince::host::UserDoes([&](HWND dialog) {
    ASSERT_TRUE(wince::host::SaveWindowWithFramePng(dialog, file));
    // A caption in the active colour over the face-coloured client area.
    auto view = wince::host::ViewOfWindow(dialog);
    EXPECT_EQ(view->At(3, 3), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(wince::host::WindowPixel(dialog, 1, 1), GetSysColor(COLOR_3DFACE));
    // The checked boxes show a mark, the unchecked one none.
    auto ink = [&](int id) {
      HWND box = GetDlgItem(dialog, id);
      RECT r;
      GetClientRect(box, &r);
      int count = 0;
      for (int y = r.bottom / 2 - 5; y < r.bottom / 2 + 5; ++y)
        for (int x = 2; x < 11; ++x) count += wince::host::WindowPixel(box, x, y) == 0;
      return count;
    };
    EXPECT_GT(ink(kDefaultLanguage), 10);
    EXPECT_EQ(ink(kDefaultLayout), 0);
    EXPECT_GT(ink(kTypematic), 10);
    // The icon at (4, 14) dialog units: a white key top on a black key on
    // the face colour that shows through.
    SIZE base = EightPointBaseUnits();
    int x = MulDiv(4, base.cx, 4), y = MulDiv(14, base.cy, 8);
    EXPECT_EQ(wince::host::WindowPixel(dialog, x + 10, y + 10), RGB(255, 255, 255));
    EXPECT_EQ(wince::host::WindowPixel(dialog, x + 10, y + 20), RGB(0, 0, 0));
    EXPECT_EQ(wince::host::WindowPixel(dialog, x + 1, y + 1), GetSysColor(COLOR_3DFACE));
  });
  wince::host::UserClick(IDCANCEL);
  EXPECT_EQ(Run(OptionsTemplate(), screen_), IDCANCEL);
  EXPECT_TRUE(fs::exists(file));
  DestroyIcon(icon);
}

}  // namespace
