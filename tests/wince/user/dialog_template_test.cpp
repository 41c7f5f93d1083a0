// Dialog templates: the layout as the reader takes it apart, the controls a
// dialog makes of it (classes, ids, styles, titles, creation data, places in
// pixels), alignment by address, and templates that are cut off, malformed or
// of a form the host does not read.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>

#include "dialog_test_support.h"
#include "wince/user/dialog_template.h"

namespace {

using namespace dialog_test;
using wince::win::DialogTemplate;
using wince::win::ParseDialogTemplate;
using wince::win::TemplateFault;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr WORD kProbeId = 10;

// Every class a template can name, each title form, and creation data.
TemplateBuilder EveryKindOfItem() {
  TemplateBuilder t(WS_POPUP | WS_CAPTION | DS_SETFONT | DS_CENTER, 0, 0, 160, 120, u"Kinds", 8,
                    u"System");
  t.Item({kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 4, 40, 14, 1, kButton, u"OK"})
      .Item({kChild | WS_BORDER | ES_AUTOHSCROLL, 4, 22, 60, 12, 2, kEdit, u"text"})
      .Item({kChild | SS_LEFT, 4, 38, 50, 8, 3, kStatic, u"Label"})
      .Item({kChild | SS_ICON, 70, 4, 21, 20, 4, kStatic, WORD{205}})
      .Item({kChild | LBS_NOTIFY, 4, 50, 60, 30, 5, kListBox, u""})
      .Item({kChild | SBS_VERT, 150, 0, 10, 120, 6, kScrollBar, u""})
      .Item({kChild | CBS_DROPDOWNLIST | WS_VSCROLL, 70, 30, 60, 50, 7, kComboBox, u""})
      .Item({kChild | BS_AUTOCHECKBOX, 70, 90, 50, 10, 8, std::u16string(u"button"), u"Box"})
      .Item({kChild | SS_LEFT, 70, 104, 50, 8, 9, WORD{2}, u"Alias"})
      .Item({WS_CHILD, 0, 0, 1, 1, kProbeId, std::u16string(window_test::kClass), u"probe",
             {0x11, 0x22, 0x33, 0x44}});
  return t;
}

TEST(DialogTemplateReader, TheHeadersHexDumpIsTheLayout) {
  const std::vector<BYTE> dump = {
      0x80, 0x00, 0xc8, 0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40,
      0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
      0x01, 0x50, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x04, 0x00, 0x20, 0x00, 0x0c, 0x00, 0x01,
      0x00, 0xff, 0xff, 0x80, 0x00, 0x4f, 0x00, 0x4b, 0x00, 0x00, 0x00, 0x00, 0x00};
  TemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 64, 32, u"A");
  t.Item({WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 4, 4, 32, 12, IDOK, kButton,
          u"OK"});
  EXPECT_EQ(t.Bytes(), dump);
  DialogTemplate parsed;
  TemplateFault fault;
  ASSERT_TRUE(ParseDialogTemplate(dump, parsed, fault)) << fault.reason;
  ASSERT_EQ(parsed.items.size(), 1u);
  EXPECT_EQ(parsed.items[0].className, u"Button");
  EXPECT_EQ(parsed.items[0].title, u"OK");
}

TEST(DialogTemplateReader, ItemsStartOnTheDwordBoundaryOfTheirAddress) {
  // Placed two bytes past a boundary, the padding falls elsewhere than at
  // offset 0; reading by offset would take the padding for the item.
  TemplateBuilder t(WS_POPUP, 0, 0, 50, 50, u"ab");
  t.PlacedAt(2).Item({kChild, 1, 2, 3, 4, 77, kStatic, u"x"});
  std::vector<BYTE> buffer(t.Bytes().size() + 2);
  std::memcpy(buffer.data() + 2, t.Bytes().data(), t.Bytes().size());
  DialogTemplate parsed;
  TemplateFault fault;
  ASSERT_TRUE(ParseDialogTemplate({buffer.data() + 2, t.Bytes().size()}, parsed, fault))
      << fault.reason;
  ASSERT_EQ(parsed.items.size(), 1u);
  EXPECT_EQ(parsed.items[0].id, 77);
  EXPECT_EQ(parsed.items[0].title, u"x");
}

TEST(DialogTemplateReader, EveryCutOfATemplateIsRefusedWithoutReadingPastIt) {
  const TemplateBuilder t = EveryKindOfItem();
  const std::vector<BYTE>& whole = t.Bytes();
  DialogTemplate parsed;
  TemplateFault fault;
  ASSERT_TRUE(ParseDialogTemplate(whole, parsed, fault)) << fault.reason;
  ASSERT_EQ(parsed.items.size(), 10u);
  for (size_t size = 0; size < whole.size(); ++size) {
    // An exact-size copy, so that a read past it is caught by the sanitizer.
    std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(ParseDialogTemplate(cut, parsed, fault)) << "cut at " << size;
    EXPECT_LE(fault.offset, size);
    EXPECT_FALSE(fault.unsupported);
  }
}

