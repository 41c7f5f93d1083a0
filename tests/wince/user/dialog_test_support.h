// Shared by the dialog and control conformance tests: in-memory templates
// built from a readable description, a dialog procedure that records what it
// gets and does what a test asks, and a fixture with a screen, no queued
// user actions and no message boxes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include <windows.h>

#include "wince/host/dialogs.h"
#include "wince/host/message_box.h"
#include "wince/host/windows.h"
#include "window_test_support.h"

namespace dialog_test {

// A class or title: 0xFFFF + a number, or a string.
using NameOrOrdinal = std::variant<WORD, std::u16string>;

inline constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83,
                      kScrollBar = 0x84, kComboBox = 0x85;

struct ItemLayout {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  NameOrOrdinal cls;
  NameOrOrdinal title;
  std::vector<BYTE> creationData = {};
  DWORD exStyle = 0;
};

// Builds a DLGTEMPLATE and its items as a resource compiler lays them out.
class TemplateBuilder {
 public:
  TemplateBuilder(DWORD style, short x, short y, short cx, short cy, std::u16string title,
                  WORD pointSize = 0, std::u16string face = u"") {
    Dword(style);
    Dword(0);
    Word(0);  // the item count, set as items are added
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(0);  // no menu
    Word(0);  // the dialog class
    String(title);
    if (style & DS_SETFONT) {
      Word(pointSize);
      String(face);
    }
  }

  // Items are aligned for a template that will lie `offset` bytes past a
  // DWORD boundary.
  TemplateBuilder& PlacedAt(size_t offset) {
    offset_ = offset;
    return *this;
  }

  TemplateBuilder& Item(const ItemLayout& item) {
    while ((bytes_.size() + offset_) % 4) bytes_.push_back(0);
    Dword(item.style);
    Dword(item.exStyle);
    for (short v : {item.x, item.y, item.cx, item.cy}) Word(static_cast<WORD>(v));
    Word(item.id);
    Name(item.cls);
    Name(item.title);
    Word(static_cast<WORD>(item.creationData.size()));
    bytes_.insert(bytes_.end(), item.creationData.begin(), item.creationData.end());
    ++count_;
    bytes_[8] = static_cast<BYTE>(count_);
    bytes_[9] = static_cast<BYTE>(count_ >> 8);
    return *this;
  }

  const std::vector<BYTE>& Bytes() const { return bytes_; }
  // The vector's storage is aligned far beyond a DWORD, as a resource is.
  LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(bytes_.data()); }

 private:
  void Word(WORD w) {
    bytes_.push_back(static_cast<BYTE>(w));
    bytes_.push_back(static_cast<BYTE>(w >> 8));
  }
  void Dword(DWORD d) {
    Word(static_cast<WORD>(d));
    Word(static_cast<WORD>(d >> 16));
  }
  void String(const std::u16string& s) {
    for (char16_t c : s) Word(c);
    Word(0);
  }
  void Name(const NameOrOrdinal& n) {
    if (const WORD* ordinal = std::get_if<WORD>(&n)) {
      Word(0xFFFF);
      Word(*ordinal);
    } else {
      String(std::get<std::u16string>(n));
    }
  }

  std::vector<BYTE> bytes_;
  WORD count_ = 0;
  size_t offset_ = 0;
};

// The options dialog of the input method, as its resource script describes
// it: 127 by 105 dialog units, 8-point "System", and its eleven controls in
// the script's order.
inline constexpr WORD kLanguageList = 201, kLayoutList = 202, kDefaultLanguage = 203,
                      kDefaultLayout = 204, kTypematic = 205, kIconId = 205;
inline TemplateBuilder OptionsTemplate() {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr DWORD kList = kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
  constexpr WORD kNoId = 0xFFFF;
  TemplateBuilder t(0x80C00A40, 0, 0, 127, 105, u"Tapora Input Panel", 8, u"System");
  t.Item({kChild | BS_PUSHBUTTON | WS_TABSTOP, 72, 7, 50, 14, IDOK, kButton, u"OK"})
      .Item({kList, 4, 49, 79, 48, kLanguageList, kComboBox, u""})
      .Item({kChild | SS_LEFT | WS_GROUP, 4, 40, 65, 8, kNoId, kStatic, u"Select A Language:"})
      .Item({kChild | BS_PUSHBUTTON | WS_TABSTOP, 72, 24, 50, 14, IDCANCEL, kButton, u"Cancel"})
      .Item({kChild | SS_LEFT | WS_GROUP, 4, 64, 91, 8, kNoId, kStatic, u"Select A Layout:"})
      .Item({kList | WS_GROUP, 4, 72, 79, 48, kLayoutList, kComboBox, u""})
      .Item({kChild | SS_ICON, 4, 14, 21, 20, kNoId, kStatic, kIconId})
      .Item({kChild | SS_LEFT | WS_GROUP, 29, 23, 40, 8, kNoId, kStatic, u"Tapora\u00AE"})
      .Item({kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 86, 51, 36, 10, kDefaultLanguage, kButton,
             u"Default"})
      .Item({kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 86, 73, 36, 10, kDefaultLayout, kButton,
             u"Default"})
      .Item({kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 27, 90, 77, 10, kTypematic, kButton,
             u"Enable Typematic"});
  return t;
}

// MulDiv as the platform rounds it, for expected pixel positions.
inline int MulDiv(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  return static_cast<int>(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}

// The dialog base units of 8-point text on the host's 96-dpi screen,
// measured as the platform defines them: the average width of the 52 Latin
// letters, and the cell height.
inline SIZE EightPointBaseUnits() {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(8, 96, 72);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

// What the dialog procedure does with a message instead of answering FALSE.
using DialogHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, INT_PTR&)>;
inline DialogHandler& OnDialogMessage() {
  static DialogHandler handler;
  return handler;
}

// Records every message (in window_test::Log) and answers FALSE unless the
// test's handler takes it.
inline INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  window_test::Log().push_back(window_test::Message{hwnd, message, wParam});
  INT_PTR result = FALSE;
  if (OnDialogMessage() && OnDialogMessage()(hwnd, message, wParam, lParam, result)) return result;
  return FALSE;
}

// Ends the dialog with the id of a button that was clicked.
inline bool EndOnButtons(HWND hwnd, UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return false;
  EndDialog(hwnd, LOWORD(wParam));
  result = TRUE;
  return true;
}

// The WM_COMMAND notifications in the log, as (id, code) pairs.
inline std::vector<std::pair<int, int>> Commands() {
  std::vector<std::pair<int, int>> out;
  for (const window_test::Message& m : window_test::Log())
    if (m.message == WM_COMMAND) out.emplace_back(LOWORD(m.wParam), HIWORD(m.wParam));
  return out;
}

class DialogTest : public window_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    OnDialogMessage() = nullptr;
    wince::host::ClearUserActions();
    wince::host::ClearMessageBoxes();
  }
  void TearDown() override {
    OnDialogMessage() = nullptr;
    wince::host::ClearUserActions();
    wince::host::ClearMessageBoxes();
    WindowTest::TearDown();
  }

  INT_PTR Run(const TemplateBuilder& t, HWND owner = nullptr, LPARAM param = 0) {
    return DialogBoxIndirectParamW(Instance(), t.Get(), owner, RecordingDialogProc, param);
  }
};

}  // namespace dialog_test
