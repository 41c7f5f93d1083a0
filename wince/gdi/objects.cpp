// GDI objects: the handle table, stock objects, pens and brushes, and the
// generic object calls (SelectObject, DeleteObject, GetObjectW,
// GetObjectType, GetCurrentObject).
//
// Rules pinned in tests/wince/gdi/objects_test.cpp:
// - stock objects are never destroyed; DeleteObject of one succeeds and does
//   nothing;
// - as on Windows CE, DeleteObject of an object still selected into a device
//   context fails (FALSE) and leaves it alive;
// - a bitmap is selected into at most one memory DC at a time, the stock 1x1
//   monochrome bitmap excepted.
#include <cstring>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/kernel/handle_table.h"
#include "wince/kernel/not_implemented.h"

namespace wince::gdi {
namespace {

// GDI handles take numbers below the heap's range, so no handle of one kind
// can be mistaken for another kind's.
HandleTable<Object>& Table() {
  static HandleTable<Object> table(0x00010000u, 0x00FFFFFCu);
  return table;
}

HGDIOBJ ToHandle(uint32_t number) { return HandleFromNumber(number); }

struct Stock {
  HGDIOBJ objects[DEFAULT_GUI_FONT + 1] = {};
  HGDIOBJ defaultBitmap = nullptr;
};

HGDIOBJ AddStock(Object object) {
  object.stock = true;
  return AddObject(std::move(object));
}

Object MakeBrush(int style, COLORREF colour) {
  Object o{Kind::Brush};
  o.brush.style = style;
  o.brush.colour = colour & 0xFFFFFF;
  return o;
}

Object MakePen(int style, COLORREF colour) {
  Object o{Kind::Pen};
  o.pen.style = style;
  o.pen.width = 1;
  o.pen.colour = colour & 0xFFFFFF;
  return o;
}

Stock& Stocks() {
  static Stock stock = [] {
    Stock s;
    s.objects[WHITE_BRUSH] = AddStock(MakeBrush(BS_SOLID, RGB(255, 255, 255)));
    s.objects[LTGRAY_BRUSH] = AddStock(MakeBrush(BS_SOLID, RGB(192, 192, 192)));
    s.objects[GRAY_BRUSH] = AddStock(MakeBrush(BS_SOLID, RGB(128, 128, 128)));
    s.objects[DKGRAY_BRUSH] = AddStock(MakeBrush(BS_SOLID, RGB(64, 64, 64)));
    s.objects[BLACK_BRUSH] = AddStock(MakeBrush(BS_SOLID, RGB(0, 0, 0)));
    s.objects[NULL_BRUSH] = AddStock(MakeBrush(BS_NULL, 0));
    s.objects[WHITE_PEN] = AddStock(MakePen(PS_SOLID, RGB(255, 255, 255)));
    s.objects[BLACK_PEN] = AddStock(MakePen(PS_SOLID, RGB(0, 0, 0)));
    s.objects[NULL_PEN] = AddStock(MakePen(PS_NULL, 0));
    Object font{Kind::Font};
    font.font.face = OpenFace(false, kSystemFontEm);
    font.font.logFont.lfHeight = -kSystemFontEm;
    font.font.logFont.lfWeight = FW_NORMAL;
    font.font.logFont.lfCharSet = DEFAULT_CHARSET;
    const char16_t name[] = u"DejaVu Sans";
    std::memcpy(font.font.logFont.lfFaceName, name, sizeof(name));
    s.objects[SYSTEM_FONT] = AddStock(font);
    s.objects[DEFAULT_GUI_FONT] = s.objects[SYSTEM_FONT];
    Object bitmap{Kind::Bitmap};
    bitmap.bitmap.surface = MakeSurface(1, 1, 1, 0);
    s.defaultBitmap = AddStock(std::move(bitmap));
    return s;
  }();
  return stock;
}

bool SelectedAnywhere(HGDIOBJ handle) {
  bool selected = false;
  Table().ForEach([&](uint32_t, Object& o) {
    if (o.kind != Kind::DC) return;
    const DeviceContext& dc = o.dc;
    if (dc.pen == handle || dc.brush == handle || dc.font == handle || dc.bitmap == handle)
      selected = true;
  });
  return selected;
}

template <class T>
int CopyOut(const T& value, int c, LPVOID pv) {
  if (!pv) return static_cast<int>(sizeof(T));
  if (c < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(pv, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

}  // namespace

HGDIOBJ AddObject(Object object) {
  const Kind kind = object.kind;
  const bool stock = object.stock;
  uint32_t number = Table().Add(std::move(object));
  if (!number) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  if (number && !stock) NoteCreated(kind);
  return ToHandle(number);
}

Object* Find(HGDIOBJ handle) {
  Stocks();
  return Table().Find(HandleNumber(handle));
}

Object* Find(HGDIOBJ handle, Kind kind) {
  Object* o = Find(handle);
  return o && o->kind == kind ? o : nullptr;
}

DeviceContext* FindDC(HDC hdc) {
  Object* o = Find(hdc, Kind::DC);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &o->dc;
}

bool RemoveObject(HGDIOBJ handle) { return Table().Remove(HandleNumber(handle)); }

size_t CountObjects(bool includeStock) {
  Stocks();
  size_t count = 0;
  Table().ForEach([&](uint32_t, Object& o) {
    if (includeStock || !o.stock) ++count;
  });
  return count;
}

HGDIOBJ DefaultBitmap() { return Stocks().defaultBitmap; }

const PenData& CurrentPen(const DeviceContext& dc) {
  Object* o = Find(dc.pen, Kind::Pen);
  if (!o) o = Find(Stocks().objects[BLACK_PEN]);
  return o->pen;
}

const BrushData& CurrentBrush(const DeviceContext& dc) {
  Object* o = Find(dc.brush, Kind::Brush);
  if (!o) o = Find(Stocks().objects[WHITE_BRUSH]);
  return o->brush;
}

std::shared_ptr<FontFace> CurrentFace(const DeviceContext& dc) {
  Object* o = Find(dc.font, Kind::Font);
  if (!o) o = Find(Stocks().objects[SYSTEM_FONT]);
  return o->font.face;
}

void InitDefaults(DeviceContext& dc) {
  Stock& s = Stocks();
  dc.pen = s.objects[BLACK_PEN];
  dc.brush = s.objects[WHITE_BRUSH];
  dc.font = s.objects[SYSTEM_FONT];
  dc.textColour = RGB(0, 0, 0);
  dc.bkColour = RGB(255, 255, 255);
  dc.bkMode = OPAQUE;
  dc.stretchMode = BLACKONWHITE;
  dc.brushOrigin = POINT{0, 0};
  dc.position = POINT{0, 0};
}

}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" HGDIOBJ WINAPI GetStockObject(int fnObject) {
  Stock& s = Stocks();
  if (fnObject < 0 || fnObject > DEFAULT_GUI_FONT) return nullptr;
  return s.objects[fnObject];
}

extern "C" HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  if (iStyle != PS_SOLID && iStyle != PS_NULL) {
    wince::NotImplemented("CreatePen", "only PS_SOLID and PS_NULL pens");
    return nullptr;
  }
  if (cWidth > 1 && iStyle == PS_SOLID) {
    wince::NotImplemented("CreatePen", "only one-pixel pens");
    return nullptr;
  }
  return static_cast<HPEN>(AddObject(MakePen(iStyle, color)));
}

extern "C" HPEN WINAPI CreatePenIndirect(CONST LOGPEN* plpen) {
  if (!plpen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}

extern "C" HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(AddObject(MakeBrush(BS_SOLID, color)));
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return nullptr;
  Object* o = Find(h);
  if (!o || o->kind == Kind::DC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGDIOBJ previous = nullptr;
  switch (o->kind) {
    case Kind::Pen:
      previous = dc->pen;
      dc->pen = h;
      break;
    case Kind::Brush:
      previous = dc->brush;
      dc->brush = h;
      break;
    case Kind::Font:
      previous = dc->font;
      dc->font = h;
      break;
    case Kind::Bitmap: {
      if (!dc->memory) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      if (dc->bitmap == h) return h;
      if (!o->stock && o->bitmap.selectedInto) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      previous = dc->bitmap;
      if (Object* old = Find(previous, Kind::Bitmap); old && !old->stock)
        old->bitmap.selectedInto = nullptr;
      if (!o->stock) o->bitmap.selectedInto = hdc;
      dc->bitmap = h;
      AttachSurface(*dc, o->bitmap.surface);
      break;
    }
    case Kind::DC:
      break;
  }
  return previous;
}

extern "C" BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  Object* o = Find(ho);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (o->stock) return TRUE;
  if (o->kind == Kind::DC) return DeleteDC(static_cast<HDC>(ho));
  if (SelectedAnywhere(ho)) return FALSE;
  RemoveObject(ho);
  return TRUE;
}

extern "C" DWORD WINAPI GetObjectType(HGDIOBJ h) {
  Object* o = Find(h);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (o->kind) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::DC: return o->dc.memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

extern "C" HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->pen;
    case OBJ_BRUSH: return dc->brush;
    case OBJ_FONT: return dc->font;
    case OBJ_BITMAP: return dc->memory ? dc->bitmap : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

extern "C" int WINAPI GetObjectW(HGDIOBJ h, int c, LPVOID pv) {
  Object* o = Find(h);
  if (!o || o->kind == Kind::DC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (o->kind) {
    case Kind::Pen: {
      LOGPEN lp{};
      lp.lopnStyle = static_cast<UINT>(o->pen.style);
      lp.lopnWidth.x = o->pen.style == PS_NULL ? 0 : o->pen.width;
      lp.lopnColor = o->pen.colour;
      return CopyOut(lp, c, pv);
    }
    case Kind::Brush: {
      LOGBRUSH lb{};
      lb.lbStyle = static_cast<UINT>(o->brush.style);
      lb.lbColor = o->brush.colour;
      return CopyOut(lb, c, pv);
    }
    case Kind::Font: return CopyOut(o->font.logFont, c, pv);
    case Kind::Bitmap: {
      const Surface& s = *o->bitmap.surface;
      BITMAP bm{};
      bm.bmType = 0;
      bm.bmWidth = s.width;
      bm.bmHeight = s.height;
      // Device-dependent rows are padded to 16 bits, as GetObject reports them.
      bm.bmWidthBytes = s.Mono() ? ((s.width + 15) / 16) * 2 : s.width * 4;
      bm.bmPlanes = 1;
      bm.bmBitsPixel = static_cast<WORD>(s.bitsPerPixel);
      bm.bmBits = nullptr;
      return CopyOut(bm, c, pv);
    }
    case Kind::DC: break;
  }
  return 0;
}
