// Conformance of text: the system font's metrics, extents and fit counts,
// ExtTextOutW's background modes, and DrawTextW's placement, prefixes,
// clipping and line breaking. Placement is checked against the same text
// drawn at the expected place, never against a stored image of the font.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"

namespace {

using gdi_test::Canvas;
using gdi_test::PixelSet;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kInk = RGB(0, 0, 0);

SIZE Extent(HDC dc, const std::u16string& text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), 0, nullptr,
                                    nullptr, &size));
  return size;
}

PixelSet DrawnText(Canvas& canvas, const std::u16string& text, RECT rect, UINT format) {
  canvas.Fill(kWhite);
  SetBkMode(canvas.dc(), TRANSPARENT);
  DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &rect, format);
  return canvas.PixelsNot(kWhite);
}

PixelSet TextAt(Canvas& canvas, const std::u16string& text, int x, int y) {
  canvas.Fill(kWhite);
  SetBkMode(canvas.dc(), TRANSPARENT);
  ExtTextOutW(canvas.dc(), x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  return canvas.PixelsNot(kWhite);
}

const UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

TEST(GdiFont, SystemFontMetrics) {
  Canvas canvas(4, 4);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
  // DejaVu Sans at 11 pixels to the em: a 13-pixel cell.
  EXPECT_EQ(tm.tmHeight, 13);
  EXPECT_EQ(tm.tmAscent, 10);
  EXPECT_EQ(tm.tmDescent, 3);
  EXPECT_EQ(tm.tmInternalLeading, 2);
  EXPECT_EQ(tm.tmExternalLeading, 0);
  EXPECT_GT(tm.tmAveCharWidth, 4);
  EXPECT_LT(tm.tmAveCharWidth, 9);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, -11);
}

TEST(GdiFont, CreatedFontsTakeTheirHeightAndWeight) {
  Canvas canvas(4, 4);
  LOGFONTW lf{};
  lf.lfHeight = 20;  // a cell height
  HFONT cell = CreateFontIndirectW(&lf);
  lf.lfHeight = -20;  // an em size
  HFONT em = CreateFontIndirectW(&lf);
  lf.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirectW(&lf);
  ASSERT_TRUE(cell && em && bold);
  TEXTMETRICW tm{};
  HGDIOBJ old = SelectObject(canvas.dc(), cell);
  EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
  GetTextMetricsW(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmHeight, 20);
  SelectObject(canvas.dc(), em);
  GetTextMetricsW(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
  LONG regular = Extent(canvas.dc(), u"Wide words").cx;
  SelectObject(canvas.dc(), bold);
  GetTextMetricsW(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_GT(Extent(canvas.dc(), u"Wide words").cx, regular);
  EXPECT_FALSE(DeleteObject(bold));  // selected
  SelectObject(canvas.dc(), old);
  EXPECT_TRUE(DeleteObject(cell));
  EXPECT_TRUE(DeleteObject(em));
  EXPECT_TRUE(DeleteObject(bold));
  lf.lfItalic = TRUE;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateFontIndirectW(&lf), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
}

TEST(GdiTextExtent, ExtentsAddUpAndFitCountsEqualWidths) {
  Canvas canvas(4, 4);
  const std::u16string text = u"Keys";
  LONG one = Extent(canvas.dc(), u"K").cx;
  LONG two = Extent(canvas.dc(), u"Ke").cx;
  SIZE all = Extent(canvas.dc(), text);
  EXPECT_EQ(all.cy, 13);
  EXPECT_EQ(all.cx, two + Extent(canvas.dc(), u"ys").cx);  // no kerning

  int fit = -1;
  int dx[4] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), text.c_str(), 4, two, &fit, dx, &size));
  EXPECT_EQ(fit, 2);  // exactly as wide as the maximum still fits
  EXPECT_EQ(dx[0], one);
  EXPECT_EQ(dx[1], two);
  EXPECT_EQ(dx[3], all.cx);
  EXPECT_EQ(size.cx, all.cx);  // the size covers the whole string regardless
  GetTextExtentExPointW(canvas.dc(), text.c_str(), 4, two - 1, &fit, nullptr, &size);
  EXPECT_EQ(fit, 1);
  GetTextExtentExPointW(canvas.dc(), text.c_str(), 4, -5, &fit, nullptr, &size);
  EXPECT_EQ(fit, 0);

  SIZE empty{};
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), u"", 0, 0, nullptr, nullptr, &empty));
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, 13);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(GetTextExtentExPointW(canvas.dc(), text.c_str(), -1, 0, nullptr, nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GdiTextExtent, ASurrogatePairAdvancesOnce) {
  Canvas canvas(4, 4);
  const char16_t pair[] = {0xD83D, 0xDE00, u'a', 0};  // U+1F600 then 'a'
  int dx[3] = {};
  int fit = 0;
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), pair, 3, 1000, &fit, dx, &size));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(dx[0], dx[1]);  // the second unit adds nothing
  EXPECT_EQ(dx[2] - dx[1], Extent(canvas.dc(), u"a").cx);
}

