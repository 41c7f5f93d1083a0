// The input panel window: its class and creation, the repeat timer that every
// message re-arms, and the dispatch of paint and pen messages.
#include "im/panel_window.h"

#include "im/input_method_state.h"
#include "input/tap_handling.h"
#include "language/keyboard_selection.h"
#include "layout/records.h"
#include "render/palette.h"
#include "tests/input/scenario_driver.h"
#include "wince/host/windows.h"

namespace input_test {
namespace {

class PanelWindow : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    TestKeyboard keyboard;
    kbf::KeyRecord key = LabelKey(TYPE_LABEL, "a");
    key.SetColours(12, 0, 12, 12);
    keyboard.Add("a", key).Add("b", LabelKey(TYPE_LABEL, "b"));
    Load(keyboard);
  }
};

TEST_F(PanelWindow, IsAVisibleChildOfTheSipWindowAtItsStartPlace) {
  WNDCLASSW info{};
  ASSERT_TRUE(GetClassInfoW(tapora::InputMethodState.moduleInstance, tapora::PANEL_WINDOW_CLASS,
                            &info));
  EXPECT_EQ(info.style, 0u);
  EXPECT_EQ(info.lpfnWndProc, &tapora::PanelWindowProc);
  EXPECT_EQ(info.cbClsExtra, 0);
  EXPECT_EQ(info.cbWndExtra, 0);
  EXPECT_EQ(info.hbrBackground, GetStockObject(LTGRAY_BRUSH));
  EXPECT_EQ(info.hIcon, nullptr);
  EXPECT_EQ(info.hCursor, nullptr);

  EXPECT_EQ(tapora::InputMethodState.panelWindow, panel_);
  EXPECT_EQ(GetParent(panel_), sipWindow_);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(panel_, GWL_STYLE)), DWORD{WS_CHILD | WS_VISIBLE});
  RECT rect{};
  GetWindowRect(panel_, &rect);
  EXPECT_EQ(rect.left, tapora::PANEL_WINDOW_X);
  EXPECT_EQ(rect.top, tapora::PANEL_WINDOW_Y);
  EXPECT_EQ(rect.right - rect.left, tapora::KeyboardSelection.windowWidth);
  EXPECT_EQ(rect.bottom - rect.top, tapora::KeyboardSelection.windowHeight);
  EXPECT_EQ(GetWindowTextLengthW(panel_), 0);
}

TEST_F(PanelWindow, EveryMessageRestartsTheRepeatCountdown) {
  tapora::TypematicEnabled = 1;
  Run("down:a");  // arms the timer: a tick is due in 100 ms
  Wait(50);
  SendMessageW(panel_, WM_USER, 0, 0);  // now due 100 ms after this message
  Wait(90);
  EXPECT_EQ(tapora::RepeatTicks, 0);
  Wait(10);
  EXPECT_EQ(tapora::RepeatTicks, 1);
  Wait(100);  // the tick itself re-armed the timer
  EXPECT_EQ(tapora::RepeatTicks, 2);
  Run("up:a");
}

TEST_F(PanelWindow, PaintDrawsTheKeyboardAndPenMessagesGoToTapHandling) {
  // A paint draws the keyboard over the class brush.
  InvalidateRect(panel_, nullptr, TRUE);
  UpdateWindow(panel_);
  const POINT a = Middle("a");
  // Beside the label, inside the bevel.
  EXPECT_EQ(wince::host::WindowPixel(panel_, a.x - 6, a.y + 6), tapora::PaletteColour(12));

  // Moves and double-clicks are accepted and change nothing.
  const LPARAM at = MAKELPARAM(a.x, a.y);
  EXPECT_EQ(SendMessageW(panel_, WM_MOUSEMOVE, MK_LBUTTON, at), 0);
  EXPECT_EQ(SendMessageW(panel_, WM_LBUTTONDBLCLK, MK_LBUTTON, at), 0);
  EXPECT_EQ(tapora::PenDown, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Record("a")[tapora::KEY_DOWN], 0);
  EXPECT_TRUE(callback_.calls.empty());

  // Pen-down and pen-up make a tap.
  EXPECT_EQ(SendMessageW(panel_, WM_LBUTTONDOWN, MK_LBUTTON, at), 0);
  EXPECT_EQ(GetCapture(), panel_);
  EXPECT_EQ(SendMessageW(panel_, WM_LBUTTONUP, 0, at), 0);
  EXPECT_EQ(callback_.calls, Lines({"char 'a' flags 0x80"}));
}

}  // namespace
}  // namespace input_test
