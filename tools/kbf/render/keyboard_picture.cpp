// Drawing a keyboard file into a picture through the host.
//
// The keyboard is copied into a fresh device folder (a container as
// "\Keyboard\keyboard.kbf", loose files into "\Keyboard\"), and the stock-face
// library into "\Windows\". The input method's module handle, which the stock
// faces are found beside, is stood in for by the stock library's own module:
// both live in "\Windows" on a device. The process-wide state that drawing
// uses (device folder, ShiftState, the module handle) is put back afterwards
// and the keyboard released.
#include "tools/kbf/render/keyboard_picture.h"

#include <windows.h>

#include <atomic>
#include <system_error>
#include <unistd.h>

#include "im/input_method_state.h"
#include "input/shift_state.h"
#include "layout/load_keyboard.h"
#include "render/paint_keyboard.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/surface.h"
#include "wince/host/text.h"

#ifndef TAPORA_DEVICE_DIR
#define TAPORA_DEVICE_DIR ""
#endif

namespace kbf {

namespace fs = std::filesystem;

namespace {

constexpr char16_t DEVICE_CONTAINER[] = u"\\Keyboard\\keyboard.kbf";
constexpr char16_t DEVICE_LOOSE_SET[] = u"\\Keyboard\\PNL00001.PNL";
constexpr char16_t DEVICE_STOCK_LIBRARY[] = u"\\Windows\\STOCK.DLL";

// A private device folder, removed with everything in it at the end.
class ScratchDevice {
 public:
  ScratchDevice() : previous_(wince::host::DeviceFolder()) {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() /
              ("kbf_render_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "Keyboard");
    fs::create_directories(folder_ / "Windows");
    wince::host::SetDeviceFolder(folder_);
  }
  ~ScratchDevice() {
    wince::host::SetDeviceFolder(previous_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const fs::path& folder() const { return folder_; }

 private:
  fs::path previous_;
  fs::path folder_;
};

// Copies the keyboard in; returns the device path to load, empty on failure.
std::u16string PlaceKeyboard(const fs::path& keyboard, const fs::path& device,
                             std::string* error) {
  std::error_code ec;
  fs::path source = keyboard;
  if (fs::is_regular_file(source, ec) && source.filename() != "PNL00001.PNL") {
    fs::copy_file(source, device / "Keyboard" / "keyboard.kbf", ec);
    if (ec) {
      *error = "cannot copy " + source.string() + ": " + ec.message();
      return u"";
    }
    return DEVICE_CONTAINER;
  }
  if (fs::is_regular_file(source, ec)) source = source.parent_path();
  if (!fs::is_directory(source, ec)) {
    *error = "no keyboard at " + keyboard.string();
    return u"";
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(source, ec)) {
    if (!entry.is_regular_file()) continue;
    fs::copy_file(entry.path(), device / "Keyboard" / entry.path().filename(), ec);
    if (ec) {
      *error = "cannot copy " + entry.path().string() + ": " + ec.message();
      return u"";
    }
  }
  return DEVICE_LOOSE_SET;
}

// A memory device context on a 32-bit bitmap.
class PictureSurface {
 public:
  PictureSurface(int width, int height) {
      dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
    if (dc_ != nullptr && bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
  }
  ~PictureSurface() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  bool ok() const { return previous_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

fs::path DefaultStockLibrary() {
  if (TAPORA_DEVICE_DIR[0] == 0) return {};
  return fs::path(TAPORA_DEVICE_DIR) / "Windows" / "STOCK.DLL";
}

bool DrawKeyboardPicture(const PictureOptions& options, Picture* picture, std::string* error) {
  ScratchDevice device;
  const std::u16string keyboardPath = PlaceKeyboard(options.keyboard, device.folder(), error);
  if (keyboardPath.empty()) return false;

  std::error_code ec;
  HMODULE stock = nullptr;
  if (!options.stockLibrary.empty() && fs::is_regular_file(options.stockLibrary, ec)) {
    fs::copy_file(options.stockLibrary, device.folder() / "Windows" / "STOCK.DLL", ec);
    if (!ec) stock = LoadLibraryW(DEVICE_STOCK_LIBRARY);
  }
  const HINSTANCE previousInstance = tapora::InputMethodState.resourceInstance;
  tapora::InputMethodState.resourceInstance = stock;

  WCHAR path[MAX_PATH] = {};
  keyboardPath.copy(path, MAX_PATH - 1);
  LONG height = 0;
  LONG width = 0;
  wince::host::ClearMessageBoxes();
  bool ok = tapora::LoadKeyboard(path, &height, &width);
  if (!ok) {
    const auto& boxes = wince::host::MessageBoxes();
    *error = boxes.empty() ? "the keyboard did not load"
                           : wince::host::Utf8(boxes.back().text);
  } else {
    PictureSurface surface(width, height);
    if (!surface.ok()) {
      *error = "cannot make a " + std::to_string(width) + "x" + std::to_string(height) + " surface";
      ok = false;
    } else {
      // The panel window's class background, then the keys as a paint draws them.
      RECT all = {0, 0, width, height};
      FillRect(surface.dc(), &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
      const WORD previousState = tapora::ShiftState;
      tapora::ShiftState = options.shiftState;
      tapora::DrawKeyboard(surface.dc(), tapora::AllKeys, !options.showState);
      tapora::ShiftState = previousState;

      picture->width = width;
      picture->height = height;
      picture->pixels.clear();
      picture->pixels.reserve(static_cast<size_t>(width) * height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture->pixels.push_back(GetPixel(surface.dc(), x, y));
    }
  }
  tapora::ResetKeyboard();
  tapora::InputMethodState.resourceInstance = previousInstance;
  if (stock != nullptr) FreeLibrary(stock);
  return ok;
}

Picture Enlarge(const Picture& picture, int scale) {
  if (scale <= 1) return picture;
  Picture big;
  big.width = picture.width * scale;
  big.height = picture.height * scale;
  big.pixels.reserve(static_cast<size_t>(big.width) * big.height);
  for (int y = 0; y < big.height; ++y)
    for (int x = 0; x < big.width; ++x)
      big.pixels.push_back(picture.pixels[static_cast<size_t>(y / scale) * picture.width + x / scale]);
  return big;
}

bool SavePicturePng(const Picture& picture, const fs::path& file, std::string* error) {
  // The host's PNG writer takes a view of pixels; this one views the picture's.
  wince::host::SurfaceView view;
  view.width = picture.width;
  view.height = picture.height;
  view.bitsPerPixel = 32;
  view.pixels = std::shared_ptr<const COLORREF>(std::shared_ptr<void>(), picture.pixels.data());
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height ||
      !wince::host::SavePng(view, file)) {
    *error = "cannot write " + file.string();
    return false;
  }
  return true;
}

}  // namespace kbf
