// Glyph labels: the five shapes at their exact integer coordinates, black
// whatever the text colour, and names that match none of them.
#include <windows.h>

#include <string>

#include "render/paint_keyboard.h"
#include "tests/render/render_fixture.h"

namespace render_test {
namespace {

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF RED = RGB(255, 0, 0);

class KeyGlyphTest : public RenderTest {
 protected:
  // A key with a red label drawn up at (4, 4) on a 60 x 50 surface; its bevel
  // has no black, so every black pixel belongs to the glyph.
  void Draw(std::u16string label, uint16_t width = 40, uint16_t height = 30, uint8_t down = 0) {
    kbf::KeyRecord key = kbf::MakeKey(width, height, 18, u"");
    key.SetLabel(label);  // UTF-16 type: room for the prefix and two letters
    key.SetColours(7, 12, 15, 8);
    key.down = down;
    Load(OneKey(key));
    tapora::DrawKeyboard(surface_.dc(), tapora::AllKeys, true);
  }
  // Black pixels of row y, as [first, last + 1); {0, 0} when none.
  std::pair<LONG, LONG> Row(LONG y) const {
    LONG first = -1, last = -1;
    for (LONG x = 0; x < surface_.width(); ++x) {
      if (surface_.Pixel(x, y) != BLACK) continue;
      if (first < 0) first = x;
      last = x;
    }
    return first < 0 ? std::pair<LONG, LONG>{0, 0} : std::pair<LONG, LONG>{first, last + 1};
  }
  Surface surface_{60, 50};
};

void ExpectRect(const RECT& got, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(got.left, left);
  EXPECT_EQ(got.top, top);
  EXPECT_EQ(got.right, right);
  EXPECT_EQ(got.bottom, bottom);
}

// Key (4, 4)-(44, 34): inner box L 12, T 11, R 36, B 27, so W 24 and H 16;
// cx 24, cy 19; shaft 1, head 4, depth 5.
TEST_F(KeyGlyphTest, UpArrowOnA40By30Key) {
  Draw(u"{NQXU");
  ExpectRect(BoundsOf(surface_, BLACK), 20, 11, 29, 28);
  EXPECT_EQ(Row(11), std::make_pair(24, 25));  // the tip, at (cx, top + 7)
  EXPECT_EQ(Row(16), std::make_pair(20, 29));  // the head's base, cx - 4 to cx + 4
  EXPECT_EQ(Row(20), std::make_pair(23, 26));  // the shaft, cx - 1 to cx + 1...
  EXPECT_EQ(Row(27), std::make_pair(23, 26));  // ...down to bottom - 7
  EXPECT_TRUE(surface_.PixelsOf(RED).empty());
}

TEST_F(KeyGlyphTest, DownLeftAndRightArrows) {
  Draw(u"{NQXD");
  ExpectRect(BoundsOf(surface_, BLACK), 20, 11, 29, 28);
  EXPECT_EQ(Row(27), std::make_pair(24, 25));
  EXPECT_EQ(Row(22), std::make_pair(20, 29));
  EXPECT_EQ(Row(11), std::make_pair(23, 26));

  surface_.Fill(PAPER);
  Draw(u"{NQXL");
  ExpectRect(BoundsOf(surface_, BLACK), 12, 15, 37, 24);
  EXPECT_EQ(Row(19).first, 12);  // the tip at (L, cy)
  EXPECT_EQ(Row(19).second, 37);
  EXPECT_EQ(Row(18), std::make_pair(13, 37));  // shaft from the head to R
  EXPECT_EQ(Row(15), std::make_pair(17, 18));  // head corners at L + depth
  EXPECT_EQ(Row(23), std::make_pair(17, 18));

  surface_.Fill(PAPER);
  Draw(u"{NQXR");
  ExpectRect(BoundsOf(surface_, BLACK), 12, 15, 37, 24);
  EXPECT_EQ(Row(19), std::make_pair(12, 37));
  EXPECT_EQ(Row(15), std::make_pair(31, 32));  // R - depth
}

TEST_F(KeyGlyphTest, BarSitsBelowTheInnerBox) {
  // head + head / 2 = 6: rows B + 2 and B + 3, from cx - 7 to cx + 5.
  Draw(u"{NQXM}");
  ExpectRect(BoundsOf(surface_, BLACK), 17, 29, 30, 31);
  EXPECT_EQ(Row(29), std::make_pair(17, 30));
  EXPECT_EQ(Row(30), std::make_pair(17, 30));
}

TEST_F(KeyGlyphTest, SizesAreTruncatedWithMinimums) {
  // Key 24 x 20: W 8, H 6, so head and depth take their minimum of 2.
  Draw(u"{NQXU", 24, 20);
  ExpectRect(BoundsOf(surface_, BLACK), 14, 11, 19, 18);
  EXPECT_EQ(Row(13), std::make_pair(14, 19));
  // H 30: depth is 30 x 0.33 = 9, not a third.
  surface_.Fill(PAPER);
  Draw(u"{NQXU", 40, 44);
  EXPECT_EQ(Row(20), std::make_pair(20, 29));  // the head's base at T + 9
  EXPECT_EQ(Row(21), std::make_pair(23, 26));  // the shaft below it
  // An inner box turned inside out still draws without failing.
  surface_.Fill(PAPER);
  Draw(u"{NQXL", 10, 8);
  surface_.Fill(PAPER);
  Draw(u"{NQXM}", 6, 6);
}

TEST_F(KeyGlyphTest, NamesThatMatchNoGlyphDrawNothing) {
  for (const char16_t* label : {u"{NQXU}", u"{NQXu", u"{NQX", u"{NQXM", u"{NQXUU", u"{NQXR "}) {
    SCOPED_TRACE(std::string(label, label + std::char_traits<char16_t>::length(label)));
    surface_.Fill(PAPER);
    Draw(label);
    EXPECT_TRUE(surface_.PixelsOf(BLACK).empty());
    EXPECT_TRUE(surface_.PixelsOf(RED).empty());  // and no text either
  }
  // Short of the whole prefix, it is text.
  Draw(u"{NQ");
  EXPECT_FALSE(surface_.PixelsOf(RED).empty());
}

TEST_F(KeyGlyphTest, PressedKeyMovesItsGlyph) {
  Draw(u"{NQXU", 40, 30, 1);
  // The sunken bevel's black ring is on the key's edge; the arrow is inside it.
  Surface& s = surface_;
  RECT inside = {0, 0, 0, 0};
  bool any = false;
  for (LONG y = 6; y < 32; ++y) {
    for (LONG x = 6; x < 42; ++x) {
      if (s.Pixel(x, y) != BLACK) continue;
      if (!any) inside = {x, y, x + 1, y + 1};
      any = true;
      inside.left = std::min(inside.left, x);
      inside.right = std::max(inside.right, x + 1);
      inside.top = std::min(inside.top, y);
      inside.bottom = std::max(inside.bottom, y + 1);
    }
  }
  ExpectRect(inside, 21, 12, 30, 29);
}

}  // namespace
}  // namespace render_test
