// Conformance of filled shapes: which pixels a polygon's brush fills, the
// outline drawn over it, tiling of shared edges, and Rectangle.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"

namespace {

using gdi_test::Box;
using gdi_test::Canvas;
using gdi_test::PixelSet;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Selects a brush of `fill` and a pen of `outline` (or the null pen) for the
// scope of a test step.
class Tools {
 public:
  Tools(HDC dc, COLORREF fill, bool withPen, COLORREF outline = RGB(0, 0, 0))
      : dc_(dc), brush_(CreateSolidBrush(fill)),
        pen_(withPen ? CreatePen(PS_SOLID, 1, outline) : nullptr) {
    oldBrush_ = SelectObject(dc, brush_);
    oldPen_ = SelectObject(dc, pen_ ? static_cast<HGDIOBJ>(pen_) : GetStockObject(NULL_PEN));
  }
  ~Tools() {
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
    DeleteObject(brush_);
    if (pen_) DeleteObject(pen_);
  }

 private:
  HDC dc_;
  HBRUSH brush_;
  HPEN pen_;
  HGDIOBJ oldBrush_;
  HGDIOBJ oldPen_;
};

TEST(GdiPolygon, SquareWithPenCoversElevenByElevenAndFillStaysInside) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), kRed, true);
  POINT square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  ASSERT_TRUE(Polygon(canvas.dc(), square, 4));
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(0, 0, 11, 11));
  // The outline covers every edge pixel, right and bottom ones included.
  EXPECT_EQ(canvas.PixelsOf(kRed), Box(1, 1, 10, 10));
}

TEST(GdiPolygon, BrushAloneLeavesOutTheRightAndBottomEdges) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), kRed, false);
  POINT square[4] = {{2, 3}, {12, 3}, {12, 9}, {2, 9}};
  ASSERT_TRUE(Polygon(canvas.dc(), square, 4));
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(2, 3, 12, 9));
  // The same square listed clockwise or counter-clockwise fills alike.
  canvas.Fill(kWhite);
  POINT reversed[4] = {{2, 9}, {12, 9}, {12, 3}, {2, 3}};
  Polygon(canvas.dc(), reversed, 4);
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(2, 3, 12, 9));
}

TEST(GdiPolygon, TriangleSpansFollowTheCeilingRule) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), kRed, false);
  // Right triangle with the hypotenuse from (0,0) to (8,4): on row y the
  // span runs from ceil(2y) to 8 (excluded).
  POINT tri[3] = {{0, 0}, {8, 4}, {8, 0}};
  ASSERT_TRUE(Polygon(canvas.dc(), tri, 3));
  PixelSet want;
  for (int y = 0; y < 4; ++y)
    for (int x = 2 * y; x < 8; ++x) want.insert({x, y});
  EXPECT_EQ(canvas.PixelsOf(kRed), want);
}

// Two polygons that share an edge, filled with the null pen, neither
// overlap nor leave a gap: each pixel is filled exactly once.
TEST(GdiPolygon, SharedEdgesTileWithoutGapOrOverlap) {
  struct Pair {
    POINT a[3];
    POINT b[3];
  };
  const Pair pairs[] = {
      {{{1, 1}, {17, 3}, {5, 15}}, {{17, 3}, {19, 18}, {5, 15}}},  // slanted shared edge
      {{{0, 0}, {19, 0}, {0, 19}}, {{19, 0}, {19, 19}, {0, 19}}},  // the square's diagonal
      {{{3, 2}, {9, 2}, {9, 17}}, {{9, 2}, {16, 6}, {9, 17}}},     // vertical shared edge
  };
  for (const Pair& pair : pairs) {
    Canvas a(20, 20);
    Canvas b(20, 20);
    Canvas both(20, 20);
    {
      Tools ta(a.dc(), kRed, false);
      Polygon(a.dc(), pair.a, 3);
      Tools tb(b.dc(), kBlue, false);
      Polygon(b.dc(), pair.b, 3);
    }
    PixelSet inA = a.PixelsOf(kRed);
    PixelSet inB = b.PixelsOf(kBlue);
    for (const auto& p : inA) EXPECT_EQ(inB.count(p), 0u) << "overlap at " << p.first << "," << p.second;
    // Together they fill the quadrilateral drawn as one polygon.
    POINT quad[4] = {pair.a[0], pair.a[1], pair.b[1], pair.b[2]};
    Tools tq(both.dc(), kRed, false);
    Polygon(both.dc(), quad, 4);
    PixelSet united = inA;
    united.insert(inB.begin(), inB.end());
    EXPECT_EQ(united, both.PixelsOf(kRed));
  }
}

