// Icons: LoadIconW, CreateIconIndirect, GetIconInfo, DestroyIcon, DrawIconEx
// and DrawIcon.
//
// An icon is a colour image (XOR) and a mask (AND: where it is set the
// screen shows through); drawing sets each pixel to (screen AND mask) XOR
// image. The host keeps icons as pixels, not as GDI bitmaps, so an icon is
// never counted among live GDI objects.
//
// LoadIconW reads a module's resources as the platform lays them out: the
// RT_GROUP_ICON resource is a directory (WORD reserved 0, WORD type 1, WORD
// count, then 14-byte entries: BYTE width, BYTE height (0 means 256), BYTE
// colours, BYTE reserved, WORD planes, WORD bit count, DWORD size, WORD id);
// the entry closest to SM_CXICON x SM_CYICON (the smallest |dx| + |dy|, then
// the bit count closest to the display's 32) names an RT_ICON resource: a
// BITMAPINFOHEADER whose height counts both halves, its colour table, the
// XOR rows, then the 1-bit AND rows, all bottom-up and padded to 32 bits.
// Every length is checked against the resource before it is read. Icons
// loaded from identical resource bytes are one shared icon, which
// DestroyIcon leaves alone, as the platform does with LoadIcon's icons.
// Windows CE draws an icon at its own size with DrawIcon.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include <windows.h>

#include "wince/host/surface.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"
#include "wince/user/icon_resource.h"

