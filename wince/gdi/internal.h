// The GDI object model shared by the files of wince/gdi/: surfaces, the handle
// table of pens, brushes, fonts, bitmaps and device contexts, and the pixel
// primitives every drawing call ends in (device origin, clipping, colour
// conversion for monochrome surfaces).
//
// Pixels are stored as COLORREF values (0x00BBGGRR) in rows of `width`; a
// monochrome surface holds only black (0) and white (0xFFFFFF). Only the
// files of wince/gdi/ change objects; the window code reaches surfaces through
// gdi/surface.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <windows.h>

#include "wince/gdi/font_face.h"

namespace wince::gdi {

struct Surface {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // 1 (monochrome) or 32
  std::vector<COLORREF> pixels;

  bool Mono() const { return bitsPerPixel == 1; }
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  COLORREF& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The largest surface the host makes: far beyond any device screen, small
// enough that a width times height never overflows or exhausts memory.
constexpr int64_t kMaxSurfacePixels = int64_t{1} << 26;

// A new surface, or nullptr when the size is too large or memory runs out.
std::shared_ptr<Surface> MakeSurface(int width, int height, int bitsPerPixel, COLORREF fill = 0);

enum class Kind { Pen, Brush, Font, Bitmap, DC };

struct Object;
struct DeviceContext;

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
};

struct BrushData {
  int style = BS_SOLID;
  COLORREF colour = 0;
};

struct FontData {
  LOGFONTW logFont{};
  std::shared_ptr<FontFace> face;
};

struct BitmapData {
  std::shared_ptr<Surface> surface;
  HDC selectedInto = nullptr;  // a bitmap lives in at most one memory DC
};

struct DeviceContext {
  bool memory = false;
  std::shared_ptr<Surface> surface;  // what drawing lands in
  POINT origin{0, 0};                // device origin of (0, 0) on the surface
  RECT clip{0, 0, 0, 0};             // in surface coordinates, inside the surface
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;  // memory DCs only
  COLORREF textColour = RGB(0, 0, 0);
  COLORREF bkColour = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
  POINT brushOrigin{0, 0};
  POINT position{0, 0};
};

struct Object {
  explicit Object(Kind k) : kind(k) {}
  Kind kind;
  bool stock = false;
  PenData pen;
  BrushData brush;
  FontData font;
  BitmapData bitmap;
  DeviceContext dc;
};

// ---- handle table (objects.cpp)
HGDIOBJ AddObject(Object object);
Object* Find(HGDIOBJ handle);
Object* Find(HGDIOBJ handle, Kind kind);
DeviceContext* FindDC(HDC hdc);  // sets ERROR_INVALID_HANDLE when not a DC
bool RemoveObject(HGDIOBJ handle);
size_t CountObjects(bool includeStock);
// Counts a new object for the host's creation counters (hooks.cpp); stock
// objects are not counted.
void NoteCreated(Kind kind);
HGDIOBJ DefaultBitmap();  // the 1x1 monochrome bitmap of a new memory DC
// The pen, brush and font a DC holds (never null while the DC lives).
const PenData& CurrentPen(const DeviceContext& dc);
const BrushData& CurrentBrush(const DeviceContext& dc);
std::shared_ptr<FontFace> CurrentFace(const DeviceContext& dc);
// Fills the DC's defaults: stock pen, brush and font, colours and modes.
void InitDefaults(DeviceContext& dc);
// Points the DC at a bitmap's surface and resets the clip to it.
void AttachSurface(DeviceContext& dc, std::shared_ptr<Surface> surface);

// ---- pixel primitives (dc.cpp); coordinates are logical (DC) ones
// The value a colour is stored as on this DC's surface: monochrome surfaces
// take black or white, the background colour deciding the nearest-colour ties
// as the platform does.
COLORREF DeviceColour(const DeviceContext& dc, COLORREF colour);
void PlotPixel(DeviceContext& dc, int x, int y, COLORREF deviceColour);
// Fills [x0, x1) x [y0, y1), clipped.
void FillBox(DeviceContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
             COLORREF deviceColour);
// The DC's clip in logical coordinates.
RECT LogicalClip(const DeviceContext& dc);

// ---- lines (lines.cpp)
// Draws the segment from a to b with a one-pixel pen: a drawn, b not.
void DrawSegment(DeviceContext& dc, POINT a, POINT b, COLORREF deviceColour);

// ---- system colours (fill.cpp)
COLORREF SystemColour(int index);
bool IsSystemColourIndex(ULONG_PTR value);

}  // namespace wince::gdi
