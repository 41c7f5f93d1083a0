// Draws the input method's pictures and writes them where the resource
// script (tapora.rc) picks them up:
//   narrow.bmp   16 x 16, the SIP manager's narrow image (bitmap 207)
//   wide.bmp     32 x 16, its wide image (bitmap 208)
//   options.ico  32 x 32 and 16 x 16, the options dialog's icon (icon 205)
// Each is a small keyboard, drawn below as pixel art in the 16 standard
// colours and written with 4 bits per pixel, which every display of the
// device can show. In the bitmaps '.' is light grey RGB(192,192,192): the
// SIP manager takes that colour as the mask, so it is the background. In the
// icon '.' is transparent: set in the AND mask, black in the colour bits.
// Usage: make_images OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/image_bytes.h"

namespace {

using Art = std::vector<std::string>;

// The 16 standard colours in their usual order, each as a colour table
// stores it: blue, green, red.
constexpr uint8_t kPalette[16][3] = {
    {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128},  {128, 0, 0},    {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},  {0, 255, 255},
    {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};

constexpr int kBlack = 0;
constexpr int kLightGrey = 7;
constexpr int kDarkGrey = 8;
constexpr int kWhite = 15;

const Art kNarrow = {
    "................",
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kggggggggggggggk",
    "kgwgwgwgwgwgwggk",
    "kggggggggggggggk",
    "kggwgwgwgwgwgwgk",
    "kggggggggggggggk",
    "kgwgwgwgwgwgwggk",
    "kggggggggggggggk",
    "kgggwwwwwwwwgggk",
    "kggggggggggggggk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
};

const Art kWide = {
    "................................",
    "................................",
    "................................",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kggggggggggggggggggggggggggggggk",
    "kgwwgwwgwwgwwgwwgwwgwwgwwgwwgggk",
    "kggggggggggggggggggggggggggggggk",
    "kggwwgwwgwwgwwgwwgwwgwwgwwgwwggk",
    "kggggggggggggggggggggggggggggggk",
    "kgwwgwwgwwgwwgwwgwwgwwgwwgwwgggk",
    "kggggggggggggggggggggggggggggggk",
    "kgggggggggwwwwwwwwwwwwgggggggggk",
    "kggggggggggggggggggggggggggggggk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "................................",
    "................................",
};

const Art kIconLarge = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kggggggggggggggggggggggggggggggk",
    "kgwwwgwwwgwwwgwwwgwwwgwwwgwwwggk",
    "kgwwwgwwwgwwwgwwwgwwwgwwwgwwwggk",
    "kggggggggggggggggggggggggggggggk",
    "kgggwwwgwwwgwwwgwwwgwwwgwwwggggk",
    "kgggwwwgwwwgwwwgwwwgwwwgwwwggggk",
    "kggggggggggggggggggggggggggggggk",
    "kgwwwgwwwgwwwgwwwgwwwgwwwgwwwggk",
    "kgwwwgwwwgwwwgwwwgwwwgwwwgwwwggk",
    "kggggggggggggggggggggggggggggggk",
    "kgggggggwwwwwwwwwwwwwwwwgggggggk",
    "kgggggggwwwwwwwwwwwwwwwwgggggggk",
    "kggggggggggggggggggggggggggggggk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

int Index(char c, int background) {
  switch (c) {
    case 'k': return kBlack;
    case 'g': return kDarkGrey;
    case 'w': return kWhite;
    default: return background;
  }
}

bool Fits(const Art& art, size_t width, size_t height) {
  if (art.size() != height) return false;
  for (const std::string& row : art)
    if (row.size() != width) return false;
  return true;
}

using image_bytes::Put16;
using image_bytes::Put32;

uint32_t Stride(int width, int bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

// BITMAPINFOHEADER and the 16-colour table of a 4-bit image; an icon's
// header counts its colour rows and its mask rows together.
void PutHeader(std::vector<uint8_t>& out, int width, int height, uint32_t imageSize) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);   // planes
  Put16(out, 4);   // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, imageSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 16);  // colours used
  Put32(out, 0);
  for (const auto& c : kPalette) {
    out.insert(out.end(), c, c + 3);
    out.push_back(0);
  }
}

// The colour rows, bottom-up, two pixels a byte.
void PutPixels(std::vector<uint8_t>& out, const Art& art, int background) {
  const int width = static_cast<int>(art[0].size());
  for (size_t r = art.size(); r-- > 0;) {
    std::vector<uint8_t> line(Stride(width, 4), 0);
    for (int x = 0; x < width; ++x)
      line[x / 2] |= static_cast<uint8_t>(Index(art[r][x], background) << (x % 2 ? 0 : 4));
    out.insert(out.end(), line.begin(), line.end());
  }
}

// The AND mask, bottom-up: 1 where the icon is transparent.
void PutMask(std::vector<uint8_t>& out, const Art& art) {
  const int width = static_cast<int>(art[0].size());
  for (size_t r = art.size(); r-- > 0;) {
    std::vector<uint8_t> line(Stride(width, 1), 0);
    for (int x = 0; x < width; ++x)
      if (art[r][x] == '.') line[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), line.begin(), line.end());
  }
}

std::vector<uint8_t> Bitmap(const Art& art) {
  const int width = static_cast<int>(art[0].size());
  const int height = static_cast<int>(art.size());
  const uint32_t imageSize = Stride(width, 4) * height;
  const uint32_t offBits = 14 + 40 + 16 * 4;
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, offBits + imageSize);
  Put32(out, 0);
  Put32(out, offBits);
  PutHeader(out, width, height, imageSize);
  PutPixels(out, art, kLightGrey);
  return out;
}

std::vector<uint8_t> IconImage(const Art& art) {
  const int width = static_cast<int>(art[0].size());
  const int height = static_cast<int>(art.size());
  const uint32_t imageSize = (Stride(width, 4) + Stride(width, 1)) * height;
  std::vector<uint8_t> out;
  PutHeader(out, width, 2 * height, imageSize);
  PutPixels(out, art, kBlack);
  PutMask(out, art);
  return out;
}

// An .ico file: ICONDIR, one ICONDIRENTRY per image, then the images.
std::vector<uint8_t> Icon(const std::vector<const Art*>& images) {
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(images.size()));
  std::vector<std::vector<uint8_t>> bodies;
  for (const Art* art : images) bodies.push_back(IconImage(*art));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>((*images[i])[0].size()));
    out.push_back(static_cast<uint8_t>(images[i]->size()));
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, static_cast<uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(bodies[i].size());
  }
  for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_images OUTPUT_FOLDER\n");
    return 2;
  }
  if (!Fits(kNarrow, 16, 16) || !Fits(kWide, 32, 16) || !Fits(kIconLarge, 32, 32)) {
    std::fprintf(stderr, "make_images: a picture has the wrong size\n");
    return 1;
  }
  std::string folder = argv[1];
  using image_bytes::WriteFile;
  if (!WriteFile(folder + "/narrow.bmp", Bitmap(kNarrow)) ||
      !WriteFile(folder + "/wide.bmp", Bitmap(kWide)) ||
      !WriteFile(folder + "/options.ico", Icon({&kIconLarge, &kNarrow}))) {
    std::fprintf(stderr, "make_images: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