namespace wince::win {
namespace {

constexpr DWORD kErrorInvalidIconHandle = 1414;
constexpr uintptr_t kFirstIcon = 0x30000;
constexpr size_t kGroupHeader = 6, kGroupEntry = 14, kDibHeader = 40;
constexpr int kDisplayBits = 32;

struct Icon {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> image;
  std::vector<uint8_t> mask;  // 1: the screen shows through
  bool shared = false;
};

struct Icons {
  std::map<HICON, Icon> icons;
  std::map<std::vector<BYTE>, HICON> shared;
  uintptr_t next = kFirstIcon;
};

Icons& State() {
  static Icons icons;
  return icons;
}

uint32_t U32(const BYTE* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t U16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

HICON Add(Icon icon) {
  Icons& s = State();
  auto handle = reinterpret_cast<HICON>(s.next);
  s.next += 4;
  s.icons.emplace(handle, std::move(icon));
  return handle;
}

Icon* Find(HICON handle) {
  auto it = State().icons.find(handle);
  return it == State().icons.end() ? nullptr : &it->second;
}

std::optional<WORD> ChooseEntry(const BYTE* dir, size_t size) {
  if (!dir || size < kGroupHeader || U16(dir) != 0 || U16(dir + 2) != 1) return std::nullopt;
  size_t count = U16(dir + 4);
  if (count == 0 || size < kGroupHeader + count * kGroupEntry) return std::nullopt;
  int want = GetSystemMetrics(SM_CXICON), wantHigh = GetSystemMetrics(SM_CYICON);
  auto sizeDiff = [&](const BYTE* e) {
    int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    return std::abs(want - w) + std::abs(wantHigh - h);
  };
  int bestSize = INT32_MAX;
  for (size_t i = 0; i < count; ++i) bestSize = std::min(bestSize, sizeDiff(dir + kGroupHeader + i * kGroupEntry));
  std::optional<WORD> best;
  int bestColour = INT32_MAX;
  for (size_t i = 0; i < count; ++i) {
    const BYTE* e = dir + kGroupHeader + i * kGroupEntry;
    int colour = std::abs(kDisplayBits - U16(e + 6));
    if (sizeDiff(e) == bestSize && colour < bestColour) {
      bestColour = colour;
      best = U16(e + 12);
    }
  }
  return best;
}

std::optional<Icon> Malformed() {
  SetLastError(ERROR_INVALID_DATA);
  return std::nullopt;
}

// The icon of an RT_ICON resource; nullopt, with the last error set, when it
// is malformed or of a kind the host does not read.
std::optional<Icon> IconFromDib(const BYTE* dib, size_t size) {
  if (!dib || size < kDibHeader) return Malformed();
  if (size >= 8 && std::memcmp(dib, "\x89PNG", 4) == 0) {
    NotImplemented("LoadIconW", "PNG icon images");
    return std::nullopt;
  }
  uint32_t headerSize = U32(dib);
  auto width = static_cast<int32_t>(U32(dib + 4));
  auto fullHeight = static_cast<int32_t>(U32(dib + 8));
  uint16_t bits = U16(dib + 14);
  uint32_t used = U32(dib + 32);
  if (headerSize < kDibHeader || headerSize > size || width <= 0 || width > 1024 ||
      fullHeight <= 0 || fullHeight > 2048 || fullHeight % 2 != 0 || U32(dib + 16) != BI_RGB)
    return Malformed();
  int height = fullHeight / 2;
  uint64_t palette = bits <= 8 ? (used ? used : (1u << bits)) : 0;
  if (bits <= 8 && palette > (1u << bits)) return Malformed();
  uint64_t imageStride = ((uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32) * 4;
  uint64_t maskStride = ((uint64_t{static_cast<uint32_t>(width)} + 31) / 32) * 4;
  uint64_t imageAt = headerSize + palette * 4;
  uint64_t maskAt = imageAt + imageStride * height;
  if (maskAt + maskStride * height > size) return Malformed();
  // The XOR half is an ordinary packed DIB of half the height.
  std::vector<BYTE> half(dib, dib + maskAt);
  half[8] = static_cast<BYTE>(height);
  half[9] = static_cast<BYTE>(height >> 8);
  half[10] = half[11] = 0;
  std::memset(half.data() + 20, 0, 4);  // biSizeImage
  HBITMAP image = host::CreateBitmapFromPackedDib(half.data(), half.size());
  auto view = image ? host::ViewOfBitmap(image) : std::nullopt;
  if (!view) {
    if (image) DeleteObject(image);
    return Malformed();
  }
  Icon icon;
  icon.width = width;
  icon.height = height;
  icon.image.assign(view->pixels.get(), view->pixels.get() + static_cast<size_t>(width) * height);
  DeleteObject(image);
  icon.mask.resize(static_cast<size_t>(width) * height);
  for (int row = 0; row < height; ++row) {
    const BYTE* line = dib + maskAt + maskStride * static_cast<uint64_t>(row);
    int y = height - 1 - row;
    for (int x = 0; x < width; ++x)
      icon.mask[static_cast<size_t>(y) * width + x] = (line[x / 8] >> (7 - x % 8)) & 1;
  }
  return icon;
}

const BYTE* ResourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type, size_t* size) {
  HRSRC found = FindResourceW(instance, name, type);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  *size = SizeofResource(instance, found);
  return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

HBITMAP BitmapOf(int width, int height, int bits, const std::vector<BYTE>& data) {
  return CreateBitmap(width, height, 1, static_cast<UINT>(bits), data.data());
}

}  // namespace

std::optional<WORD> ChooseIconEntry(std::span<const uint8_t> directory) {
  return ChooseEntry(directory.data(), directory.size());
}

HICON CreateIconFromImage(std::span<const uint8_t> image) {
  std::optional<Icon> icon = IconFromDib(image.data(), image.size());
  return icon ? Add(std::move(*icon)) : nullptr;
}

bool IconSize(HICON handle, SIZE* size) {
  Icon* icon = handle ? Find(handle) : nullptr;
  if (!icon) return false;
  *size = SIZE{icon->width, icon->height};
  return true;
}

}  // namespace wince::win

using namespace wince::win;

extern "C" HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  if (!instance) {
    wince::NotImplemented("LoadIconW", "the system's own icons (IDI_*)");
    return nullptr;
  }
  size_t size = 0;
  const BYTE* group = ResourceBytes(instance, name, RT_GROUP_ICON, &size);
  if (!group) return nullptr;
  std::optional<WORD> id = ChooseEntry(group, size);
  const BYTE* dib = id ? ResourceBytes(instance, MAKEINTRESOURCEW(*id), RT_ICON, &size) : nullptr;
  if (!dib) {
    if (!id) SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::vector<BYTE> key(dib, dib + size);
  if (auto it = State().shared.find(key); it != State().shared.end()) return it->second;
  std::optional<Icon> icon = IconFromDib(dib, size);
  if (!icon) return nullptr;
  icon->shared = true;
  HICON handle = Add(std::move(*icon));
  State().shared.emplace(std::move(key), handle);
  return handle;
}

extern "C" HICON WINAPI CreateIconIndirect(PICONINFO info) {
  if (!info || !info->hbmMask) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto mask = wince::host::ViewOfBitmap(info->hbmMask);
  auto colour = info->hbmColor ? wince::host::ViewOfBitmap(info->hbmColor) : std::nullopt;
  if (!mask || (info->hbmColor && !colour)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Without a colour bitmap the mask holds both halves: AND above, XOR below.
  Icon icon;
  icon.width = colour ? colour->width : mask->width;
  icon.height = colour ? colour->height : mask->height / 2;
  int imageTop = colour ? 0 : icon.height;
  if (mask->width < icon.width || mask->height < icon.height + imageTop) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) {
      icon.mask.push_back(mask->At(x, y) != 0 ? 1 : 0);
      icon.image.push_back(colour ? colour->At(x, y) : mask->At(x, y + imageTop));
    }
  }
  return Add(std::move(icon));
}

// Fresh bitmaps the caller deletes: a 32-bit colour image and a 1-bit mask.
extern "C" BOOL WINAPI GetIconInfo(HICON handle, PICONINFO info) {
  Icon* icon = Find(handle);
  if (!icon || !info) {
    SetLastError(icon ? ERROR_INVALID_PARAMETER : kErrorInvalidIconHandle);
    return FALSE;
  }
  size_t maskStride = ((static_cast<size_t>(icon->width) + 15) / 16) * 2;
  std::vector<BYTE> image, mask(maskStride * icon->height, 0);
  for (int y = 0; y < icon->height; ++y) {
    for (int x = 0; x < icon->width; ++x) {
      COLORREF c = icon->image[static_cast<size_t>(y) * icon->width + x];
      image.insert(image.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
      if (icon->mask[static_cast<size_t>(y) * icon->width + x])
        mask[maskStride * y + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  *info = ICONINFO{TRUE, static_cast<DWORD>(icon->width / 2), static_cast<DWORD>(icon->height / 2),
                   BitmapOf(icon->width, icon->height, 1, mask),
                   BitmapOf(icon->width, icon->height, 32, image)};
  return TRUE;
}

extern "C" BOOL WINAPI DestroyIcon(HICON handle) {
  Icon* icon = Find(handle);
  if (!icon) {
    SetLastError(kErrorInvalidIconHandle);
    return FALSE;
  }
  if (!icon->shared) State().icons.erase(handle);
  return TRUE;
}

extern "C" BOOL WINAPI DrawIconEx(HDC hdc, int left, int top, HICON handle, int width,
                                  int height, UINT, HBRUSH background, UINT flags) {
  Icon* icon = Find(handle);
  if (!icon) {
    SetLastError(kErrorInvalidIconHandle);
    return FALSE;
  }
  if (!(flags & DI_NORMAL)) return TRUE;
  if (width <= 0) width = icon->width;
  if (height <= 0) height = icon->height;
  if (background) {
    RECT r{left, top, left + width, top + height};
    if (!FillRect(hdc, &r, background)) return FALSE;
  }
  for (int y = 0; y < height; ++y) {
    int sy = static_cast<int>((2 * int64_t{y} + 1) * icon->height / (2 * int64_t{height}));
    for (int x = 0; x < width; ++x) {
      int sx = static_cast<int>((2 * int64_t{x} + 1) * icon->width / (2 * int64_t{width}));
      size_t at = static_cast<size_t>(sy) * icon->width + sx;
      COLORREF screen = GetPixel(hdc, left + x, top + y);
      if (screen == CLR_INVALID) continue;  // clipped away
      COLORREF out = screen;
      if (flags & DI_MASK) out &= icon->mask[at] ? 0xFFFFFF : 0;
      if (flags & DI_IMAGE) out = (flags & DI_MASK) ? out ^ icon->image[at] : icon->image[at];
      SetPixel(hdc, left + x, top + y, out & 0xFFFFFF);
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon) {
  return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
