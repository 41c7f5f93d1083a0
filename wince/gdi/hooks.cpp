// The GDI test hooks of wince/host/surface.h: surface views and live objects.
#include "wince/host/surface.h"

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::host {
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

}  // namespace wince::host
