// The bevelled key face and the dispatch between bevelled and stock faces.
//
// A bevel is two one-pixel rings: the outer one on the key rectangle's edge,
// the inner one a pixel inside it. Raised keys light their top-left edges and
// shade the bottom-right ones; sunken keys draw the top-left in black and the
// bottom-right in the light colour, so the key looks pressed in. Polylines
// leave out their last point, which is why each run ends one pixel further
// than the pixels it is meant to cover.
#include "apicalls/api_gdi.h"
#include "render/key_face.h"

#include "render/palette.h"

namespace tapora {

KeyColours CurrentColours = {0, 0, 0, 0};

namespace {

void DrawBevel(HDC dc, bool raised, const RECT* r) {
  HBRUSH faceBrush = api::CreateSolidBrush(PaletteColour(CurrentColours.face));
  api::FillRect(dc, r, faceBrush);
  api::DeleteObject(faceBrush);

  HPEN lightPen = api::CreatePen(PS_SOLID, 1, PaletteColour(CurrentColours.lightEdge));
  HPEN shadowPen = api::CreatePen(PS_SOLID, 1, PaletteColour(CurrentColours.shadowEdge));
  HPEN blackPen = api::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HPEN topLeftPen = raised ? lightPen : blackPen;
  HPEN bottomRightPen = raised ? shadowPen : lightPen;

  const LONG left = r->left, top = r->top, right = r->right, bottom = r->bottom;
  const POINT outerTopLeft[3] = {{right - 1, top}, {left, top}, {left, bottom}};
  const POINT innerTopLeft[3] = {{right - 2, top + 1}, {left + 1, top + 1}, {left + 1, bottom - 1}};
  const POINT outerBottomRight[3] = {{left + 1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}};
  const POINT innerBottomRight[3] = {
      {left + 2, bottom - 2}, {right - 2, bottom - 2}, {right - 2, top + 1}};

  HGDIOBJ previousPen = api::SelectObject(dc, topLeftPen);
  api::Polyline(dc, outerTopLeft, 3);
  api::Polyline(dc, innerTopLeft, 3);
  api::SelectObject(dc, bottomRightPen);
  api::Polyline(dc, outerBottomRight, 3);
  api::Polyline(dc, innerBottomRight, 3);
  api::SelectObject(dc, previousPen);

  api::DeleteObject(lightPen);
  api::DeleteObject(shadowPen);
  api::DeleteObject(blackPen);
}

}  // namespace

void DrawKeyFace(HDC dc, FaceStyle style, const RECT* keyRect) {
  switch (style) {
    case FaceStyle::Raised: DrawBevel(dc, true, keyRect); break;
    case FaceStyle::Sunken: DrawBevel(dc, false, keyRect); break;
    case FaceStyle::StockUp:
    case FaceStyle::StockDown: DrawStockFace(dc, style, keyRect); break;
  }
}

}  // namespace tapora
