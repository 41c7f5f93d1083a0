// Draws the two key faces of STOCK.DLL, 100 x 100 pixels each, and writes
// them as 24-bit BMP files: bitmap 101 (key up) and bitmap 103 (key down).
// The artwork is made here, in code: a rounded key on a dark slate border,
// lit from above when up, pressed in with the light from below when down.
// Usage: make_key_faces OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/image_bytes.h"

namespace {

constexpr int kSize = 100;
constexpr double kRadius = 14.0;  // corner radius; stays inside the 15-pixel caps
constexpr double kInset = 2.0;    // border between the key and the bitmap's edge

struct Colour {
  double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Signed distance from (x, y) to the rounded rectangle's outline (negative inside).
double Distance(double x, double y) {
  double lo = kInset + kRadius;
  double hi = kSize - kInset - kRadius;
  double dx = x < lo ? lo - x : (x > hi ? x - hi : 0.0);
  double dy = y < lo ? lo - y : (y > hi ? y - hi : 0.0);
  if (dx > 0 && dy > 0) return std::sqrt(dx * dx + dy * dy) - kRadius;
  return std::max(dx, dy) - kRadius;
}

struct Style {
  Colour top, bottom;  // face gradient
  Colour rim;          // one-pixel outline
  Colour glint;        // bevel on the lit side
  bool litFromAbove;
};

Colour Shade(const Style& s, double x, double y) {
  const Colour border{58, 64, 74};
  double d = Distance(x, y);
  if (d > 0) return border;
  double t = (y - kInset) / (kSize - 2 * kInset);
  Colour face = Mix(s.top, s.bottom, t);
  if (d > -1.2) return s.rim;
  // A soft bevel two or three pixels wide along the lit edge.
  if (d > -4.0) {
    bool litSide = s.litFromAbove ? y < kSize * 0.5 : y > kSize * 0.5;
    double weight = (4.0 + d) / 2.8;
    return litSide ? Mix(face, s.glint, 0.55 * weight) : Mix(face, s.rim, 0.35 * weight);
  }
  return face;
}

void Render(const Style& style, std::vector<uint8_t>& rgb) {
  rgb.assign(kSize * kSize * 3, 0);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      // 4 x 4 samples per pixel smooth the corners.
      Colour sum{0, 0, 0};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          Colour c = Shade(style, x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      uint8_t* p = &rgb[(static_cast<size_t>(y) * kSize + x) * 3];
      p[0] = static_cast<uint8_t>(std::lround(sum.r / 16));
      p[1] = static_cast<uint8_t>(std::lround(sum.g / 16));
      p[2] = static_cast<uint8_t>(std::lround(sum.b / 16));
    }
}

using image_bytes::Put16;
using image_bytes::Put32;

bool WriteBmp(const std::string& path, const std::vector<uint8_t>& rgb) {
  const uint32_t stride = (kSize * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * kSize;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  Put32(out, 40);     // biSize
  Put32(out, kSize);  // biWidth
  Put32(out, kSize);  // biHeight: bottom-up rows
  Put16(out, 1);      // biPlanes
  Put16(out, 24);     // biBitCount
  Put32(out, 0);      // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      const uint8_t* p = &rgb[(static_cast<size_t>(y) * kSize + x) * 3];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
    for (uint32_t pad = kSize * 3; pad < stride; ++pad) out.push_back(0);
  }
  return image_bytes::WriteFile(path, out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_key_faces OUTPUT_FOLDER\n");
    return 2;
  }
  const Style up{{242, 244, 247}, {198, 203, 212}, {132, 138, 150}, {255, 255, 255}, true};
  const Style down{{168, 174, 186}, {200, 205, 214}, {92, 98, 110}, {224, 228, 236}, false};
  std::vector<uint8_t> rgb;
  std::string folder = argv[1];
  Render(up, rgb);
  if (!WriteBmp(folder + "/key_up.bmp", rgb)) return 1;
  Render(down, rgb);
  if (!WriteBmp(folder + "/key_down.bmp", rgb)) return 1;
  return 0;
}
