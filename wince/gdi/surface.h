// What the window code needs from GDI: surfaces that windows draw into, and
// display device contexts onto a part of one (a window's client area).
// Window device contexts are not memory DCs: no bitmap can be selected into
// them, and what they draw lands in the surface given here.
#pragma once

#include <memory>

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::gdi {

// A colour surface (32 bits per pixel) filled with one colour; nullptr when
// the size is refused.
std::shared_ptr<Surface> CreateScreenSurface(int width, int height, COLORREF fill);

// A display DC whose logical (0, 0) is `origin` on the surface and whose
// drawing is clipped to `clip` (surface coordinates, cut to the surface). It
// starts with the platform's defaults. Free it with DeleteDC.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, RECT clip);

// Moves a display DC (a window that moved or was resized).
bool SetSurfaceDCGeometry(HDC hdc, POINT origin, RECT clip);

}  // namespace wince::gdi
