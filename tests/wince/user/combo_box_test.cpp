// Drop-down list combo boxes: sorted insertion, prefix and exact searches
// from a start index with wrap-around, item texts and selection without
// notification, and the notifications of a user's choice. (The box's own
// height is checked with the template's controls.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "dialog_test_support.h"

namespace {

using namespace dialog_test;
using window_test::Log;

constexpr int kId = 7;
constexpr DWORD kList = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;

class ComboBoxTest : public DialogTest {
 protected:
  HWND Combo(DWORD style = kList | CBS_SORT, int height = 100) {
    parent_ = Child(screen_, 0, 0, 200, 200);
    return CreateWindowExW(0, u"ComboBox", u"", style, 5, 5, 100, height, parent_,
                           reinterpret_cast<HMENU>(intptr_t{kId}), Instance(), nullptr);
  }
  static LRESULT Add(HWND combo, const char16_t* text) {
    return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  HWND parent_ = nullptr;
};

TEST_F(ComboBoxTest, SortedBoxesInsertWhereACaseInsensitiveBinarySearchStops) {
  struct Case {
    DWORD sort;
    std::vector<const char16_t*> added;
    std::vector<LRESULT> indexes;
    std::vector<std::u16string> list;
  };
  const Case cases[] = {
      // An equal string goes before the one the search meets.
      {CBS_SORT, {u"beta", u"Alpha", u"gamma", u"alpha", u"Beta"}, {0, 0, 2, 0, 2},
       {u"alpha", u"Alpha", u"Beta", u"beta", u"gamma"}},
      // Linguistic order: an accent counts after the letters, not as a code unit.
      {CBS_SORT, {u"Eva", u"\u00C9cole", u"Ecole"}, {0, 0, 0}, {u"Ecole", u"\u00C9cole", u"Eva"}},
      {0, {u"beta", u"Alpha", u"gamma"}, {0, 1, 2}, {u"beta", u"Alpha", u"gamma"}},
  };
  for (const Case& c : cases) {
    HWND combo = Combo(kList | c.sort);
    std::vector<LRESULT> indexes;
    for (const char16_t* text : c.added) indexes.push_back(Add(combo, text));
    EXPECT_EQ(indexes, c.indexes);
    EXPECT_EQ(wince::host::ComboItems(combo), c.list);
    DestroyWindow(parent_);
  }
}

TEST_F(ComboBoxTest, SearchesStartAfterTheIndexAndWrapAround) {
  HWND combo = Combo();
  for (const char16_t* text : {u"Cherry", u"apple", u"banana", u"Apricot"}) Add(combo, text);
  ASSERT_EQ(wince::host::ComboItems(combo),
            (std::vector<std::u16string>{u"apple", u"Apricot", u"banana", u"Cherry"}));
  struct Case {
    UINT message;
    int start;
    const char16_t* text;
    LRESULT found;
  };
  const Case cases[] = {
      {CB_FINDSTRING, -1, u"AP", 0},      // from the first item, any case
      {CB_FINDSTRING, 0, u"ap", 1},       // after item 0
      {CB_FINDSTRING, 1, u"ap", 0},       // wraps round
      {CB_FINDSTRING, 3, u"c", 3},        // after the last: from the first
      {CB_FINDSTRING, 10, u"b", 2},       // outside the list: from the first
      {CB_FINDSTRING, -1, u"apples", CB_ERR},
      {CB_FINDSTRING, -1, u"", CB_ERR},
      {CB_FINDSTRINGEXACT, -1, u"APPLE", 0},
      {CB_FINDSTRINGEXACT, 0, u"apple", 0},  // all the way round to itself
      {CB_FINDSTRINGEXACT, -1, u"app", CB_ERR},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageW(combo, c.message, static_cast<WPARAM>(c.start),
                           reinterpret_cast<LPARAM>(c.text)),
              c.found)
        << (c.message == CB_FINDSTRING ? "prefix " : "exact ") << c.start;
  }
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);  // searching selects nothing
}

TEST_F(ComboBoxTest, ItemTextsAndTheSelectionFollowTheListSilently) {
  HWND combo = Combo(kList);
  for (const char16_t* text : {u"one", u"two", u"three"}) Add(combo, text);
  WCHAR buffer[8] = {u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(std::u16string(buffer), u"two");  // with its NUL
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(buffer)), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, -1, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(GetWindowTextLengthW(combo), 5);  // the box shows the selection
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 2);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);  // it moved up with its item
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 3, 0), CB_ERR);  // outside: cleared
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(window_test::Messages({WM_COMMAND}).empty()) << window_test::Describe(Log());
}

TEST_F(ComboBoxTest, OnlyAUsersChoiceNotifies) {
  TemplateBuilder t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, u"");
  t.Item({WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 40, 14, IDOK, kButton, u"OK"})
      .Item({kList | CBS_SORT, 4, 24, 60, 50, kId, kComboBox, u""})
      .Item({kList | WS_DISABLED, 4, 44, 60, 50, kId + 1, kComboBox, u""});
  LRESULT selectedWhenTold = CB_ERR;
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                          INT_PTR& result) {
    if (message == WM_INITDIALOG) {
      for (int id : {kId, kId + 1}) {
        for (const char16_t* text : {u"Red", u"Green", u"Blue"})
          SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, 0, 0);
      }
    }
    if (message == WM_COMMAND && wParam == MAKEWPARAM(kId, CBN_SELCHANGE))
      selectedWhenTold = SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0);
    return EndOnButtons(dialog, message, wParam, lParam, result);
  };
  wince::host::UserDoes([](HWND) { EXPECT_TRUE(Commands().empty()); });
  wince::host::UserChoose(kId + 1, u"Red");  // disabled: nothing happens
  wince::host::UserChoose(kId, u"Red");
  wince::host::UserDoes([](HWND dialog) {
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kId));
    EXPECT_EQ(SendDlgItemMessageW(dialog, kId, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  });
  wince::host::UserClick(IDOK);
  EXPECT_EQ(Run(t), IDOK);
  EXPECT_EQ(selectedWhenTold, 2);  // Blue, Green, Red
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{kId, CBN_SETFOCUS},
                                                          {kId, CBN_DROPDOWN},
                                                          {kId, CBN_SELENDOK},
                                                          {kId, CBN_CLOSEUP},
                                                          {kId, CBN_SELCHANGE},
                                                          {kId, CBN_KILLFOCUS},
                                                          {IDOK, BN_CLICKED}}));
}

}  // namespace
