// Walking the keyboard: drawing order and overlaps, single-key redraws, the
// PressedKeysOnly mode and the re-evaluation of latched modifier keys.
#include <windows.h>

#include <vector>

#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "render/paint_keyboard.h"
#include "tests/render/render_fixture.h"

namespace render_test {
namespace {

using tapora::AllKeys;
using tapora::PressedKeysOnly;

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// A flat key: face and both edges in one colour, no label.
kbf::KeyRecord Flat(uint16_t width, uint16_t height, uint8_t colour, uint8_t down = 0) {
  kbf::KeyRecord key = kbf::MakeKey(width, height, 1, u"");
  key.SetColours(colour, 0, colour, colour);
  key.down = down;
  return key;
}

bool AllPaper(const Surface& s) { return s.PixelsOf(PAPER).size() == size_t(s.width()) * s.height(); }

class DrawKeyboardTest : public RenderTest {};

TEST_F(DrawKeyboardTest, NothingLoadedDrawsNothing) {
  Surface s(40, 30);
  tapora::DrawKeyboard(s.dc(), AllKeys, false);
  tapora::DrawPanelKeys(s.dc(), 0, nullptr, AllKeys, false);
  tapora::DrawKey(s.dc(), 0, 0, 0, AllKeys, false);
  EXPECT_TRUE(AllPaper(s));
}

TEST_F(DrawKeyboardTest, LaterKeysCoverEarlierOnesAndASingleRedrawComesOnTop) {
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 60;
  panel.record.height = 30;
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(30, 20, 12)), 0, 0});  // red
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(30, 20, 9)), 20, 0});  // blue
  keyboard.panels.push_back(panel);
  kbf::Panel second;  // placed at left 50, top 30
  second.record.left = 50;
  second.record.top = 30;
  second.record.width = 20;
  second.record.height = 20;
  second.placements.push_back({kbf::AddKey(keyboard, Flat(10, 10, 10)), 5, 5});  // lime
  keyboard.panels.push_back(second);
  Load(keyboard);

  Surface s(80, 60);
  tapora::DrawKeyboard(s.dc(), AllKeys, true);
  EXPECT_EQ(s.Pixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(s.Pixel(25, 10), RGB(0, 0, 255));
  EXPECT_EQ(s.Pixel(55, 35), RGB(0, 255, 0));
  EXPECT_EQ(s.Pixel(54, 35), PAPER);
  EXPECT_EQ(s.Pixel(65, 45), PAPER);

  const tapora::KeyRef first = {0, 0};
  tapora::DrawPanelKeys(s.dc(), 0, &first, AllKeys, true);
  EXPECT_EQ(s.Pixel(25, 10), RGB(255, 0, 0));
  EXPECT_EQ(s.Pixel(35, 10), RGB(0, 0, 255));  // only the first key was drawn

  // Panel 1 alone, and panels that do not exist.
  s.Fill(PAPER);
  tapora::DrawPanelKeys(s.dc(), 1, nullptr, AllKeys, true);
  EXPECT_EQ(s.Pixel(55, 35), RGB(0, 255, 0));
  EXPECT_EQ(s.Pixel(10, 10), PAPER);
  s.Fill(PAPER);
  tapora::DrawPanelKeys(s.dc(), 2, nullptr, AllKeys, true);
  tapora::DrawPanelKeys(s.dc(), -1, nullptr, AllKeys, true);
  const tapora::KeyRef missing = {0, 7};
  tapora::DrawPanelKeys(s.dc(), 0, &missing, AllKeys, true);
  EXPECT_TRUE(AllPaper(s));
}

TEST_F(DrawKeyboardTest, PressedKeysOnlyDrawsAndClearsTheKeysThatAreDown) {
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 60;
  panel.record.height = 20;
  kbf::KeyRecord pressed = Flat(20, 10, 7, 1);
  pressed.SetColours(7, 0, 15, 8);
  panel.placements.push_back({kbf::AddKey(keyboard, pressed), 0, 0});
  panel.placements.push_back({kbf::AddKey(keyboard, Flat(20, 10, 12)), 30, 0});
  keyboard.panels.push_back(panel);
  Load(keyboard);

  Surface s(60, 20);
  tapora::DrawKeyboard(s.dc(), PressedKeysOnly, false);
  EXPECT_EQ(Down(0, 0), 0);
  EXPECT_EQ(s.Pixel(0, 0), WHITE);  // drawn up: its byte was cleared first
  EXPECT_EQ(s.Pixel(35, 5), PAPER);  // the key that was up is left alone
  EXPECT_EQ(Down(0, 1), 0);

  s.Fill(PAPER);
  tapora::DrawKeyboard(s.dc(), PressedKeysOnly, false);
  EXPECT_TRUE(AllPaper(s));
}

