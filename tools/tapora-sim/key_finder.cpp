// Finding a key by its label (see key_finder.h). The search draws with this
// program's own copy of the system, which shares the host, the device folder
// and the drawing code with the input method, so a match is pixel for pixel.
#include "tools/tapora-sim/key_finder.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "input/shift_state.h"
#include "input/key_types.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "render/key_glyph.h"
#include "render/key_label.h"
#include "render/paint_keyboard.h"
#include "wince/host/device.h"
#include "wince/host/surface.h"
#include "wince/host/windows.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

// The modifier bits that change what a keyboard shows.
constexpr WORD STATE_BITS[] = {tapora::SS_SHIFT, tapora::SS_CTRL, tapora::SS_ALT,
                               tapora::SS_ALTGR, tapora::SS_CAPS};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  bool operator==(const Picture&) const = default;
};

std::optional<Picture> PanelPicture(HWND panel) {
  const auto view = wince::host::ViewOfWindow(panel);
  const auto area = wince::host::ClientAreaOnSurface(panel);
  if (!view || !area || area->right <= area->left || area->bottom <= area->top) return std::nullopt;
  Picture picture;
  picture.width = area->right - area->left;
  picture.height = area->bottom - area->top;
  for (LONG y = area->top; y < area->bottom; ++y)
    for (LONG x = area->left; x < area->right; ++x)
      picture.pixels.push_back(view->pixels.get()[static_cast<size_t>(y) * view->width + x]);
  return picture;
}

// The loaded keyboard drawn as a paint after a whole redraw draws it: on the
// class brush, latched keys down as ShiftState says.
Picture Draw(int width, int height) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  tapora::DrawKeyboard(dc, tapora::AllKeys, false);
  Picture picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return picture;
}

// Every keyboard file of the device's language tree, as device paths.
std::vector<std::u16string> DeviceKeyboards() {
  std::vector<std::u16string> paths;
  const fs::path root = wince::host::DeviceFolder();
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root / "Program Files", error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::string extension = it->path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".kbf" || !it->is_regular_file(error)) continue;
    std::u16string path;
    for (const auto& part : fs::relative(it->path(), root)) {
      path += u"\\";
      path += part.u16string();
    }
    paths.push_back(path);
  }
  return paths;
}

bool LabelMatches(const BYTE* record, const std::u16string& label) {
  WCHAR primary[tapora::LABEL_UNITS];
  WCHAR secondary[tapora::LABEL_UNITS];
  tapora::PrepareKeyLabels(record, primary, secondary);
  const BYTE keyType = record[tapora::KEY_TYPE];
  const std::u16string shown(
      tapora::ChooseKeyLabel(primary, secondary, tapora::IsCapsAffectedKeyType(keyType), keyType));
  if (shown == label) return true;
  const std::u16string prefix(tapora::GLYPH_PREFIX);
  if (shown.rfind(prefix, 0) != 0) return false;
  // The glyph's name as the label writes it ("U", "M}"), or without the bar's
  // closing brace and any blanks after it.
  std::u16string name = shown.substr(prefix.size());
  if (name == label) return true;
  while (!name.empty() && (name.back() == u' ' || name.back() == u'}')) name.pop_back();
  return name == label;
}

// The first key of the loaded keyboard, under ShiftState, labelled `label`.
bool FindInLoaded(const std::u16string& label, POINT* middle) {
  for (DWORD p = 0; tapora::PanelHandle(p) != 0; ++p) {
    const DWORD panel = tapora::PanelHandle(p);
    tapora::PanelPlace place{};
    if (!tapora::ReadPanelPlace(panel, &place)) continue;
    for (DWORD k = 0; k < place.keyCount; ++k) {
      tapora::KeyEntry entry{};
      BYTE record[tapora::KEY_RECORD_SIZE];
      if (!tapora::ReadKeyEntry(panel, k, &entry) || !tapora::ReadKeyRecord(entry.keyHandle, record))
        continue;
      if (!LabelMatches(record, label)) continue;
      middle->x = place.left + entry.x + tapora::ReadU16(record, tapora::KEY_WIDTH) / 2;
      middle->y = place.top + entry.y + tapora::ReadU16(record, tapora::KEY_HEIGHT) / 2;
      return true;
    }
  }
  return false;
}

}  // namespace

bool FindKeyByLabel(HWND panel, const std::u16string& label, POINT* middle, std::string* problem) {
  const std::optional<Picture> shown = PanelPicture(panel);
  if (!shown) {
    *problem = "there is no panel to press a key on";
    return false;
  }
  bool matched = false;
  bool found = false;
  for (const std::u16string& path : DeviceKeyboards()) {
    WCHAR buffer[MAX_PATH] = {};
    path.copy(buffer, MAX_PATH - 1);
    LONG height = 0;
    LONG width = 0;
    if (!tapora::LoadKeyboard(buffer, &height, &width)) continue;
    for (unsigned combination = 0; combination < (1u << std::size(STATE_BITS)) && !matched;
         ++combination) {
      WORD state = 0;
      for (size_t bit = 0; bit < std::size(STATE_BITS); ++bit)
        if (combination & (1u << bit)) state |= STATE_BITS[bit];
      tapora::ShiftState = state;
      if (Draw(shown->width, shown->height) == *shown) {
        matched = true;
        found = FindInLoaded(label, middle);
      }
    }
    tapora::ResetKeyboard();
    if (matched) break;
  }
  tapora::ShiftState = 0;
  if (!matched) *problem = "the panel shows no keyboard of the device's language tree";
  else if (!found) *problem = "no key is labelled so";
  return found;
}

}  // namespace sim
