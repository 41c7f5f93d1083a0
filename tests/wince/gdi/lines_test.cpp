// Conformance of one-pixel lines: the rasterisation in all eight octants,
// the end point left out, polylines, the current position and clipping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"

namespace {

using gdi_test::Canvas;
using gdi_test::PixelSet;

const COLORREF kInk = RGB(0, 0, 0);

PixelSet Draw(Canvas& canvas, POINT from, POINT to) {
  canvas.Fill(RGB(255, 255, 255));
  POINT pts[2] = {from, to};
  EXPECT_TRUE(Polyline(canvas.dc(), pts, 2));
  return canvas.PixelsOf(kInk);
}

struct LineCase {
  int octant;
  POINT to;  // every line starts at (10, 10)
  std::vector<gdi_test::Pixel> pixels;
};

// Lines whose error term ties exactly: the octants with the bias (3, 5, 6
// and 8) break the tie the other way, so that a line drawn backwards covers
// the same pixels.
const LineCase kTies[] = {
    {1, {14, 11}, {{10, 10}, {11, 10}, {12, 10}, {13, 11}}},
    {2, {11, 14}, {{10, 10}, {10, 11}, {10, 12}, {11, 13}}},
    {3, {9, 14}, {{10, 10}, {10, 11}, {9, 12}, {9, 13}}},
    {4, {6, 11}, {{10, 10}, {9, 10}, {8, 10}, {7, 11}}},
    {5, {6, 9}, {{10, 10}, {9, 10}, {8, 9}, {7, 9}}},
    {6, {9, 6}, {{10, 10}, {10, 9}, {9, 8}, {9, 7}}},
    {7, {11, 6}, {{10, 10}, {10, 9}, {10, 8}, {11, 7}}},
    {8, {14, 9}, {{10, 10}, {11, 10}, {12, 9}, {13, 9}}},
};

const LineCase kSlopes[] = {
    {1, {16, 12}, {{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 11}, {15, 12}}},
    {2, {12, 16}, {{10, 10}, {10, 11}, {11, 12}, {11, 13}, {11, 14}, {12, 15}}},
    {3, {8, 16}, {{10, 10}, {10, 11}, {9, 12}, {9, 13}, {9, 14}, {8, 15}}},
    {4, {4, 12}, {{10, 10}, {9, 10}, {8, 11}, {7, 11}, {6, 11}, {5, 12}}},
    {5, {4, 8}, {{10, 10}, {9, 10}, {8, 9}, {7, 9}, {6, 9}, {5, 8}}},
    {6, {8, 4}, {{10, 10}, {10, 9}, {9, 8}, {9, 7}, {9, 6}, {8, 5}}},
    {7, {12, 4}, {{10, 10}, {10, 9}, {11, 8}, {11, 7}, {11, 6}, {12, 5}}},
    {8, {16, 8}, {{10, 10}, {11, 10}, {12, 9}, {13, 9}, {14, 9}, {15, 8}}},
};

TEST(GdiLines, EachOctantDrawsThePlatformsPixelsWithoutTheEndPoint) {
  Canvas canvas(32, 32);
  for (const auto* cases : {kTies, kSlopes}) {
    for (int i = 0; i < 8; ++i) {
      const LineCase& c = cases[i];
      PixelSet want(c.pixels.begin(), c.pixels.end());
      EXPECT_EQ(Draw(canvas, {10, 10}, c.to), want) << "octant " << c.octant;
      EXPECT_EQ(want.count({c.to.x, c.to.y}), 0u);
    }
  }
}

TEST(GdiLines, DiagonalsAndAxisLines) {
  Canvas canvas(32, 32);
  EXPECT_EQ(Draw(canvas, {2, 2}, {6, 6}), (PixelSet{{2, 2}, {3, 3}, {4, 4}, {5, 5}}));
  EXPECT_EQ(Draw(canvas, {6, 6}, {2, 2}), (PixelSet{{6, 6}, {5, 5}, {4, 4}, {3, 3}}));
  EXPECT_EQ(Draw(canvas, {2, 6}, {6, 2}), (PixelSet{{2, 6}, {3, 5}, {4, 4}, {5, 3}}));
  // Horizontal and vertical: [start, end) either way round.
  EXPECT_EQ(Draw(canvas, {3, 5}, {7, 5}), gdi_test::Box(3, 5, 7, 6));
  EXPECT_EQ(Draw(canvas, {7, 5}, {3, 5}), gdi_test::Box(4, 5, 8, 6));
  EXPECT_EQ(Draw(canvas, {5, 3}, {5, 7}), gdi_test::Box(5, 3, 6, 7));
  EXPECT_EQ(Draw(canvas, {5, 7}, {5, 3}), gdi_test::Box(5, 4, 6, 8));
  // A segment of no length draws nothing.
  EXPECT_TRUE(Draw(canvas, {5, 5}, {5, 5}).empty());
}

// Drawn backwards, a line plus its end pixel is the same set of pixels: the
// bias sits in exactly one octant of every opposite pair.
TEST(GdiLines, ReversedLinesCoverTheSamePixels) {
  Canvas canvas(64, 64);
  std::srand(7);
  for (int n = 0; n < 300; ++n) {
    POINT a{std::rand() % 64, std::rand() % 64};
    POINT b{std::rand() % 64, std::rand() % 64};
    PixelSet forward = Draw(canvas, a, b);
    PixelSet backward = Draw(canvas, b, a);
    if (a.x != b.x || a.y != b.y) {
      forward.insert({b.x, b.y});
      backward.insert({a.x, a.y});
    }
    ASSERT_EQ(forward, backward) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

// A clipped line keeps the pixels it would have had on a larger surface:
// the walk restarts at the first visible step, it is not redrawn from the
// surface's edge.
TEST(GdiLines, ClippingKeepsThePixelsOfTheUnclippedLine) {
  Canvas small(40, 30);
  Canvas large(200, 200);
  std::srand(11);
  for (int n = 0; n < 120; ++n) {
    POINT a{std::rand() % 200 - 80, std::rand() % 200 - 80};
    POINT b{std::rand() % 200 - 80, std::rand() % 200 - 80};
    PixelSet clipped = Draw(small, a, b);
    // The same line drawn 80 pixels further in, on the large canvas.
    PixelSet whole = Draw(large, {a.x + 80, a.y + 80}, {b.x + 80, b.y + 80});
    PixelSet expected;
    for (auto [x, y] : whole)
      if (x - 80 >= 0 && x - 80 < 40 && y - 80 >= 0 && y - 80 < 30) expected.insert({x - 80, y - 80});
    ASSERT_EQ(clipped, expected) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

TEST(GdiLines, HugeCoordinatesAreClippedWithoutWalkingThem) {
  Canvas canvas(20, 20);
  POINT pts[2] = {{-2000000000, -1000000000}, {2000000000, 1000000001}};
  EXPECT_TRUE(Polyline(canvas.dc(), pts, 2));
  PixelSet drawn = canvas.PixelsOf(kInk);
  // The line passes the origin region with slope one half.
  EXPECT_FALSE(drawn.empty());
  for (auto [x, y] : drawn) EXPECT_LE(std::abs(2 * y - x), 2) << x << "," << y;
}

TEST(GdiLines, PolylineNeverDrawsItsLastPointNorTouchesThePosition) {
  Canvas canvas(20, 20);
  MoveToEx(canvas.dc(), 15, 15, nullptr);
  POINT pts[3] = {{2, 2}, {8, 2}, {8, 8}};
  ASSERT_TRUE(Polyline(canvas.dc(), pts, 3));
  PixelSet want = gdi_test::Box(2, 2, 8, 3);
  for (int y = 2; y < 8; ++y) want.insert({8, y});
  EXPECT_EQ(canvas.PixelsOf(kInk), want);
  POINT position{};
  MoveToEx(canvas.dc(), 0, 0, &position);
  EXPECT_EQ(position.x, 15);
  EXPECT_EQ(position.y, 15);
}

TEST(GdiLines, LineToDrawsFromTheCurrentPositionAndMovesIt) {
  Canvas canvas(20, 20);
  POINT previous{};
  ASSERT_TRUE(MoveToEx(canvas.dc(), 3, 4, &previous));
  EXPECT_EQ(previous.x, 0);  // a new DC starts at (0, 0)
  EXPECT_EQ(previous.y, 0);
  ASSERT_TRUE(LineTo(canvas.dc(), 9, 4));
  ASSERT_TRUE(LineTo(canvas.dc(), 9, 7));
  PixelSet want = gdi_test::Box(3, 4, 9, 5);
  want.insert({9, 4});
  want.insert({9, 5});
  want.insert({9, 6});
  EXPECT_EQ(canvas.PixelsOf(kInk), want);
  MoveToEx(canvas.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 9);
  EXPECT_EQ(previous.y, 7);
}

TEST(GdiLines, PenColourNullPenAndBadArguments) {
  Canvas canvas(10, 10);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), red);
  POINT pts[2] = {{1, 1}, {5, 1}};
  Polyline(canvas.dc(), pts, 2);
  EXPECT_EQ(canvas.PixelsOf(RGB(255, 0, 0)), gdi_test::Box(1, 1, 5, 2));
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  canvas.Fill(RGB(255, 255, 255));
  Polyline(canvas.dc(), pts, 2);
  EXPECT_TRUE(canvas.PixelsNot(RGB(255, 255, 255)).empty());
  SelectObject(canvas.dc(), old);
  DeleteObject(red);

  SetLastError(0xdeadbeef);
  EXPECT_FALSE(Polyline(canvas.dc(), pts, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiLines, WidePensAndStyledPensFailLoudly) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreatePen(PS_SOLID, 3, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreatePen(PS_DASH, 1, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
  // Width 0 is the one-pixel cosmetic pen.
  HPEN thin = CreatePen(PS_SOLID, 0, 0);
  EXPECT_NE(thin, nullptr);
  DeleteObject(thin);
}

}  // namespace