// One key of each modifier kind on a latch-evaluated type, and keys that look
// like modifiers but are not re-evaluated.
struct LatchKey {
  uint8_t type;
  const char16_t* output;
  WORD bit;  // the state bit that shows it down; 0 = never re-evaluated
};
const LatchKey LATCH_KEYS[] = {
    {18, u"[Shift-Down]", tapora::SS_SHIFT}, {17, u"[Caps]", tapora::SS_CAPS},
    {50, u"[AltGr-Down]", tapora::SS_ALTGR}, {53, u"[Alt-Down]", tapora::SS_ALT},
    {21, u"[Ctrl-Down]", tapora::SS_CTRL},   {19, u"[Shift-Down]", tapora::SS_SHIFT},
    {49, u"[Caps]", tapora::SS_CAPS},        {1, u"[Shift-Down]", 0},
    {33, u"[Caps]", 0},                      {18, u"[Shift-Down]x", 0},
    {18, u"[shift-down]", 0},
};

class LatchTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    kbf::Keyboard keyboard;
    kbf::Panel panel;
    panel.record.width = 240;
    panel.record.height = 20;
    uint16_t x = 0;
    for (const LatchKey& k : LATCH_KEYS) {
      kbf::KeyRecord key = kbf::MakeKey(20, 10, k.type, u"", k.output);
      panel.placements.push_back({kbf::AddKey(keyboard, key), x, 0});
      x += 20;
    }
    keyboard.panels.push_back(panel);
    Load(keyboard);
  }
  static constexpr DWORD COUNT = sizeof(LATCH_KEYS) / sizeof(LATCH_KEYS[0]);
};

TEST_F(LatchTest, ModifierKeysFollowShiftStateOnlyWhenNotKeepingTheirState) {
  Surface s(240, 20);
  for (WORD bit : {tapora::SS_SHIFT, tapora::SS_CAPS, tapora::SS_ALTGR, tapora::SS_ALT,
                   tapora::SS_CTRL}) {
    SCOPED_TRACE(bit);
    tapora::ShiftState = bit;
    std::vector<BYTE> before;
    for (DWORD k = 0; k < COUNT; ++k) before.push_back(Down(0, k));
    tapora::DrawKeyboard(s.dc(), AllKeys, true);  // a paint keeps what the bytes say
    for (DWORD k = 0; k < COUNT; ++k) EXPECT_EQ(Down(0, k), before[k]) << "key " << k;

    tapora::DrawKeyboard(s.dc(), AllKeys, false);
    for (DWORD k = 0; k < COUNT; ++k) {
      const bool latched = LATCH_KEYS[k].bit == bit;
      EXPECT_EQ(Down(0, k), latched ? 1 : 0) << "key " << k;
      // Sunken keys start with a black ring.
      EXPECT_EQ(s.Pixel(20 * k, 0) == BLACK, latched) << "key " << k;
    }
  }

  // With the modifier released, what tap handling left in the bytes is
  // overruled for the modifier keys and kept for the others.
  tapora::ShiftState = 0;
  for (DWORD k = 0; k < COUNT; ++k) tapora::SetKeyDown(KeyHandle(0, k), 1);
  tapora::DrawKeyboard(s.dc(), AllKeys, false);
  for (DWORD k = 0; k < COUNT; ++k)
    EXPECT_EQ(Down(0, k), LATCH_KEYS[k].bit != 0 ? 0 : 1) << "key " << k;
}

TEST_F(LatchTest, PressedKeysOnlyStillShowsALatchedModifierDown) {
  tapora::ShiftState = tapora::SS_SHIFT;
  tapora::SetKeyDown(KeyHandle(0, 0), 1);
  Surface s(240, 20);
  tapora::DrawKeyboard(s.dc(), PressedKeysOnly, false);
  EXPECT_EQ(Down(0, 0), 1);
  EXPECT_EQ(s.Pixel(0, 0), BLACK);
  EXPECT_EQ(s.Pixel(20 * 5, 0), PAPER);  // the other Shift key was not down: not drawn
  EXPECT_EQ(Down(0, 5), 0);
}

}  // namespace
}  // namespace render_test