TEST(GdiPolygon, AlternateFillLeavesTheSelfOverlapEmpty) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), kRed, false);
  // A bow tie crosses itself: in even-odd mode both of its triangles fill
  // and the wedges between them stay empty.
  POINT bow[4] = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
  ASSERT_TRUE(Polygon(canvas.dc(), bow, 4));
  PixelSet filled = canvas.PixelsOf(kRed);
  EXPECT_TRUE(filled.count({5, 2}) == 0 && filled.count({5, 8}) == 0);  // top and bottom wedges are out
  EXPECT_TRUE(filled.count({1, 5}) && filled.count({8, 5}));            // left and right wedges are in
}

TEST(GdiPolygon, OutlineUsesThePenAndNullBrushLeavesTheInside) {
  Canvas canvas(20, 20);
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  POINT square[4] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
  ASSERT_TRUE(Polygon(canvas.dc(), square, 4));
  PixelSet ring = Box(1, 1, 7, 7);
  for (const auto& p : Box(2, 2, 6, 6)) ring.erase(p);
  EXPECT_EQ(canvas.PixelsOf(RGB(0, 0, 0)), ring);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(GdiPolygon, DefaultObjectsFillWhiteAndOutlineBlack) {
  Canvas canvas(20, 20, kBlue);
  POINT square[4] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  Polygon(canvas.dc(), square, 4);
  EXPECT_EQ(canvas.PixelsOf(kWhite), Box(1, 1, 4, 4));
  EXPECT_EQ(canvas.PixelsOf(RGB(0, 0, 0)).size(), 16u);
}

TEST(GdiPolygon, DegenerateAndBadPolygons) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), kRed, true);
  // Two points: a line there and back, no interior.
  POINT two[2] = {{2, 2}, {6, 2}};
  ASSERT_TRUE(Polygon(canvas.dc(), two, 2));
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(2, 2, 7, 3));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(Polygon(canvas.dc(), two, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  // Far outside the surface: clipped, nothing drawn, still a success.
  canvas.Fill(kWhite);
  POINT far[3] = {{-100000, -100000}, {-90000, -100000}, {-90000, -90000}};
  EXPECT_TRUE(Polygon(canvas.dc(), far, 3));
  EXPECT_TRUE(canvas.PixelsNot(kWhite).empty());
}

TEST(GdiRectangle, ExcludesRightAndBottomAndShrinksWithTheNullPen) {
  Canvas canvas(20, 20);
  {
    Tools tools(canvas.dc(), kRed, true, kBlue);
    ASSERT_TRUE(Rectangle(canvas.dc(), 2, 2, 8, 6));
    EXPECT_EQ(canvas.PixelsNot(kWhite), Box(2, 2, 8, 6));
    EXPECT_EQ(canvas.PixelsOf(kRed), Box(3, 3, 7, 5));
  }
  canvas.Fill(kWhite);
  {
    Tools tools(canvas.dc(), kRed, false);
    // Inverted corners are put in order first.
    ASSERT_TRUE(Rectangle(canvas.dc(), 8, 6, 2, 2));
    EXPECT_EQ(canvas.PixelsNot(kWhite), Box(2, 2, 7, 5));
  }
}

}  // namespace
