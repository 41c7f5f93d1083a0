// Labels: which string a key shows under Caps Lock, Shift and AltGr, how a
// label too wide is shortened, the lone "&", and where a pressed key's label
// goes. Expected pictures are drawn from keys that show the wanted text with
// no modifier latched, so the tests do not depend on the font's shapes.
#include <windows.h>

#include "input/shift_state.h"
#include "render/paint_keyboard.h"
#include "tests/render/render_fixture.h"

namespace render_test {
namespace {

using tapora::SS_ALTGR;
using tapora::SS_CAPS;
using tapora::SS_SHIFT;

constexpr COLORREF RED = RGB(255, 0, 0);

kbf::KeyRecord Key8(uint8_t type, std::string_view label, std::string_view shiftLabel,
                    uint16_t width = 30, uint16_t height = 20) {
  kbf::KeyRecord key = kbf::MakeKey(width, height, type, u"");
  key.SetLabel8(label);
  key.SetShiftLabel8(shiftLabel);
  key.SetColours(7, 12, 15, 8);  // red text, so label pixels are easy to find
  return key;
}

kbf::KeyRecord StateKey(uint8_t type, char16_t plain, char16_t shift, char16_t altGr,
                        char16_t altGrShift) {
  kbf::KeyRecord key = kbf::MakeKey(30, 20, type, u"");
  key.SetStateChar(kbf::KeyState::Plain, plain);
  key.SetStateChar(kbf::KeyState::Shift, shift);
  key.SetStateChar(kbf::KeyState::AltGr, altGr);
  key.SetStateChar(kbf::KeyState::AltGrShift, altGrShift);
  key.SetColours(7, 12, 15, 8);
  return key;
}

class KeyLabelTest : public RenderTest {};

TEST_F(KeyLabelTest, CapsLockActsLikeShiftOnlyOnCapsAffectedTypes) {
  const auto lower = DrawAlone(Key8(1, "a", ""));
  const auto upper = DrawAlone(Key8(1, "A", ""));
  ASSERT_NE(lower, upper);
  struct Case {
    WORD state;
    bool type33Upper;
    bool type1Upper;
  };
  const Case cases[] = {{0, false, false},
                        {SS_SHIFT, true, true},
                        {SS_CAPS, true, false},
                        {SS_CAPS | SS_SHIFT, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    EXPECT_EQ(DrawAlone(Key8(33, "a", "A"), c.state), c.type33Upper ? upper : lower);
    EXPECT_EQ(DrawAlone(Key8(1, "a", "A"), c.state), c.type1Upper ? upper : lower);
  }
}

TEST_F(KeyLabelTest, EmptySecondaryFallsBackToPrimary) {
  const auto plain = DrawAlone(Key8(1, "a", ""));
  EXPECT_EQ(DrawAlone(Key8(1, "a", ""), SS_SHIFT), plain);
  EXPECT_EQ(DrawAlone(Key8(33, "a", ""), SS_CAPS), plain);
  // A UTF-16 key with AltGr and Shift latched is no exception.
  kbf::KeyRecord tab = kbf::MakeKey(30, 20, 18, u"Tab");
  tab.SetColours(7, 12, 15, 8);
  EXPECT_EQ(DrawAlone(tab, SS_SHIFT | SS_ALTGR), DrawAlone(tab));
}

TEST_F(KeyLabelTest, PerStateCharactersFollowAltGrAndShift) {
  const kbf::KeyRecord key = StateKey(17, u'q', u'Q', u'@', 0);
  const auto blank = DrawAlone(Key8(1, "", ""));
  const auto q = DrawAlone(Key8(1, "q", ""));
  const auto Q = DrawAlone(Key8(1, "Q", ""));
  const auto at = DrawAlone(Key8(1, "@", ""));
  EXPECT_EQ(DrawAlone(key), q);
  EXPECT_EQ(DrawAlone(key, SS_SHIFT), Q);
  EXPECT_EQ(DrawAlone(key, SS_ALTGR), at);
  // AltGr with Shift has no character here: nothing is shown, not the AltGr one...
  EXPECT_EQ(DrawAlone(key, SS_ALTGR | SS_SHIFT), blank);
  // ...unless Caps Lock is on, when the usual fallback to the primary applies.
  EXPECT_EQ(DrawAlone(key, SS_CAPS | SS_ALTGR | SS_SHIFT), at);
  // Type 49 is caps-affected: Caps Lock alone shows the Shift character.
  EXPECT_EQ(DrawAlone(StateKey(49, u'q', u'Q', u'@', 0), SS_CAPS), Q);
  EXPECT_EQ(DrawAlone(StateKey(17, u'q', u'Q', u'@', 0), SS_CAPS), q);
}

TEST_F(KeyLabelTest, LabelTooWideLosesCharactersFromTheEnd) {
  Surface probe(10, 10);
  SIZE three = {0, 0};
  ASSERT_TRUE(GetTextExtentExPointW(probe.dc(), u"WWW", 3, 0, nullptr, nullptr, &three));
  const uint16_t fits = static_cast<uint16_t>(three.cx + 4);

  // Exactly the room for three: the fourth goes.
  EXPECT_EQ(DrawAlone(Key8(1, "WWWW", "", fits)), DrawAlone(Key8(1, "WWW", "", fits)));
  // One pixel less: two remain.
  EXPECT_EQ(DrawAlone(Key8(1, "WWWW", "", fits - 1)), DrawAlone(Key8(1, "WW", "", fits - 1)));
  // A text that fits is left whole.
  EXPECT_NE(DrawAlone(Key8(1, "WWW", "", fits)), DrawAlone(Key8(1, "WW", "", fits)));
}

TEST_F(KeyLabelTest, SingleCharacterIsNeverDropped) {
  // Narrower than the letter itself, with no room at all after the margin.
  Load(OneKey(Key8(1, "W", "", 4, 20), 40, 4));
  Surface s(100, 60);
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  EXPECT_FALSE(s.PixelsOf(RED).empty());
}

TEST_F(KeyLabelTest, LoneAmpersandShowsItself) {
  const auto blank = DrawAlone(Key8(1, "", ""));
  const auto amp = DrawAlone(Key8(1, "&", ""));
  ASSERT_NE(amp, blank);
  // The same key with an ampersand drawn through DrawTextW without prefixes.
  Load(OneKey(Key8(1, "", "")));
  Surface s(100, 60);
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  RECT r = {4, 4, 34, 24};
  SetTextColor(s.dc(), RED);
  SetBkMode(s.dc(), TRANSPARENT);
  DrawTextW(s.dc(), u"&", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(amp, s.Pixels());
}

TEST_F(KeyLabelTest, AmpersandBeforeALetterUnderlinesIt) {
  const auto x = DrawAlone(Key8(1, "x", ""));
  const auto underlined = DrawAlone(Key8(1, "&x", ""));
  // Same "x", plus one row of red below it: no "&" is shown.
  int firstRow = -1;
  size_t changed = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] == underlined[i]) continue;
    ++changed;
    const int row = static_cast<int>(i / 100);
    if (firstRow < 0) firstRow = row;
    EXPECT_EQ(row, firstRow) << "pixel " << i % 100 << ", " << row;
    EXPECT_EQ(underlined[i], RED);
  }
  EXPECT_GT(changed, 0u);
}

TEST_F(KeyLabelTest, PressedKeyMovesItsLabelButNotItsFace) {
  kbf::KeyRecord key = Key8(1, "H", "");
  Load(OneKey(key));
  Surface up(100, 60);
  tapora::DrawKeyboard(up.dc(), tapora::AllKeys, true);
  key.down = 1;
  Load(OneKey(key));
  Surface down(100, 60);
  tapora::DrawKeyboard(down.dc(), tapora::AllKeys, true);

  const auto upText = up.PixelsOf(RED);
  const auto downText = down.PixelsOf(RED);
  ASSERT_FALSE(upText.empty());
  ASSERT_EQ(upText.size(), downText.size());
  for (size_t i = 0; i < upText.size(); ++i) {
    EXPECT_EQ(downText[i].x, upText[i].x + 1);
    EXPECT_EQ(downText[i].y, upText[i].y + 1);
  }
  // The face covers the same rectangle either way.
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 100; ++x) {
      EXPECT_EQ(up.Pixel(x, y) == PAPER, down.Pixel(x, y) == PAPER) << x << ", " << y;
    }
  }
}

}  // namespace
}  // namespace render_test
