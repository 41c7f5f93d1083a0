// Display DCs onto a shared surface, as the window code makes them for a
// window's client area: the origin moves drawing, the clip confines it.
#include <gtest/gtest.h>

#include <windows.h>

#include "wince/gdi/surface.h"
#include "wince/host/surface.h"

namespace {

TEST(GdiSurfaceDc, DrawsAtItsOriginInsideItsClip) {
  auto screen = wince::gdi::CreateScreenSurface(20, 10, RGB(255, 255, 255));
  ASSERT_TRUE(screen);
  HDC dc = wince::gdi::CreateSurfaceDC(screen, POINT{5, 2}, RECT{5, 2, 12, 8});
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  auto view = wince::host::ViewOf(dc);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->width, 20);
  int inked = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 5 && x < 12 && y >= 2 && y < 8;
      EXPECT_EQ(view->At(x, y), inside ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
      inked += inside;
    }
  EXPECT_EQ(inked, 42);
  // Logical (0, 0) is the surface's (5, 2).
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(view->At(5, 2), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 7, 0), CLR_INVALID);  // outside the clip
  // A moved window draws at its new place.
  ASSERT_TRUE(wince::gdi::SetSurfaceDCGeometry(dc, POINT{0, 0}, RECT{0, 0, 20, 10}));
  SetPixel(dc, 0, 0, RGB(4, 5, 6));
  EXPECT_EQ(view->At(0, 0), RGB(4, 5, 6));
  // No bitmap can be selected into a display DC.
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  DeleteObject(bitmap);
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiSurfaceDc, CompatibleBitmapsOfADisplayDcAreColour) {
  auto screen = wince::gdi::CreateScreenSurface(4, 4, 0);
  HDC dc = wince::gdi::CreateSurfaceDC(screen, POINT{0, 0}, RECT{0, 0, 4, 4});
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
  BITMAP bm{};
  GetObjectW(bitmap, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
