// Image lists: ImageList_Create, ImageList_AddMasked, ImageList_GetImageCount,
// ImageList_GetIconSize, ImageList_Destroy.
//
// A list keeps its images as copies, so the caller may delete the bitmap it
// added from. AddMasked splits a bitmap into as many images as its width holds
// (whole images only), builds each mask from the pixels of the mask colour and,
// as the platform does, turns those pixels black in the image so that the
// image can be drawn over any background.
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/host/image_lists.h"
#include "wince/kernel/fault_points.h"
#include "wince/kernel/handle_table.h"

namespace wince::comctl {
namespace {

struct ImageList {
  int width = 0;
  int height = 0;
  bool masked = false;
  std::vector<host::ListImage> images;
};

// Image lists are few; their numbers stay below every other table's range.
HandleTable<ImageList>& Lists() {
  static HandleTable<ImageList> table(0x00000010u, 0x000000FCu);
  return table;
}

ImageList* Find(HIMAGELIST himl) { return Lists().Find(HandleNumber(himl)); }

}  // namespace
}  // namespace wince::comctl

using namespace wince;

extern "C" HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (faults::ShouldFail(host::Call::ImageList_Create)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (cx <= 0 || cy <= 0 || int64_t{cx} * cy > gdi::kMaxSurfacePixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  comctl::ImageList list;
  list.width = cx;
  list.height = cy;
  list.masked = (flags & ILC_MASK) != 0;
  const uint32_t number = comctl::Lists().Add(std::move(list));
  if (number == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return reinterpret_cast<HIMAGELIST>(HandleFromNumber(number));
}

extern "C" BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
  return comctl::Lists().Remove(HandleNumber(himl)) ? TRUE : FALSE;
}

extern "C" int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  comctl::ImageList* list = comctl::Find(himl);
  gdi::Object* bitmap = gdi::Find(hbmImage, gdi::Kind::Bitmap);
  if (list == nullptr || bitmap == nullptr || !bitmap->bitmap.surface) return -1;
  const gdi::Surface& source = *bitmap->bitmap.surface;
  const int count = source.height >= list->height ? source.width / list->width : 0;
  if (count == 0) return -1;
  const int first = static_cast<int>(list->images.size());
  for (int i = 0; i < count; ++i) {
    host::ListImage image;
    image.width = list->width;
    image.height = list->height;
    for (int y = 0; y < list->height; ++y) {
      for (int x = 0; x < list->width; ++x) {
        const COLORREF pixel = source.At(i * list->width + x, y);
        const bool transparent = list->masked && pixel == crMask;
        image.pixels.push_back(transparent ? RGB(0, 0, 0) : pixel);
        image.transparent.push_back(transparent);
      }
    }
    list->images.push_back(std::move(image));
  }
  return first;
}

extern "C" int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
  comctl::ImageList* list = comctl::Find(himl);
  return list ? static_cast<int>(list->images.size()) : 0;
}

extern "C" BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  comctl::ImageList* list = comctl::Find(himl);
  if (list == nullptr || cx == nullptr || cy == nullptr) return FALSE;
  *cx = list->width;
  *cy = list->height;
  return TRUE;
}

namespace wince::host {

size_t LiveImageLists() { return comctl::Lists().Size(); }

std::optional<ListImage> ImageListImage(HIMAGELIST himl, int index) {
  comctl::ImageList* list = comctl::Find(himl);
  if (list == nullptr || index < 0 || index >= static_cast<int>(list->images.size()))
    return std::nullopt;
  return list->images[static_cast<size_t>(index)];
}

}  // namespace wince::host
