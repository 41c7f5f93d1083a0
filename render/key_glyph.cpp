// Glyph geometry. Everything is integer arithmetic truncated toward zero, on
// an inner box 8 pixels in from the sides and 7 from the top and bottom of the
// text rectangle. shaft is half the shaft's thickness, head half the arrow
// head's breadth and depth its length; the horizontal arrows use the same three
// sizes turned on their side. The floors keep arrows visible on small keys; a
// box that is empty or inverted just gives a degenerate shape.
#include "apicalls/api_gdi.h"
#include "render/key_glyph.h"

#include "apicalls/api_text.h"

namespace tapora {

namespace {

struct GlyphBox {
  LONG L, T, R, B;
  LONG cx, cy;
  LONG shaft, head, depth;
};

GlyphBox MeasureBox(const RECT* r) {
  GlyphBox g;
  g.L = r->left + 8;
  g.T = r->top + 7;
  g.R = r->right - 8;
  g.B = r->bottom - 7;
  const LONG W = g.R - g.L;
  const LONG H = g.B - g.T;
  g.cx = g.L + W / 2;
  g.cy = g.T + H / 2;
  // W x 0.05, W x 0.2 and H x 0.33 done in integers: exact, and C++ division
  // truncates toward zero as the fractions do.
  g.shaft = W * 5 / 100;
  if (g.shaft < 1) g.shaft = 1;
  g.head = W * 20 / 100;
  if (g.head < 2) g.head = 2;
  g.depth = H * 33 / 100;
  if (g.depth < 2) g.depth = 2;
  return g;
}

void DrawBar(HDC dc, const GlyphBox& g) {
  const LONG half = g.head + g.head / 2;
  const POINT p[4] = {{g.cx - half - 1, g.B + 3},
                      {g.cx + half - 1, g.B + 3},
                      {g.cx + half - 1, g.B + 2},
                      {g.cx - half - 2, g.B + 2}};
  api::Polyline(dc, p, 4);
}

void DrawUpArrow(HDC dc, const GlyphBox& g) {
  const LONG neck = g.T + g.depth;
  const POINT p[8] = {{g.cx, g.T},           {g.cx - g.head, neck}, {g.cx - g.shaft, neck},
                      {g.cx - g.shaft, g.B}, {g.cx + g.shaft, g.B}, {g.cx + g.shaft, neck},
                      {g.cx + g.head, neck}, {g.cx, g.T}};
  api::Polygon(dc, p, 8);
}

void DrawDownArrow(HDC dc, const GlyphBox& g) {
  const LONG neck = g.B - g.depth;
  const POINT p[8] = {{g.cx, g.B},           {g.cx - g.head, neck}, {g.cx - g.shaft, neck},
                      {g.cx - g.shaft, g.T}, {g.cx + g.shaft, g.T}, {g.cx + g.shaft, neck},
                      {g.cx + g.head, neck}, {g.cx, g.B}};
  api::Polygon(dc, p, 8);
}

void DrawLeftArrow(HDC dc, const GlyphBox& g) {
  const LONG neck = g.L + g.depth;
  const POINT p[8] = {{g.L, g.cy},           {neck, g.cy - g.head}, {neck, g.cy - g.shaft},
                      {g.R, g.cy - g.shaft}, {g.R, g.cy + g.shaft}, {neck, g.cy + g.shaft},
                      {neck, g.cy + g.head}, {g.L, g.cy}};
  api::Polygon(dc, p, 8);
}

void DrawRightArrow(HDC dc, const GlyphBox& g) {
  const LONG neck = g.R - g.depth;
  const POINT p[8] = {{g.R, g.cy},           {neck, g.cy - g.head}, {neck, g.cy - g.shaft},
                      {g.L, g.cy - g.shaft}, {g.L, g.cy + g.shaft}, {neck, g.cy + g.shaft},
                      {neck, g.cy + g.head}, {g.R, g.cy}};
  api::Polygon(dc, p, 8);
}

}  // namespace

void DrawKeyGlyph(HDC dc, LPCWSTR name, const RECT* textRect) {
  const GlyphBox g = MeasureBox(textRect);
  HPEN pen = api::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HBRUSH brush = api::CreateSolidBrush(RGB(0, 0, 0));
  HGDIOBJ previousPen = api::SelectObject(dc, pen);
  HGDIOBJ previousBrush = api::SelectObject(dc, brush);

  // Whole names, case counting: "{NQXU}" names nothing.
  if (api::lstrcmpW(name, TEXT("M}")) == 0) {
    DrawBar(dc, g);
  } else if (api::lstrcmpW(name, TEXT("U")) == 0) {
    DrawUpArrow(dc, g);
  } else if (api::lstrcmpW(name, TEXT("D")) == 0) {
    DrawDownArrow(dc, g);
  } else if (api::lstrcmpW(name, TEXT("L")) == 0) {
    DrawLeftArrow(dc, g);
  } else if (api::lstrcmpW(name, TEXT("R")) == 0) {
    DrawRightArrow(dc, g);
  }

  api::SelectObject(dc, previousBrush);
  api::SelectObject(dc, previousPen);
  api::DeleteObject(pen);
  api::DeleteObject(brush);
}

}  // namespace tapora
