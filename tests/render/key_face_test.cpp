// Key faces: the palette, the exact bevel rings of raised and sunken keys.
#include <windows.h>

#include "render/palette.h"
#include "render/paint_keyboard.h"
#include "tests/render/render_fixture.h"

namespace render_test {
namespace {

TEST(PaletteTest, SixteenColoursThenBlack) {
  const COLORREF expected[16] = {
      RGB(0, 0, 0),     RGB(0, 0, 128),     RGB(0, 128, 0),   RGB(0, 128, 128),
      RGB(128, 0, 0),   RGB(128, 0, 128),   RGB(128, 128, 0), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
      RGB(255, 0, 0),   RGB(255, 0, 255),   RGB(255, 255, 0), RGB(255, 255, 255)};
  for (UINT i = 0; i < 16; ++i) EXPECT_EQ(tapora::PaletteColour(i), expected[i]) << i;
  for (UINT i : {16u, 17u, 100u, 255u}) EXPECT_EQ(tapora::PaletteColour(i), RGB(0, 0, 0)) << i;
  // Only the low byte names the colour.
  EXPECT_EQ(tapora::PaletteColour(0x107), RGB(192, 192, 192));
  EXPECT_EQ(tapora::PaletteColour(0x210), RGB(0, 0, 0));
}

// What the bevel puts at (x, y) of the key rectangle r: two rings, the
// top-left runs in tl and the bottom-right runs in br, the face inside.
COLORREF ExpectedBevel(LONG x, LONG y, const RECT& r, COLORREF face, COLORREF tl, COLORREF br) {
  const LONG l = r.left, t = r.top, R = r.right, b = r.bottom;
  if (y == t && x >= l && x <= R - 1) return tl;
  if (x == l && y >= t && y <= b - 1) return tl;
  if (y == b - 1 && x >= l + 1 && x <= R - 1) return br;
  if (x == R - 1 && y >= t + 1 && y <= b - 1) return br;
  if (y == t + 1 && x >= l + 1 && x <= R - 2) return tl;
  if (x == l + 1 && y >= t + 1 && y <= b - 2) return tl;
  if (y == b - 2 && x >= l + 2 && x <= R - 2) return br;
  if (x == R - 2 && y >= t + 2 && y <= b - 2) return br;
  return face;
}

class KeyFaceTest : public RenderTest {
 protected:
  // Draws a 20 x 12 key at (4, 4) and compares every pixel of the surface.
  void ExpectBevel(BYTE face, BYTE light, BYTE shadow, BYTE down, COLORREF tl, COLORREF br) {
    kbf::KeyRecord key = kbf::MakeKey(20, 12, 1, u"");
    key.SetColours(face, 0, light, shadow);
    key.down = down;
    Load(OneKey(key));
    Surface s(30, 20);
    tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
    const RECT r = {4, 4, 24, 16};
    int wrong = 0;
    for (LONG y = 0; y < s.height(); ++y) {
      for (LONG x = 0; x < s.width(); ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        const COLORREF want =
            inside ? ExpectedBevel(x, y, r, tapora::PaletteColour(face), tl, br) : PAPER;
        if (s.Pixel(x, y) != want && wrong++ < 8) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << s.Pixel(x, y)
                        << ", expected " << want;
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(KeyFaceTest, RaisedKeyLightsTopLeftAndShadesBottomRight) {
  ExpectBevel(7, 15, 8, 0, RGB(255, 255, 255), RGB(128, 128, 128));
}

TEST_F(KeyFaceTest, SunkenKeyIsBlackTopLeftAndLightBottomRight) {
  ExpectBevel(7, 15, 8, 1, RGB(0, 0, 0), RGB(255, 255, 255));
}

TEST_F(KeyFaceTest, AllSilverKeyIsFlatUpAndGetsABlackRingDown) {
  const COLORREF silver = RGB(192, 192, 192);
  ExpectBevel(7, 7, 7, 0, silver, silver);
  ExpectBevel(7, 7, 7, 1, RGB(0, 0, 0), silver);
}

TEST_F(KeyFaceTest, ColourIndexesOutsideThePaletteDrawBlack) {
  ExpectBevel(16, 200, 255, 0, RGB(0, 0, 0), RGB(0, 0, 0));

  // The label as well: a white key with text colour 99.
  kbf::KeyRecord key = kbf::MakeKey(30, 20, 1, u"H");
  key.SetColours(15, 99, 15, 15);
  Load(OneKey(key));
  Surface s(40, 30);
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  const RECT text = BoundsOf(s, RGB(0, 0, 0));
  EXPECT_GT(text.right - text.left, 2);
  EXPECT_GT(text.bottom - text.top, 4);
  EXPECT_EQ(s.PixelsOf(RGB(0, 0, 0)).size() + s.PixelsOf(RGB(255, 255, 255)).size() +
                s.PixelsOf(PAPER).size(),
            static_cast<size_t>(40 * 30));
}

}  // namespace
}  // namespace render_test
