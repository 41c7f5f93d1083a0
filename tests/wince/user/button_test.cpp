// Buttons: what a tap does to each kind (toggle, then BN_CLICKED), a tap
// that slides off or lands on a disabled button, BM_SETCHECK's range and
// silence, the pushed look, and the control kinds the host does not make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "window_test_support.h"

namespace {

using namespace window_test;

constexpr int kId = 12;

class ButtonTest : public WindowTest {
 protected:
  HWND Make(DWORD type, const char16_t* cls = u"Button") {
    parent_ = Child(screen_, 0, 0, 200, 100);
    HWND button = CreateWindowExW(0, cls, u"Box", WS_CHILD | WS_VISIBLE | type, 10, 10, 80, 20,
                                  parent_, reinterpret_cast<HMENU>(intptr_t{kId}), Instance(),
                                  nullptr);
    // Each BN_CLICKED the parent hears, with the check the box shows then.
    Custom() = [this](HWND hwnd, UINT m, WPARAM w, LPARAM l, LRESULT&) {
      if (hwnd == parent_ && m == WM_COMMAND && w == MAKEWPARAM(kId, BN_CLICKED))
        clicks_.push_back(SendMessageW(reinterpret_cast<HWND>(l), BM_GETCHECK, 0, 0));
      return false;
    };
    wince::host::PumpMessages();
    Log().clear();
    return button;
  }
  // Down in the middle of the button, then up at (x, y) of it.
  static void Tap(HWND button, int x = 40, int y = 10) {
    wince::host::PenDown(button, 40, 10);
    wince::host::PumpMessages();
    wince::host::PenMove(button, x, y);
    wince::host::PumpMessages();
    wince::host::PenUp(button, x, y);
    wince::host::PumpMessages();
  }
  HWND parent_ = nullptr;
  std::vector<LRESULT> clicks_;
};

TEST_F(ButtonTest, ATapTogglesAnAutomaticBoxBeforeTheParentHearsOfIt) {
  struct Case {
    DWORD type;
    std::vector<LRESULT> checksSeen;  // at each of three taps
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
      {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},  // the parent decides
      {BS_PUSHBUTTON, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    clicks_.clear();
    HWND button = Make(c.type);
    for (int i = 0; i < 3; ++i) Tap(button);
    EXPECT_EQ(clicks_, c.checksSeen) << c.type;
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(parent_);
  }
}

TEST_F(ButtonTest, ATapThatSlidesOffOrMeetsADisabledButtonDoesNothing) {
  HWND button = Make(BS_AUTOCHECKBOX);
  Tap(button, 150, 60);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);  // up again
  EnableWindow(button, FALSE);
  Tap(button);
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, BmSetCheckKeepsToTheKindsStatesAndNeverNotifies) {
  struct Case {
    DWORD type;
    WPARAM set;
    LRESULT check;
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, BST_INDETERMINATE, BST_CHECKED},  // two states only
      {BS_CHECKBOX, 7, BST_CHECKED},
      {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
      {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},  // no check at all
  };
  for (const Case& c : cases) {
    HWND button = Make(c.type);
    EXPECT_EQ(SendMessageW(button, BM_SETCHECK, c.set, 0), 0);
    EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), c.check) << c.type << " " << c.set;
    EXPECT_TRUE(Messages({WM_COMMAND}).empty());
    DestroyWindow(parent_);
  }
}

TEST_F(ButtonTest, APushButtonLooksSunkenWhileThePenIsDown) {
  HWND button = Make(BS_PUSHBUTTON);
  // The top-left pixel: the raised edge's highlight, the sunken edge's shadow.
  EXPECT_EQ(wince::host::WindowPixel(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(wince::host::WindowPixel(button, 3, 3), GetSysColor(COLOR_BTNFACE));
  wince::host::PenDown(button, 40, 10);
  wince::host::PumpMessages();
  EXPECT_EQ(wince::host::WindowPixel(button, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  wince::host::PenUp(button, 40, 10);
  wince::host::PumpMessages();
  EXPECT_EQ(wince::host::WindowPixel(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonTest, KindsTheHostDoesNotMakeFailLoudly) {
  struct Case {
    const char16_t* cls;
    DWORD style;
  };
  const Case cases[] = {{u"Button", BS_RADIOBUTTON}, {u"Button", BS_OWNERDRAW},
                        {u"ComboBox", CBS_DROPDOWN}, {u"ComboBox", CBS_SIMPLE},
                        {u"Static", SS_BITMAP}};
  for (const Case& c : cases) {
    ::testing::internal::CaptureStderr();
    SetLastError(0xdeadbeef);
    EXPECT_EQ(Make(c.style, c.cls), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_CALL_NOT_IMPLEMENTED});
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
  }
}

}  // namespace
