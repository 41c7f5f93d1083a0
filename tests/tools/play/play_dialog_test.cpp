// The person at a dialog in the play window, on the host without a display:
// taps at window pixels (caption included) work the dialog's check box and
// button through the host's pen input, and a tap on a combo box drops a list
// drawn over the dialog's picture whose items choose as the host's user does.
#include "tools/tapora-sim/play_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "tests/wince/user/dialog_test_support.h"

namespace {

using namespace dialog_test;
using sim::play::DialogUser;

constexpr WORD kList = 10, kBox = 11;

TemplateBuilder SmallDialog() {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  TemplateBuilder t(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 120, 100, u"Dialog", 8, u"System");
  t.Item({kChild | BS_PUSHBUTTON, 70, 4, 44, 14, IDOK, kButton, u"OK"})
      .Item({kChild | CBS_DROPDOWNLIST | CBS_SORT, 4, 4, 60, 48, kList, kComboBox, u""})
      .Item({kChild | BS_AUTOCHECKBOX, 4, 80, 60, 10, kBox, kButton, u"Box"});
  return t;
}

// The middle of a control, in the dialog's window pixels (frame included).
POINT MiddleOf(HWND dialog, int id) {
  RECT window{}, control{};
  GetWindowRect(dialog, &window);
  GetWindowRect(GetDlgItem(dialog, id), &control);
  return POINT{(control.left + control.right) / 2 - window.left,
               (control.top + control.bottom) / 2 - window.top};
}

class PlayDialogUser : public DialogTest {
 protected:
  // Runs the dialog; each time it waits for the person, the next step acts.
  INT_PTR RunWith(std::vector<std::function<void(DialogUser&)>> steps) {
    size_t next = 0;
    std::optional<DialogUser> user;
    wince::host::SetIdleHandler([&] {
      if (!user) user.emplace(GetActiveWindow());
      if (next == steps.size()) return false;
      steps[next++](*user);
      return true;
    });
    const INT_PTR result = Run(SmallDialog());
    wince::host::SetIdleHandler(nullptr);
    EXPECT_EQ(next, steps.size()) << "the dialog ended before every step had run";
    return result;
  }
};

TEST_F(PlayDialogUser, TapsWorkTheControlsAndADroppedListChooses) {
  OnDialogMessage() = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                         INT_PTR& result) {
    if (message == WM_INITDIALOG) {
      for (const char16_t* item : {u"gamma", u"alpha", u"beta"})
        SendDlgItemMessageW(dialog, kList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      SendDlgItemMessageW(dialog, kList, CB_SETCURSEL, 0, 0);
      return false;
    }
    return EndOnButtons(dialog, message, wParam, lParam, result);
  };
  const auto tap = [](DialogUser& user, POINT at) {
    user.PenDown(at.x, at.y);
    user.PenUp(at.x, at.y);
  };
  int itemHeight = 0;
  RECT field{};
  const INT_PTR result = RunWith({
      [&](DialogUser& user) { tap(user, MiddleOf(user.dialog(), kBox)); },
      [&](DialogUser& user) {
        EXPECT_EQ(SendDlgItemMessageW(user.dialog(), kBox, BM_GETCHECK, 0, 0), BST_CHECKED);
        const sim::play::Pixels before = user.Picture();
        tap(user, MiddleOf(user.dialog(), kList));
        // The list drops under the field, "alpha" (chosen) highlighted.
        RECT window{};
        GetWindowRect(user.dialog(), &window);
        GetWindowRect(GetDlgItem(user.dialog(), kList), &field);
        OffsetRect(&field, -window.left, -window.top);
        itemHeight = static_cast<int>(
            SendDlgItemMessageW(user.dialog(), kList, CB_GETITEMHEIGHT, 0, 0));
        const sim::play::Pixels dropped = user.Picture();
        const int x = field.left + 1, y = field.bottom + 1 + itemHeight / 2;
        EXPECT_EQ(dropped.At(x, y), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(dropped.At(x, y + itemHeight), RGB(255, 255, 255));
        EXPECT_NE(dropped.rgb, before.rgb);
      },
      // "gamma", the third item.
      [&](DialogUser& user) {
        tap(user, POINT{field.left + 5, field.bottom + 1 + 5 * itemHeight / 2});
      },
      [&](DialogUser& user) {
        EXPECT_EQ(SendDlgItemMessageW(user.dialog(), kList, CB_GETCURSEL, 0, 0), 2);
        // Dropped again, a tap beside the list closes it and chooses nothing.
        tap(user, MiddleOf(user.dialog(), kList));
        tap(user, POINT{field.right + 2, field.bottom + 2});
      },
      [&](DialogUser& user) {
        EXPECT_EQ(SendDlgItemMessageW(user.dialog(), kList, CB_GETCURSEL, 0, 0), 2);
        tap(user, MiddleOf(user.dialog(), IDOK));
      },
  });
  EXPECT_EQ(result, IDOK);
  const auto commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), std::make_pair(int{kList}, CBN_SELCHANGE)),
            1);
}

}  // namespace