TEST(DialogTemplateReader, MalformedAndUnsupportedForms) {
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    bool unsupported;
  };
  TemplateBuilder unknownAtom(WS_POPUP, 0, 0, 10, 10, u"");
  unknownAtom.Item({kChild, 0, 0, 1, 1, 1, WORD{0x86}, u""});
  TemplateBuilder noClass(WS_POPUP, 0, 0, 10, 10, u"");
  noClass.Item({kChild, 0, 0, 1, 1, 1, std::u16string(), u""});
  std::vector<BYTE> menu = TemplateBuilder(WS_POPUP, 0, 0, 10, 10, u"").Bytes();
  menu.insert(menu.begin() + 18, {0xFF, 0xFF, 0x07, 0x00});
  menu.erase(menu.begin() + 22, menu.begin() + 24);
  std::vector<BYTE> extended = {0x01, 0x00, 0xFF, 0xFF};
  extended.resize(64, 0);
  const Case cases[] = {
      {"unknown predefined class", unknownAtom.Bytes(), false},
      {"an item without a class", noClass.Bytes(), false},
      {"a menu", menu, true},
      {"the extended form", extended, true},
  };
  for (const Case& c : cases) {
    DialogTemplate parsed;
    TemplateFault fault;
    EXPECT_FALSE(ParseDialogTemplate(c.bytes, parsed, fault)) << c.name;
    EXPECT_EQ(fault.unsupported, c.unsupported) << c.name << ": " << fault.reason;
    // The dialog manager refuses them cleanly: -1 and the reason.
    SetLastError(0xdeadbeef);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(c.bytes.data()),
                                      nullptr, RecordingDialogProc, 0),
              -1)
        << c.name;
    EXPECT_EQ(GetLastError(), c.unsupported ? DWORD{ERROR_CALL_NOT_IMPLEMENTED}
                                            : DWORD{ERROR_INVALID_DATA})
        << c.name;
  }
}

class DialogTemplateTest : public DialogTest {};

TEST_F(DialogTemplateTest, ControlsAreMadeAsTheTemplateDescribesThem) {
  TemplateBuilder t = EveryKindOfItem();
  DialogTemplate parsed;
  TemplateFault fault;
  ASSERT_TRUE(ParseDialogTemplate(t.Bytes(), parsed, fault));
  std::vector<BYTE> creationData;
  window_test::Custom() = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    if (m == WM_CREATE && cs->lpCreateParams) {
      auto* data = static_cast<const BYTE*>(cs->lpCreateParams);
      creationData.assign(data, data + 6);  // the count WORD, then the bytes
    }
    return false;
  };
  SIZE base = EightPointBaseUnits();
  int checked = 0;
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_INITDIALOG) return false;
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, MulDiv(160, base.cx, 4));
    EXPECT_EQ(client.bottom, MulDiv(120, base.cy, 8));
    for (const wince::win::DialogItem& item : parsed.items) {
      SCOPED_TRACE(item.id);
      HWND control = GetDlgItem(dialog, item.id);
      EXPECT_NE(control, nullptr);
      if (!control) continue;
      EXPECT_EQ(GetDlgCtrlID(control), item.id);
      RECT r;
      GetWindowRect(control, &r);
      POINT at{r.left, r.top};
      ScreenToClient(dialog, &at);
      EXPECT_EQ(at.x, MulDiv(item.x, base.cx, 4));
      EXPECT_EQ(at.y, MulDiv(item.y, base.cy, 8));
      EXPECT_EQ(r.right - r.left, MulDiv(item.cx, base.cx, 4));
      auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
      if (item.id == 7) {
        // A combo box keeps its field's height and gives its scroll bar to
        // the list.
        EXPECT_EQ(style, item.style & ~WS_VSCROLL);
        EXPECT_EQ(r.bottom - r.top, base.cy + 8);
      } else {
        EXPECT_EQ(style, item.style);
        EXPECT_EQ(r.bottom - r.top, MulDiv(item.cy, base.cy, 8));
      }
      WCHAR text[16] = {};
      GetWindowTextW(control, text, 16);
      EXPECT_EQ(std::u16string(text), item.titleIsOrdinal || item.id == 7 ? u"" : item.title);
      ++checked;
    }
    EndDialog(dialog, 99);
    result = TRUE;
    return true;
  };
  EXPECT_EQ(Run(t), 99);
  EXPECT_EQ(checked, 10);
  EXPECT_EQ(creationData, (std::vector<BYTE>{4, 0, 0x11, 0x22, 0x33, 0x44}));
}

TEST_F(DialogTemplateTest, AControlThatCannotBeMadeFailsTheDialogUnlessNoFailCreate) {
  for (DWORD noFail : {DWORD{0}, DWORD{DS_NOFAILCREATE}}) {
    TemplateBuilder t(WS_POPUP | noFail, 0, 0, 50, 50, u"");
    t.Item({kChild, 0, 0, 10, 10, 1, std::u16string(u"no such class"), u""})
        .Item({kChild | BS_PUSHBUTTON, 0, 20, 10, 10, IDOK, kButton, u"OK"});
    wince::host::ClearUserActions();
    wince::host::UserClick(IDOK);
    OnDialogMessage() = EndOnButtons;
    SetLastError(0xdeadbeef);
    INT_PTR result = Run(t, screen_);
    EXPECT_TRUE(IsWindowEnabled(screen_));
    if (noFail) {
      EXPECT_EQ(result, IDOK);
    } else {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(GetLastError(), DWORD{ERROR_CANNOT_FIND_WND_CLASS});
      EXPECT_EQ(wince::host::PendingUserActions(), 1u);  // the dialog never ran
    }
  }
}

}  // namespace