TEST(GdiExtTextOut, GlyphPixelsAreExactlyTheTextColour) {
  Canvas canvas(60, 20);
  SetTextColor(canvas.dc(), RGB(200, 30, 40));
  PixelSet inked = TextAt(canvas, u"Hg&Wq", 2, 2);
  ASSERT_FALSE(inked.empty());
  EXPECT_EQ(inked, canvas.PixelsOf(RGB(200, 30, 40)));
  // Ink stays inside the cell: from the top down to the descent.
  RECT box = gdi_test::Bounds(inked);
  EXPECT_GE(box.top, 2);
  EXPECT_LE(box.bottom, 2 + 13);
  EXPECT_GE(box.left, 2);
  EXPECT_LE(box.right, 2 + Extent(canvas.dc(), u"Hg&Wq").cx);
  // 'g' and 'q' reach below the baseline (row 2 + ascent), 'H' ends on it.
  EXPECT_GT(box.bottom, 2 + 10);
}

TEST(GdiExtTextOut, OpaqueModeFillsTheCellWithTheBackground) {
  Canvas canvas(60, 30);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  ASSERT_EQ(GetBkMode(canvas.dc()), OPAQUE);
  ExtTextOutW(canvas.dc(), 5, 7, 0, nullptr, u"Hi", 2, nullptr);
  SIZE size = Extent(canvas.dc(), u"Hi");
  PixelSet cell = gdi_test::Box(5, 7, 5 + size.cx, 7 + size.cy);
  EXPECT_EQ(canvas.PixelsNot(kWhite), cell);
  EXPECT_FALSE(canvas.PixelsOf(RGB(0, 0, 255)).empty());
  EXPECT_FALSE(canvas.PixelsOf(RGB(255, 0, 0)).empty());
  // ETO_OPAQUE fills the given rectangle instead; ETO_CLIPPED cuts to it.
  canvas.Fill(kWhite);
  RECT r{0, 0, 9, 30};
  ExtTextOutW(canvas.dc(), 5, 7, ETO_OPAQUE | ETO_CLIPPED, &r, u"Hi", 2, nullptr);
  EXPECT_EQ(canvas.PixelsNot(kWhite), gdi_test::Box(0, 0, 9, 30));
}

