// Fonts of the host: a TrueType face from the host disk rendered through
// FreeType at a whole pixel size, hinted and monochrome, so that every text
// pixel is exactly the text colour. Faces are shared by every font object of
// the same file and size, and cache their glyphs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace wince::gdi {

struct Glyph {
  int advance = 0;  // pixels to the next pen position
  int left = 0;     // bitmap offset from the pen position
  int top = 0;      // rows of the bitmap above the baseline
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> bits;  // width * rows bytes, 1 where the glyph is inked
};

class FontFace {
 public:
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int EmPixels() const { return em_; }
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  int Height() const { return ascent_ + descent_; }
  int AverageWidth() const { return averageWidth_; }
  int MaxWidth() const { return maxWidth_; }
  bool Bold() const { return bold_; }

  // The glyph of a code point (the face's missing-glyph box when it has none).
  const Glyph& GlyphOf(char32_t codePoint);

  friend std::shared_ptr<FontFace> OpenFace(bool bold, int emPixels);

 private:
  FontFace() = default;
  void* face_ = nullptr;  // FT_Face
  int em_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  int averageWidth_ = 0;
  int maxWidth_ = 0;
  bool bold_ = false;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// The system font's size: 11 pixels to the em, 8 points on a 96-dpi screen,
// which gives DejaVu Sans a 13-pixel line, the height of a device's default
// GUI font.
constexpr int kSystemFontEm = 11;

// DejaVu Sans (or DejaVu Sans Bold) at emPixels; nullptr, with a line on
// stderr, when the font file cannot be opened.
std::shared_ptr<FontFace> OpenFace(bool bold, int emPixels);

// The em size that gives a cell (ascent + descent) of cellPixels in DejaVu Sans.
int EmForCellHeight(bool bold, int cellPixels);

// Code points of a UTF-16 run; a surrogate pair counts as one code point on
// its first unit and as an empty (zero-advance) unit on its second.
char32_t CodePointAt(const char16_t* text, int count, int index, bool* secondHalf);

}  // namespace wince::gdi
