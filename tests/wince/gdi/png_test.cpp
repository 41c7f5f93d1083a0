// Saving surfaces as PNG: the file reads back (libpng) with the same pixels.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/wince/gdi/test_support.h"
#include "wince/host/surface.h"

namespace {

namespace fs = std::filesystem;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<png_byte> rgb;
  COLORREF At(int x, int y) const {
    const png_byte* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
  }
};

bool ReadPng(const fs::path& file, Image* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->rgb.resize(PNG_IMAGE_SIZE(image));
  bool ok = png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("wince_png_" + std::to_string(getpid()) + "_" + name);
}

TEST(GdiPng, SavedSurfacesReadBackPixelForPixel) {
  gdi_test::Canvas canvas(7, 5, RGB(10, 20, 30));
  SetPixel(canvas.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(canvas.dc(), 6, 4, RGB(0, 255, 0));
  SetPixel(canvas.dc(), 3, 2, RGB(1, 2, 250));
  fs::path file = TempFile("whole.png");
  ASSERT_TRUE(wince::host::SavePng(*wince::host::ViewOf(canvas.dc()), file));
  Image image;
  ASSERT_TRUE(ReadPng(file, &image));
  ASSERT_EQ(image.width, 7);
  ASSERT_EQ(image.height, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(image.At(x, y), canvas.At(x, y)) << x << "," << y;
  fs::remove(file);
}

TEST(GdiPng, APartIsCutToTheSurface) {
  gdi_test::Canvas canvas(6, 6, RGB(0, 0, 0));
  SetPixel(canvas.dc(), 4, 3, RGB(9, 99, 199));
  fs::path file = TempFile("part.png");
  ASSERT_TRUE(wince::host::SavePng(*wince::host::ViewOf(canvas.dc()), RECT{4, 3, 60, 60}, file));
  Image image;
  ASSERT_TRUE(ReadPng(file, &image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 3);
  EXPECT_EQ(image.At(0, 0), RGB(9, 99, 199));
  fs::remove(file);
  // Nothing left to save, or nowhere to save it: failure, no file.
  EXPECT_FALSE(wince::host::SavePng(*wince::host::ViewOf(canvas.dc()), RECT{6, 0, 9, 9}, file));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(wince::host::SavePng(*wince::host::ViewOf(canvas.dc()), "/nonexistent/dir/x.png"));
}

TEST(GdiPng, MonochromeBitmapsSaveAsBlackAndWhite) {
  const BYTE bits[] = {0x40, 0x00};
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, bits);
  fs::path file = TempFile("mono.png");
  ASSERT_TRUE(wince::host::SavePng(*wince::host::ViewOfBitmap(mono), file));
  Image image;
  ASSERT_TRUE(ReadPng(file, &image));
  EXPECT_EQ(image.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(image.At(1, 0), RGB(255, 255, 255));
  fs::remove(file);
  DeleteObject(mono);
}

}  // namespace
