// Conformance of masked image lists: a bitmap split into whole images, the mask
// from the mask colour with those pixels turned black, copies that outlive
// the bitmap, and what bad handles and sizes get.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "wince/host/image_lists.h"

namespace {

constexpr COLORREF GREY = RGB(192, 192, 192);
constexpr COLORREF RED = RGB(255, 0, 0);

// A 32-bit bitmap of width by height in grey with one red pixel at (x, 0) of
// each 16-pixel image.
HBITMAP GreyBitmapWithRedDots(int width, int height, int x) {
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH grey = CreateSolidBrush(GREY);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, grey);
  for (int left = 0; left < width; left += 16) SetPixel(dc, left + x, 0, RED);
  SelectObject(dc, old);
  DeleteObject(grey);
  DeleteDC(dc);
  return bitmap;
}

TEST(ImageList, AddMaskedSplitsTheBitmapAndMasksTheMaskColour) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR, 1, 1);
  ASSERT_NE(list, nullptr);
  HBITMAP two = GreyBitmapWithRedDots(32, 16, 3);
  EXPECT_EQ(ImageList_AddMasked(list, two, GREY), 0);
  DeleteObject(two);  // the list keeps copies
  HBITMAP narrow = GreyBitmapWithRedDots(40, 16, 5);  // two whole images and a part
  EXPECT_EQ(ImageList_AddMasked(list, narrow, GREY), 2);
  DeleteObject(narrow);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);

  auto image = wince::host::ImageListImage(list, 1);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels[3], RED);
  EXPECT_FALSE(image->transparent[3]);
  EXPECT_EQ(image->pixels[4], RGB(0, 0, 0));  // masked pixels turn black
  EXPECT_TRUE(image->transparent[4]);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx * 100 + cy, 1616);

  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_EQ(wince::host::LiveImageLists(), 0u);
}

TEST(ImageList, BadArgumentsAreRefused) {
  EXPECT_EQ(ImageList_Create(0, 16, ILC_MASK, 1, 1), nullptr);
  HIMAGELIST list = ImageList_Create(32, 16, ILC_MASK, 1, 1);
  HBITMAP small = GreyBitmapWithRedDots(16, 16, 0);  // narrower than one image
  EXPECT_EQ(ImageList_AddMasked(list, small, GREY), -1);
  EXPECT_EQ(ImageList_AddMasked(list, nullptr, GREY), -1);
  EXPECT_EQ(ImageList_AddMasked(nullptr, small, GREY), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  DeleteObject(small);
  ImageList_Destroy(list);
}

}  // namespace
