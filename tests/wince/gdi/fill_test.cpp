// Conformance of FillRect, the system colours and the rectangle helpers.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"

namespace {

using gdi_test::Box;
using gdi_test::Canvas;

const COLORREF kWhite = RGB(255, 255, 255);

TEST(GdiFillRect, FillsLeftAndTopButNotRightAndBottom) {
  Canvas canvas(20, 20);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  RECT r{3, 4, 9, 7};
  EXPECT_NE(FillRect(canvas.dc(), &r, brush), 0);
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(3, 4, 9, 7));
  EXPECT_EQ(canvas.At(3, 4), RGB(10, 20, 30));
  EXPECT_EQ(canvas.At(9, 4), kWhite);
  EXPECT_EQ(canvas.At(3, 7), kWhite);
  DeleteObject(brush);
}

TEST(GdiFillRect, EmptyInvertedAndOffSurfaceRectanglesFillNothingElse) {
  Canvas canvas(10, 10);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RECT empty{4, 4, 4, 8};
  RECT inverted{8, 8, 2, 2};
  EXPECT_NE(FillRect(canvas.dc(), &empty, black), 0);
  EXPECT_NE(FillRect(canvas.dc(), &inverted, black), 0);
  EXPECT_TRUE(canvas.PixelsNot(kWhite).empty());
  RECT overhanging{-5, 7, 50, 50};
  FillRect(canvas.dc(), &overhanging, black);
  EXPECT_EQ(canvas.PixelsNot(kWhite), Box(0, 7, 10, 10));
}

TEST(GdiFillRect, StockBrushesAndSystemColourIndexes) {
  Canvas canvas(4, 1);
  const int stock[] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH};
  const COLORREF colours[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                              RGB(64, 64, 64)};
  for (int i = 0; i < 4; ++i) {
    RECT r{i, 0, i + 1, 1};
    FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(stock[i])));
    EXPECT_EQ(canvas.At(i, 0), colours[i]);
  }
  // A class background may be a system colour index plus one.
  RECT all{0, 0, 4, 1};
  FillRect(canvas.dc(), &all, reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNFACE));
  HBRUSH sys = GetSysColorBrush(COLOR_WINDOWTEXT);
  EXPECT_EQ(sys, GetSysColorBrush(COLOR_WINDOWTEXT));
  FillRect(canvas.dc(), &all, sys);
  EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));
  EXPECT_TRUE(DeleteObject(sys));  // never destroyed: still usable
  EXPECT_EQ(GetObjectType(sys), static_cast<DWORD>(OBJ_BRUSH));
  // The null brush paints nothing.
  canvas.Fill(kWhite);
  EXPECT_NE(FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
  EXPECT_TRUE(canvas.PixelsNot(kWhite).empty());
}

TEST(GdiFillRect, BadArguments) {
  Canvas canvas(4, 4);
  RECT r{0, 0, 2, 2};
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(0x123450))), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FillRect(nullptr, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FillRect(canvas.dc(), nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GdiSysColor, ClassicSchemeAndTheDeviceIndexFlag) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_STATIC), RGB(192, 192, 192));
  // Windows CE headers mark the indexes with 0x40000000.
  EXPECT_EQ(GetSysColor(0x40000000 | COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetSysColor(999), 0u);
  EXPECT_EQ(GetSysColorBrush(999), nullptr);
}

TEST(GdiRectHelpers, EdgesAreHalfOpen) {
  RECT r;
  SetRect(&r, 2, 3, 6, 8);
  EXPECT_TRUE(PtInRect(&r, POINT{2, 3}));
  EXPECT_TRUE(PtInRect(&r, POINT{5, 7}));
  EXPECT_FALSE(PtInRect(&r, POINT{6, 7}));
  EXPECT_FALSE(PtInRect(&r, POINT{5, 8}));
  InflateRect(&r, 1, 2);
  RECT want{1, 1, 7, 10};
  EXPECT_TRUE(EqualRect(&r, &want));
  OffsetRect(&r, -1, -1);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.bottom, 9);
  RECT a{0, 0, 4, 4}, b{4, 0, 8, 4}, out{9, 9, 9, 9};
  EXPECT_FALSE(IntersectRect(&out, &a, &b));  // touching edges do not intersect
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_TRUE(UnionRect(&out, &a, &b));
  EXPECT_EQ(out.right, 8);
  RECT inverted{5, 5, 1, 1};
  EXPECT_TRUE(IsRectEmpty(&inverted));
  SetRectEmpty(&out);
  EXPECT_TRUE(IsRectEmpty(&out));
}

}  // namespace
