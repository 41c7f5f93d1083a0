// Conformance of GDI objects and device contexts: stock objects, selection,
// deletion, GetObjectW, memory DC defaults and monochrome bitmaps.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"
#include "wince/host/surface.h"

namespace {

using gdi_test::Canvas;

TEST(GdiStock, StockObjectsHaveTheirKindsAndSurviveDeletion) {
  const int brushes[] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH,
                         NULL_BRUSH};
  for (int b : brushes) EXPECT_EQ(GetObjectType(GetStockObject(b)), static_cast<DWORD>(OBJ_BRUSH));
  for (int p : {WHITE_PEN, BLACK_PEN, NULL_PEN})
    EXPECT_EQ(GetObjectType(GetStockObject(p)), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), static_cast<DWORD>(OBJ_FONT));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(GetStockObject(LTGRAY_BRUSH), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  GetObjectW(GetStockObject(NULL_BRUSH), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_NULL));

  HGDIOBJ black = GetStockObject(BLACK_BRUSH);
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetStockObject(BLACK_BRUSH), black);
  EXPECT_EQ(GetObjectType(black), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(12), nullptr);  // no stock object there
}

TEST(GdiSelect, SelectObjectReturnsThePreviousObjectOfItsKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), brush);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(SelectObject(dc, pen), nullptr);  // deleted
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  DeleteDC(dc);
}

TEST(GdiDelete, ObjectsSelectedIntoADcCannotBeDeleted) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  SelectObject(dc, brush);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(brush));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_TRUE(DeleteDC(dc));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiDelete, CreatedAndDeletedObjectsLeaveNothingBehind) {
  size_t before = wince::host::LiveGdiObjects();
  {
    Canvas canvas(8, 8);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(wince::host::LiveGdiObjects(), before + 3);
    DeleteObject(pen);
  }
  EXPECT_EQ(wince::host::LiveGdiObjects(), before);
}

TEST(GdiDc, MemoryDcDefaults) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
  POINT org{5, 5};
  EXPECT_TRUE(GetBrushOrgEx(dc, &org));
  EXPECT_EQ(org.x, 0);
  // A new memory DC holds a 1x1 monochrome bitmap.
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  DeleteDC(dc);
}

TEST(GdiDc, AttributesReturnTheirPreviousValues) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
  EXPECT_EQ(SetBkColor(dc, RGB(7, 8, 9)), RGB(255, 255, 255));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, OPAQUE), TRANSPARENT);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(SetStretchBltMode(dc, 0), 0);
  POINT old{};
  EXPECT_TRUE(SetBrushOrgEx(dc, 3, 4, &old));
  EXPECT_TRUE(SetBrushOrgEx(dc, 0, 0, &old));
  EXPECT_EQ(old.x, 3);
  EXPECT_EQ(old.y, 4);
  DeleteDC(dc);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiBitmap, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(dc, 16, 8);
  BITMAP bm{};
  GetObjectW(mono, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  // With a colour bitmap selected, the DC makes colour bitmaps.
  HBITMAP colour = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ previous = SelectObject(dc, colour);
  HBITMAP second = CreateCompatibleBitmap(dc, 16, 8);
  GetObjectW(second, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidthBytes, 64);
  // Zero sizes give the stock 1x1 monochrome bitmap, which deleting keeps.
  HBITMAP none = CreateCompatibleBitmap(dc, 0, 5);
  GetObjectW(none, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(none, previous);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 5), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 100000, 100000), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  SelectObject(dc, previous);
  DeleteObject(mono);
  DeleteObject(colour);
  DeleteObject(second);
  DeleteDC(dc);
}

TEST(GdiBitmap, ABitmapLivesInOneMemoryDcAtATime) {
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ oldA = SelectObject(a, bitmap);
  ASSERT_NE(oldA, nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));  // still selected
  SelectObject(a, oldA);
  EXPECT_NE(SelectObject(b, bitmap), nullptr);
  // Deleting the DC lets the bitmap go.
  DeleteDC(b);
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(a);
}

TEST(GdiBitmap, MonochromeSurfacesTakeBlackOrWhite) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(4, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  // White stays white, black black; other colours are told apart from the
  // background colour: the background takes its nearest, the rest the other.
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(255, 255, 255)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(dc, 1, 0, RGB(200, 200, 200)), RGB(0, 0, 0));
  SetBkColor(dc, RGB(200, 200, 200));
  EXPECT_EQ(SetPixel(dc, 2, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(dc, 3, 0, RGB(40, 40, 40)), RGB(0, 0, 0));
  SetBkColor(dc, RGB(40, 40, 40));
  EXPECT_EQ(SetPixel(dc, 3, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(mono);
  DeleteDC(dc);
}

TEST(GdiBitmap, CreateBitmapTakesDeviceRowsPaddedToSixteenBits) {
  // 3 x 2 monochrome: rows of 2 bytes; 1 bits are white.
  const BYTE monoBits[] = {0xA0, 0x00, 0x40, 0x00};
  HBITMAP mono = CreateBitmap(3, 2, 1, 1, monoBits);
  auto view = wince::host::ViewOfBitmap(mono);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(view->At(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(view->At(2, 0), RGB(255, 255, 255));
  EXPECT_EQ(view->At(1, 1), RGB(255, 255, 255));
  DeleteObject(mono);
  // 32 bits: blue, green, red, unused.
  const BYTE colourBits[] = {0x30, 0x20, 0x10, 0, 0x01, 0x02, 0x03, 0};
  HBITMAP colour = CreateBitmap(2, 1, 1, 32, colourBits);
  view = wince::host::ViewOfBitmap(colour);
  EXPECT_EQ(view->At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(view->At(1, 0), RGB(0x03, 0x02, 0x01));
  DeleteObject(colour);
}

TEST(GdiPixels, GetPixelAndSetPixelOutsideTheSurface) {
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(9, 8, 7)), RGB(9, 8, 7));
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), RGB(9, 8, 7));
  EXPECT_EQ(GetPixel(canvas.dc(), 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(canvas.dc(), 0, 4, 0), CLR_INVALID);
}

}  // namespace
