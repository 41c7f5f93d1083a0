// The GDI test hooks of wince/host/surface.h: surface views, live objects and
// the count of objects created.
#include "wince/host/surface.h"

#include <windows.h>

#include <array>

#include "wince/gdi/internal.h"

namespace wince {
namespace {

std::array<size_t, 5> created{};  // by gdi::Kind

}  // namespace

void gdi::NoteCreated(Kind kind) { ++created[static_cast<size_t>(kind)]; }

namespace host {
namespace {

std::optional<SurfaceView> View(const std::shared_ptr<gdi::Surface>& surface) {
  if (!surface) return std::nullopt;
  SurfaceView view;
  view.width = surface->width;
  view.height = surface->height;
  view.bitsPerPixel = surface->bitsPerPixel;
  view.pixels = std::shared_ptr<const COLORREF>(surface, surface->pixels.data());
  return view;
}

}  // namespace

std::optional<SurfaceView> ViewOf(HDC hdc) {
  gdi::Object* o = gdi::Find(hdc, gdi::Kind::DC);
  if (!o) return std::nullopt;
  return View(o->dc.surface);
}

std::optional<SurfaceView> ViewOfBitmap(HBITMAP bitmap) {
  gdi::Object* o = gdi::Find(bitmap, gdi::Kind::Bitmap);
  if (!o) return std::nullopt;
  return View(o->bitmap.surface);
}

size_t LiveGdiObjects() { return gdi::CountObjects(false); }

size_t GdiObjectsCreated() {
  using gdi::Kind;
  size_t total = 0;
  for (Kind kind : {Kind::Pen, Kind::Brush, Kind::Font, Kind::Bitmap}) {
    total += created[static_cast<size_t>(kind)];
  }
  return total;
}

size_t DeviceContextsCreated() { return created[static_cast<size_t>(gdi::Kind::DC)]; }

}  // namespace host
}  // namespace wince
