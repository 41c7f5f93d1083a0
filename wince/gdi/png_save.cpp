// Saving surfaces as PNG (libpng): 8-bit RGB, no alpha, no interlacing.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <png.h>

#include "wince/host/surface.h"

namespace wince::host {
namespace {

struct File {
  explicit File(const std::filesystem::path& path) : f(std::fopen(path.c_str(), "wb")) {}
  ~File() {
    if (f) std::fclose(f);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  std::FILE* f;
};

bool Write(std::FILE* f, const SurfaceView& view, const RECT& part) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  int width = part.right - part.left;
  int height = part.bottom - part.top;
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) {
      COLORREF c = view.At(x, y);
      png_byte* p = &row[static_cast<size_t>(x - part.left) * 3];
      p[0] = GetRValue(c);
      p[1] = GetGValue(c);
      p[2] = GetBValue(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SavePng(const SurfaceView& view, const std::filesystem::path& file) {
  return SavePng(view, RECT{0, 0, view.width, view.height}, file);
}

bool SavePng(const SurfaceView& view, const RECT& part, const std::filesystem::path& file) {
  RECT r{std::max<LONG>(part.left, 0), std::max<LONG>(part.top, 0),
         std::min<LONG>(part.right, view.width), std::min<LONG>(part.bottom, view.height)};
  // PNG has no empty images.
  if (!view.pixels || r.right <= r.left || r.bottom <= r.top) return false;
  File out(file);
  if (!out.f) return false;
  bool ok = Write(out.f, view, r);
  return std::fflush(out.f) == 0 && ok;
}

}  // namespace wince::host
