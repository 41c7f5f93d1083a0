// Icons: drawing as (screen AND mask) XOR image, icons made from bitmaps and
// from resource images, the directory entry LoadIconW takes, malformed
// resources, and the icon static control.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"
#include "wince/host/surface.h"
#include "wince/user/icon_resource.h"
#include "window_test_support.h"

namespace {

using gdi_test::Canvas;
using wince::win::ChooseIconEntry;
using wince::win::CreateIconFromImage;

constexpr COLORREF kField = RGB(0x40, 0x80, 0xC0);

// A 2 x 2 icon: the mask lets the screen through in its left column; the
// image is black and blue on the left, red and green on the right.
HICON TwoByTwo() {
  const BYTE image[] = {0, 0, 0, 0, 0, 0, 0xFF, 0,      // black, red
                        0xFF, 0, 0, 0, 0, 0xFF, 0, 0};  // blue, green
  const BYTE mask[] = {0x80, 0, 0x80, 0};               // rows padded to 16 bits
  HBITMAP colour = CreateBitmap(2, 2, 1, 32, image);
  HBITMAP and_ = CreateBitmap(2, 2, 1, 1, mask);
  ICONINFO info{TRUE, 1, 1, and_, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(and_);
  return icon;
}

TEST(Icons, DrawingAndsTheMaskThenXorsTheImage) {
  struct Case {
    UINT flags;
    COLORREF expected[4];  // (0,0), (1,0), (0,1), (1,1)
  };
  const Case cases[] = {
      {DI_NORMAL, {kField, RGB(255, 0, 0), kField ^ RGB(0, 0, 255), RGB(0, 255, 0)}},
      {DI_MASK, {kField, 0, kField, 0}},
      {DI_IMAGE, {0, RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)}},
  };
  size_t live = wince::host::LiveGdiObjects();
  HICON icon = TwoByTwo();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(wince::host::LiveGdiObjects(), live);  // kept as pixels, the bitmaps deleted
  for (const Case& c : cases) {
    Canvas canvas(4, 4, kField);
    EXPECT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon, 0, 0, 0, nullptr, c.flags));
    EXPECT_EQ(canvas.At(1, 1), c.expected[0]) << c.flags;
    EXPECT_EQ(canvas.At(2, 1), c.expected[1]) << c.flags;
    EXPECT_EQ(canvas.At(1, 2), c.expected[2]) << c.flags;
    EXPECT_EQ(canvas.At(2, 2), c.expected[3]) << c.flags;
  }
  EXPECT_TRUE(DestroyIcon(icon));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_EQ(GetLastError(), 1414u);  // ERROR_INVALID_ICON_HANDLE
}

std::vector<BYTE> Directory(std::initializer_list<std::array<int, 4>> entries) {
  std::vector<BYTE> dir = {0, 0, 1, 0, static_cast<BYTE>(entries.size()), 0};
  for (const auto& [width, height, bits, id] : entries) {
    BYTE entry[14] = {static_cast<BYTE>(width), static_cast<BYTE>(height), 0, 0, 1, 0,
                      static_cast<BYTE>(bits), 0, 0, 0, 0, 0, static_cast<BYTE>(id), 0};
    dir.insert(dir.end(), entry, entry + 14);
  }
  return dir;
}

TEST(Icons, LoadIconTakesTheEntryClosestToTheIconSizeThenToTheDisplaysDepth) {
  struct Case {
    std::vector<BYTE> directory;
    std::optional<WORD> id;
  };
  std::vector<BYTE> cursor = Directory({{32, 32, 4, 1}});
  cursor[2] = 2;
  std::vector<BYTE> cut = Directory({{32, 32, 4, 1}, {16, 16, 4, 2}});
  cut.pop_back();
  const Case cases[] = {
      {Directory({{16, 16, 4, 1}, {32, 32, 4, 2}, {32, 32, 8, 3}, {48, 48, 32, 4}}), 3},
      {Directory({{16, 16, 32, 1}, {48, 48, 32, 2}}), 1},  // a tie: the first
      {Directory({{0, 0, 32, 9}, {64, 64, 1, 8}}), 8},      // 0 is 256 pixels
      {Directory({}), std::nullopt},
      {cursor, std::nullopt},
      {cut, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseIconEntry(c.directory), c.id);
}

// An RT_ICON image: 32 x 32 at 4 bits; the mask lets the screen through in
// the left half, where the image is black (colour 0); the right half is
// colour 1 (red) above and colour 2 (blue) below.
std::vector<BYTE> IconImage() {
  std::vector<BYTE> dib(40 + 16 * 4, 0);
  const uint32_t header[] = {40, 32, 64};
  std::memcpy(dib.data(), header, sizeof(header));
  dib[12] = 1;   // planes
  dib[14] = 4;   // bits
  dib[40 + 4 + 2] = 0xFF;  // colour 1: red (blue, green, red, 0)
  dib[40 + 8 + 0] = 0xFF;  // colour 2: blue
  for (int row = 0; row < 32; ++row) {  // bottom-up
    BYTE pair = row < 16 ? 0x22 : 0x11;
    dib.insert(dib.end(), 8, 0x00);
    dib.insert(dib.end(), 8, pair);
  }
  for (int row = 0; row < 32; ++row) dib.insert(dib.end(), {0xFF, 0xFF, 0x00, 0x00});
  return dib;
}

TEST(Icons, ResourceImagesAreReadAndEveryCutIsRefused) {
  std::vector<BYTE> image = IconImage();
  HICON icon = CreateIconFromImage(image);
  ASSERT_NE(icon, nullptr);
  Canvas canvas(32, 32, kField);
  EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, icon));
  EXPECT_EQ(canvas.At(5, 5), kField);
  EXPECT_EQ(canvas.At(20, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(20, 25), RGB(0, 0, 255));
  DestroyIcon(icon);
  for (size_t size = 0; size < image.size(); size += 7) {
    std::vector<BYTE> cut(image.begin(), image.begin() + static_cast<ptrdiff_t>(size));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateIconFromImage(cut), nullptr) << size;
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_DATA}) << size;
  }
  std::vector<BYTE> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  png.resize(64, 0);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(CreateIconFromImage(png), nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_CALL_NOT_IMPLEMENTED});
  EXPECT_EQ(LoadIconW(nullptr, IDI_APPLICATION), nullptr);  // the system's icons
  EXPECT_EQ(GetLastError(), DWORD{ERROR_CALL_NOT_IMPLEMENTED});
  EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
}

class IconStaticTest : public window_test::WindowTest {};

TEST_F(IconStaticTest, AnIconStaticTakesTheIconsSizeAndDrawsIt) {
  HICON first = CreateIconFromImage(IconImage()), second = TwoByTwo();
  HWND control = CreateWindowExW(0, u"Static", u"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 50,
                                 50, screen_, nullptr, Instance(), nullptr);
  EXPECT_EQ(SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(second), 0), 0);
  EXPECT_EQ(SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(first), 0),
            reinterpret_cast<LRESULT>(second));
  wince::host::PumpMessages();
  RECT r;
  GetClientRect(control, &r);
  EXPECT_EQ(r.right * 100 + r.bottom, 3232);  // 32 x 32
  EXPECT_EQ(wince::host::WindowPixel(control, 20, 5), RGB(255, 0, 0));
  EXPECT_EQ(wince::host::WindowPixel(control, 5, 5), GetSysColor(COLOR_STATIC));
  DestroyWindow(control);
  DestroyIcon(first);
  DestroyIcon(second);
}

}  // namespace
