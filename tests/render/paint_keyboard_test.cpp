// The paint entry: the keyboard lands in the window's client area, at the
// window's place on the screen and clipped to it, with every key as its down
// byte stands (a paint does not re-evaluate latched modifiers).
#include <windows.h>

#include "input/shift_state.h"
#include "render/paint_keyboard.h"
#include "render/palette.h"
#include "tests/render/render_fixture.h"
#include "wince/host/windows.h"

namespace render_test {
namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

class PaintKeyboardTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    wince::host::ResetWindows();
    screen_ = wince::host::CreateScreen(120, 80);
    WNDCLASSW panelClass = {};
    panelClass.lpfnWndProc = DefWindowProcW;
    panelClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    panelClass.lpszClassName = u"PaintTestPanel";
    ASSERT_NE(RegisterClassW(&panelClass), 0);
    // A 62 by 30 child at (20, 10) of the screen.
    window_ = CreateWindowExW(0, u"PaintTestPanel", u"", WS_CHILD | WS_VISIBLE, 20, 10, 62, 30,
                              screen_, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    wince::host::PumpMessages();
  }
  void TearDown() override {
    wince::host::ResetWindows();
    RenderTest::TearDown();
  }

  HWND screen_ = nullptr;
  HWND window_ = nullptr;
};

kbf::KeyRecord Flat(uint16_t width, uint16_t height, uint8_t colour, const char16_t* output = u"") {
  kbf::KeyRecord key = kbf::MakeKey(width, height, 18, u"", output);
  key.SetColours(colour, 0, colour, colour);
  return key;
}

TEST_F(PaintKeyboardTest, DrawsIntoTheClientAreaClippedToIt) {
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 60;
  panel.record.height = 30;
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(20, 20, 12)), 5, 5});
  // Reaches past the window's right edge (client x 50 to 80 of 62).
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(30, 20, 9)), 50, 5});
  keyboard.panels.push_back(panel);
  Load(keyboard);

  tapora::PaintKeyboard(window_);

  EXPECT_EQ(wince::host::WindowPixel(window_, 10, 10), tapora::PaletteColour(12));
  EXPECT_EQ(wince::host::WindowPixel(window_, 61, 10), tapora::PaletteColour(9));
  // The same pixels seen on the screen, and nothing drawn past the child.
  EXPECT_EQ(wince::host::WindowPixel(screen_, 30, 20), tapora::PaletteColour(12));
  EXPECT_EQ(wince::host::WindowPixel(screen_, 82, 20), WHITE);
  EXPECT_EQ(wince::host::WindowPixel(window_, 2, 2), RGB(192, 192, 192));  // the class brush
}

TEST_F(PaintKeyboardTest, KeepsDownBytesEvenWhileAModifierIsLatched) {
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 60;
  panel.record.height = 30;
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(20, 20, 12, u"[Shift-Down]")), 5, 5});
  keyboard.panels.push_back(panel);
  Load(keyboard);
  tapora::ShiftState = tapora::SS_SHIFT;

  tapora::PaintKeyboard(window_);

  EXPECT_EQ(Down(0, 0), 0);
  tapora::ShiftState = 0;
}

}  // namespace
}  // namespace render_test