TEST(GdiDrawText, CentresWithIntegerDivisions) {
  Canvas canvas(80, 40);
  const RECT rects[] = {{0, 0, 80, 40}, {3, 5, 60, 30}, {10, 10, 21, 24}, {0, 0, 7, 3}};
  for (const RECT& r : rects) {
    for (const std::u16string text : {u"W", u"Key", u"ab"}) {
      SIZE size = Extent(canvas.dc(), text);
      int x = (r.left + r.right - size.cx) / 2;
      int y = r.top + (r.bottom - r.top) / 2 - size.cy / 2;
      PixelSet expected;
      for (auto p : TextAt(canvas, text, x, y))  // DrawTextW clips to its rectangle
        if (p.first >= r.left && p.first < r.right && p.second >= r.top && p.second < r.bottom)
          expected.insert(p);
      EXPECT_EQ(DrawnText(canvas, text, r, kCentred), expected)
          << "rect " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
  }
}

TEST(GdiDrawText, OtherPlacements) {
  Canvas canvas(80, 40);
  RECT r{4, 6, 70, 36};
  SIZE size = Extent(canvas.dc(), u"Ab");
  EXPECT_EQ(DrawnText(canvas, u"Ab", r, DT_SINGLELINE), TextAt(canvas, u"Ab", 4, 6));
  EXPECT_EQ(DrawnText(canvas, u"Ab", r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE),
            TextAt(canvas, u"Ab", 70 - size.cx, 36 - size.cy));
}

TEST(GdiDrawText, AnAmpersandUnderlinesTheNextCharacter) {
  Canvas canvas(60, 30);
  RECT r{0, 0, 60, 30};
  PixelSet plain = DrawnText(canvas, u"x", r, kCentred);
  PixelSet prefixed = DrawnText(canvas, u"&x", r, kCentred);
  SIZE size = Extent(canvas.dc(), u"x");
  int x = (60 - size.cx) / 2;
  int y = 15 - 13 / 2;
  // The underline: one row at top + ascent + 1, in the text colour, from the
  // character's left edge to one pixel short of its advance.
  PixelSet underline;
  for (int i = x; i < x + size.cx - 1; ++i) underline.insert({i, y + 10 + 1});
  PixelSet expected = plain;
  expected.insert(underline.begin(), underline.end());
  EXPECT_EQ(prefixed, expected);
  EXPECT_EQ(canvas.PixelsOf(kInk), prefixed);
  // Only the first prefix of a line underlines.
  PixelSet two = DrawnText(canvas, u"&a&b", r, kCentred);
  PixelSet one = DrawnText(canvas, u"&ab", r, kCentred);
  EXPECT_EQ(two, one);
}

TEST(GdiDrawText, DoubledAndTrailingAmpersandsShowOne) {
  Canvas canvas(60, 30);
  RECT r{0, 0, 60, 30};
  UINT raw = kCentred | DT_NOPREFIX;
  EXPECT_EQ(DrawnText(canvas, u"&&", r, kCentred), DrawnText(canvas, u"&", r, raw));
  EXPECT_EQ(DrawnText(canvas, u"a&&b", r, kCentred), DrawnText(canvas, u"a&b", r, raw));
  EXPECT_EQ(DrawnText(canvas, u"x&", r, kCentred), DrawnText(canvas, u"x&", r, raw));
  EXPECT_EQ(DrawnText(canvas, u"&", r, kCentred), DrawnText(canvas, u"&", r, raw));
  // DT_NOPREFIX shows the ampersand itself and underlines nothing.
  EXPECT_NE(DrawnText(canvas, u"&x", r, raw), DrawnText(canvas, u"x", r, kCentred));
}

TEST(GdiDrawText, ClipsToTheRectangleUnlessAskedNotTo) {
  Canvas canvas(60, 30);
  RECT narrow{20, 8, 26, 22};
  PixelSet clipped = DrawnText(canvas, u"W", narrow, kCentred);
  RECT box = gdi_test::Bounds(clipped);
  EXPECT_GE(box.left, 20);
  EXPECT_LE(box.right, 26);
  PixelSet whole = DrawnText(canvas, u"W", narrow, kCentred | DT_NOCLIP);
  EXPECT_GT(whole.size(), clipped.size());
  // Centred, the overflowing character spills out evenly on both sides.
  RECT wide = gdi_test::Bounds(whole);
  EXPECT_LE(std::abs((wide.left - 20) + (wide.right - 26)), 2);
}

TEST(GdiDrawText, ResultCalcRectAndEmptyText) {
  Canvas canvas(60, 40);
  RECT r{0, 4, 60, 40};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"Ab", -1, &r, DT_SINGLELINE), 13);
  // With DT_VCENTER: from the rectangle's top to the text's bottom.
  EXPECT_EQ(DrawTextW(canvas.dc(), u"Ab", -1, &r, kCentred), (36 / 2 - 6) + 13);
  canvas.Fill(kWhite);
  RECT calc{5, 5, 6, 6};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"Ab", 2, &calc, DT_SINGLELINE | DT_CALCRECT), 13);
  EXPECT_EQ(calc.right - calc.left, Extent(canvas.dc(), u"Ab").cx);
  EXPECT_EQ(calc.bottom - calc.top, 13);
  EXPECT_TRUE(canvas.PixelsNot(kWhite).empty());  // measuring draws nothing
  RECT empty{5, 5, 50, 50};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"", -1, &empty, DT_CALCRECT | DT_SINGLELINE), 13);
  EXPECT_EQ(empty.right, 5);
  EXPECT_EQ(empty.bottom, 18);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, 1, &r, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GdiDrawText, LinesBreakAtNewlinesAndWords) {
  Canvas canvas(120, 60);
  RECT r{0, 0, 120, 60};
  PixelSet lines = DrawnText(canvas, u"ab\r\ncd", r, 0);
  PixelSet first = TextAt(canvas, u"ab", 0, 0);
  PixelSet second = TextAt(canvas, u"cd", 0, 13);
  PixelSet both = first;
  both.insert(second.begin(), second.end());
  EXPECT_EQ(lines, both);
  // DT_SINGLELINE keeps the break characters on the line instead.
  EXPECT_EQ(DrawTextW(canvas.dc(), u"ab\ncd", -1, &r, 0), 26);
  EXPECT_EQ(DrawTextW(canvas.dc(), u"ab\ncd", -1, &r, DT_SINGLELINE), 13);
  // Word breaking: "abc def" in a rectangle narrower than both words.
  RECT narrow{0, 0, Extent(canvas.dc(), u"abc d").cx, 60};
  PixelSet broken = DrawnText(canvas, u"abc def", narrow, DT_WORDBREAK);
  PixelSet top = TextAt(canvas, u"abc", 0, 0);
  PixelSet bottom = TextAt(canvas, u"def", 0, 13);
  top.insert(bottom.begin(), bottom.end());
  EXPECT_EQ(broken, top);
}

}  // namespace
