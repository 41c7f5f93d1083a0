// Conformance of blits: StretchBlt's pixel mapping when enlarging and
// shrinking, the stretch modes, mirroring, format conversion, clipping,
// overlapping copies and raster operations.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"

namespace {

using gdi_test::Canvas;

const COLORREF kUntouched = RGB(1, 2, 3);

// A source row whose pixel i has a colour that names i.
COLORREF Tag(int i) { return RGB(10 + i, 100 + i, 200 - i); }

std::vector<int> SourceIndexes(const Canvas& dest, int y, int width, int sourceWidth) {
  std::vector<int> out;
  for (int x = 0; x < width; ++x) {
    COLORREF c = dest.At(x, y);
    int found = -1;
    for (int i = 0; i < sourceWidth; ++i)
      if (c == Tag(i)) found = i;
    out.push_back(found);
  }
  return out;
}

TEST(GdiStretchBlt, EnlargingTakesThePixelUnderEachCentre) {
  struct Case {
    int source, dest;
    std::vector<int> want;  // ceil((2i + 1) S / 2D) - 1
  };
  const Case cases[] = {
      {2, 5, {0, 0, 0, 1, 1}},
      {3, 7, {0, 0, 1, 1, 1, 2, 2}},
      {4, 4, {0, 1, 2, 3}},
      {1, 3, {0, 0, 0}},
      {5, 8, {0, 0, 1, 2, 2, 3, 4, 4}},
  };
  for (const Case& c : cases) {
    Canvas src(c.source, 1);
    for (int i = 0; i < c.source; ++i) SetPixel(src.dc(), i, 0, Tag(i));
    Canvas dest(c.dest, 1, kUntouched);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, c.dest, 1, src.dc(), 0, 0, c.source, 1, SRCCOPY));
    EXPECT_EQ(SourceIndexes(dest, 0, c.dest, c.source), c.want) << c.source << " -> " << c.dest;
  }
}

TEST(GdiStretchBlt, VerticalMappingMatchesTheHorizontalOne) {
  Canvas src(1, 3);
  for (int i = 0; i < 3; ++i) SetPixel(src.dc(), 0, i, Tag(i));
  Canvas dest(1, 7, kUntouched);
  StretchBlt(dest.dc(), 0, 0, 1, 7, src.dc(), 0, 0, 1, 3, SRCCOPY);
  const int want[] = {0, 0, 1, 1, 1, 2, 2};
  for (int y = 0; y < 7; ++y) EXPECT_EQ(dest.At(0, y), Tag(want[y])) << y;
}

// Shrinking 5 to 2: source pixel m falls on ceil((2m + 1) D / 2S) - 1, so
// pixels 0-2 merge into the first and 3-4 into the second.
TEST(GdiStretchBlt, ShrinkingMergesByTheStretchMode) {
  const COLORREF row[5] = {RGB(0xFF, 0x0F, 0xF0), RGB(0x3C, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0x3F),
                           RGB(0x81, 0x18, 0xFF), RGB(0xF1, 0xFF, 0x0F)};
  Canvas src(5, 1);
  for (int i = 0; i < 5; ++i) SetPixel(src.dc(), i, 0, row[i]);
  Canvas dest(2, 1, kUntouched);

  // The default, BLACKONWHITE, ANDs what merges.
  ASSERT_EQ(GetStretchBltMode(dest.dc()), BLACKONWHITE);
  StretchBlt(dest.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 5, 1, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), row[0] & row[1] & row[2]);
  EXPECT_EQ(dest.At(1, 0), row[3] & row[4]);

  SetStretchBltMode(dest.dc(), WHITEONBLACK);
  StretchBlt(dest.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 5, 1, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), row[0] | row[1] | row[2]);
  EXPECT_EQ(dest.At(1, 0), row[3] | row[4]);

  SetStretchBltMode(dest.dc(), COLORONCOLOR);
  StretchBlt(dest.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 5, 1, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), row[0]);
  EXPECT_EQ(dest.At(1, 0), row[3]);
}

TEST(GdiStretchBlt, ShrinkingRowsMergesThemToo) {
  Canvas src(1, 4);
  SetPixel(src.dc(), 0, 0, RGB(0xF0, 0xFF, 0xFF));
  SetPixel(src.dc(), 0, 1, RGB(0xFF, 0x0F, 0xFF));
  SetPixel(src.dc(), 0, 2, RGB(0xFF, 0xFF, 0x3C));
  SetPixel(src.dc(), 0, 3, RGB(0xFF, 0xFF, 0xFF));
  Canvas dest(1, 1, kUntouched);
  StretchBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 4, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), RGB(0xF0, 0x0F, 0x3C));
}

