// FreeType behind the host's fonts: opening DejaVu Sans at a pixel size,
// Windows-style cell metrics from the face's OS/2 table, and monochrome,
// hinted glyph bitmaps.
#include "wince/gdi/font_face.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace wince::gdi {
namespace {

constexpr const char* kRegularFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
      std::fprintf(stderr, "wince: FreeType could not be initialised\n");
      return static_cast<FT_Library>(nullptr);
    }
    return lib;
  }();
  return library;
}

FT_Face OpenFile(bool bold) {
  FT_Library lib = Library();
  if (!lib) return nullptr;
  const char* file = bold ? kBoldFile : kRegularFile;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, file, 0, &face) != 0) {
    std::fprintf(stderr, "wince: font file %s cannot be opened (install fonts-dejavu-core)\n",
                 file);
    return nullptr;
  }
  return face;
}

// Windows takes a cell from the OS/2 table's win metrics; hhea is the
// fallback for faces without one.
void DesignMetrics(FT_Face face, int* ascent, int* descent) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && (os2->usWinAscent || os2->usWinDescent)) {
    *ascent = os2->usWinAscent;
    *descent = os2->usWinDescent;
  } else {
    *ascent = face->ascender;
    *descent = -face->descender;
  }
}

int Scale(int designUnits, int em, int unitsPerEm) {
  return static_cast<int>(std::lround(static_cast<double>(designUnits) * em / unitsPerEm));
}

}  // namespace

FontFace::~FontFace() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

std::shared_ptr<FontFace> OpenFace(bool bold, int emPixels) {
  if (emPixels < 1) emPixels = 1;
  if (emPixels > 1000) emPixels = 1000;
  static std::map<std::pair<bool, int>, std::weak_ptr<FontFace>> cache;
  auto key = std::make_pair(bold, emPixels);
  if (auto existing = cache[key].lock()) return existing;

  FT_Face ftFace = OpenFile(bold);
  if (!ftFace) return nullptr;
  std::shared_ptr<FontFace> face(new FontFace());
  face->face_ = ftFace;
  face->em_ = emPixels;
  face->bold_ = bold;
  FT_Set_Pixel_Sizes(ftFace, 0, static_cast<FT_UInt>(emPixels));
  int ascent = 0;
  int descent = 0;
  DesignMetrics(ftFace, &ascent, &descent);
  face->ascent_ = Scale(ascent, emPixels, ftFace->units_per_EM);
  face->descent_ = Scale(descent, emPixels, ftFace->units_per_EM);
  // tmAveCharWidth is the OS/2 table's average width, as Windows reports it
  // for TrueType faces; the lower-case x stands in when a face has none.
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
  face->averageWidth_ = os2 && os2->xAvgCharWidth > 0
                            ? Scale(os2->xAvgCharWidth, emPixels, ftFace->units_per_EM)
                            : face->GlyphOf(U'x').advance;
  face->maxWidth_ = Scale(static_cast<int>(ftFace->max_advance_width), emPixels,
                          ftFace->units_per_EM);
  cache[key] = face;
  return face;
}

int EmForCellHeight(bool bold, int cellPixels) {
  FT_Face face = OpenFile(bold);
  if (!face) return cellPixels;
  int ascent = 0;
  int descent = 0;
  DesignMetrics(face, &ascent, &descent);
  int em = static_cast<int>(
      std::lround(static_cast<double>(cellPixels) * face->units_per_EM / (ascent + descent)));
  FT_Done_Face(face);
  return em < 1 ? 1 : em;
}

const Glyph& FontFace::GlyphOf(char32_t codePoint) {
  auto found = glyphs_.find(codePoint);
  if (found != glyphs_.end()) return found->second;
  Glyph glyph;
  auto* face = static_cast<FT_Face>(face_);
  FT_UInt index = FT_Get_Char_Index(face, codePoint);
  if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.bits.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (int row = 0; row < glyph.rows; ++row) {
      const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      for (int col = 0; col < glyph.width; ++col) {
        bool inked = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                         ? (line[col >> 3] & (0x80 >> (col & 7))) != 0
                         : line[col] >= 128;
        glyph.bits[static_cast<size_t>(row) * glyph.width + col] = inked ? 1 : 0;
      }
    }
  }
  return glyphs_.emplace(codePoint, std::move(glyph)).first->second;
}

char32_t CodePointAt(const char16_t* text, int count, int index, bool* secondHalf) {
  *secondHalf = false;
  char16_t unit = text[index];
  if (unit >= 0xD800 && unit <= 0xDBFF && index + 1 < count) {
    char16_t next = text[index + 1];
    if (next >= 0xDC00 && next <= 0xDFFF)
      return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (next - 0xDC00);
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF && index > 0) {
    char16_t previous = text[index - 1];
    if (previous >= 0xD800 && previous <= 0xDBFF) {
      *secondHalf = true;
      return 0;
    }
  }
  return unit;
}

}  // namespace wince::gdi