TEST(GdiStretchBlt, NegativeExtentsMirror) {
  Canvas src(4, 1);
  for (int i = 0; i < 4; ++i) SetPixel(src.dc(), i, 0, Tag(i));
  Canvas dest(6, 1, kUntouched);
  // A width of -4 at x 4 covers 1..4, drawn right to left.
  ASSERT_TRUE(StretchBlt(dest.dc(), 4, 0, -4, 1, src.dc(), 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(SourceIndexes(dest, 0, 6, 4), (std::vector<int>{-1, 3, 2, 1, 0, -1}));
  // Mirrored on both sides is no mirror.
  dest.Fill(kUntouched);
  StretchBlt(dest.dc(), 4, 0, -4, 1, src.dc(), 3, 0, -4, 1, SRCCOPY);
  EXPECT_EQ(SourceIndexes(dest, 0, 6, 4), (std::vector<int>{-1, 0, 1, 2, 3, -1}));
}

TEST(GdiStretchBlt, ClippingAtBothEnds) {
  Canvas src(4, 4, RGB(50, 60, 70));
  Canvas dest(4, 4, kUntouched);
  // Off the destination's edge: the rest of the mapping stays as it is.
  StretchBlt(dest.dc(), -2, -2, 4, 4, src.dc(), 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(dest.PixelsOf(RGB(50, 60, 70)), gdi_test::Box(0, 0, 2, 2));
  // Beyond the source's edge: those destination pixels are left alone.
  dest.Fill(kUntouched);
  StretchBlt(dest.dc(), 0, 0, 4, 4, src.dc(), 2, 2, 4, 4, SRCCOPY);
  EXPECT_EQ(dest.PixelsOf(RGB(50, 60, 70)), gdi_test::Box(0, 0, 2, 2));
}

TEST(GdiStretchBlt, MonochromeSourcesTakeTheDestinationsColours) {
  const BYTE bits[] = {0x80, 0x00};  // white, black
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, bits);
  HDC monoDc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(monoDc, mono);
  Canvas dest(2, 1, kUntouched);
  SetTextColor(dest.dc(), RGB(200, 0, 0));
  SetBkColor(dest.dc(), RGB(0, 0, 200));
  BitBlt(dest.dc(), 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), RGB(0, 0, 200));  // white bits: background colour
  EXPECT_EQ(dest.At(1, 0), RGB(200, 0, 0));  // black bits: text colour

  // Colour onto monochrome: the source DC's background colour is white.
  Canvas colour(2, 1, RGB(9, 9, 9));
  SetPixel(colour.dc(), 1, 0, RGB(255, 255, 255));
  SetBkColor(colour.dc(), RGB(9, 9, 9));
  BitBlt(monoDc, 0, 0, 2, 1, colour.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(monoDc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(monoDc, 1, 0), RGB(0, 0, 0));
  SelectObject(monoDc, old);
  DeleteObject(mono);
  DeleteDC(monoDc);
}

TEST(GdiBitBlt, OverlappingCopiesReadTheSourceWhole) {
  Canvas canvas(6, 1);
  for (int i = 0; i < 6; ++i) SetPixel(canvas.dc(), i, 0, Tag(i));
  ASSERT_TRUE(BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(SourceIndexes(canvas, 0, 6, 6), (std::vector<int>{0, 0, 1, 2, 3, 4}));
}

TEST(GdiBitBlt, RasterOperations) {
  Canvas src(1, 1, RGB(0x0F, 0xF0, 0x55));
  Canvas dest(1, 1, RGB(0x33, 0x33, 0xFF));
  BitBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCAND);
  EXPECT_EQ(dest.At(0, 0), RGB(0x03, 0x30, 0x55));
  BitBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCINVERT);
  EXPECT_EQ(dest.At(0, 0), RGB(0x0C, 0xC0, 0x00));
  BitBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(dest.At(0, 0), RGB(0x0F, 0xF0, 0x55));
  BitBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, NOTSRCCOPY);
  EXPECT_EQ(dest.At(0, 0), RGB(0xF0, 0x0F, 0xAA));
  BitBlt(dest.dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
  EXPECT_EQ(dest.At(0, 0), RGB(0, 0, 0));
  BitBlt(dest.dc(), 0, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  EXPECT_EQ(dest.At(0, 0), RGB(255, 255, 255));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiPatBlt, PaintsTheBrushOverANormalisedRectangle) {
  Canvas canvas(8, 4);
  HBRUSH brush = CreateSolidBrush(RGB(7, 77, 177));
  HGDIOBJ old = SelectObject(canvas.dc(), brush);
  ASSERT_TRUE(PatBlt(canvas.dc(), 6, 1, -3, 2, PATCOPY));
  EXPECT_EQ(canvas.PixelsOf(RGB(7, 77, 177)), gdi_test::Box(3, 1, 6, 3));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 1, 1, SRCCOPY));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SelectObject(canvas.dc(), old);
  DeleteObject(brush);
}

// The stock key face: a 100 x 100 bitmap shrunk onto a 40 x 20 key keeps
// its border colour all round the key.
TEST(GdiStretchBlt, AFramedBitmapKeepsItsFrameWhenShrunk) {
  Canvas face(100, 100, RGB(200, 200, 200));
  HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
  RECT edges[4] = {{0, 0, 100, 2}, {0, 98, 100, 100}, {0, 0, 2, 100}, {98, 0, 100, 100}};
  for (const RECT& r : edges) FillRect(face.dc(), &r, frame);
  DeleteObject(frame);
  Canvas key(40, 20, kUntouched);
  StretchBlt(key.dc(), 0, 0, 40, 20, face.dc(), 0, 0, 100, 100, SRCCOPY);
  EXPECT_TRUE(key.PixelsOf(kUntouched).empty());
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(key.At(x, 0), RGB(0, 0, 0));
    EXPECT_EQ(key.At(x, 19), RGB(0, 0, 0));
  }
  EXPECT_EQ(key.At(20, 10), RGB(200, 200, 200));
}

}  // namespace
