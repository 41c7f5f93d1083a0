// The system's loader run on a keyboard from the tool, through the host.
#include "tools/kbf/cli/system_load.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <stdexcept>

#include <windows.h>

#include "apicalls/api_memory.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "layout/records.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace kbf {

namespace fs = std::filesystem;

namespace {

class ScratchDevice {
 public:
  ScratchDevice() : previous_(wince::host::DeviceFolder()) {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() /
              ("kbf_check_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "Keyboard");
    wince::host::SetDeviceFolder(folder_);
  }
  ~ScratchDevice() {
    wince::host::SetDeviceFolder(previous_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path Keyboard() const { return folder_ / "Keyboard"; }

 private:
  fs::path previous_;
  fs::path folder_;
};

void Copy(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) throw std::runtime_error("cannot copy " + from.string() + ": " + ec.message());
}

// Puts the keyboard below \Keyboard as the device would find it, with every
// file of its folder beside it under its own name (so that a container that
// is missing or fails falls back to the loose family there), and returns the
// device path to load.
std::u16string Place(const fs::path& keyboard, const fs::path& target) {
  std::error_code ec;
  const bool isFolder = fs::is_directory(keyboard, ec);
  const fs::path folder =
      isFolder ? keyboard : (keyboard.has_parent_path() ? keyboard.parent_path() : fs::path("."));
  if (!fs::is_directory(folder, ec)) throw std::runtime_error("no keyboard at " + keyboard.string());
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (entry.is_regular_file(ec)) Copy(entry.path(), target / entry.path().filename());
  }
  if (ec) throw std::runtime_error("cannot read " + folder.string() + ": " + ec.message());
  if (isFolder) return u"\\Keyboard\\PNL00001.PNL";
  const std::string name = keyboard.filename().string();
  bool plainName = !name.empty() && name.size() < 200;
  for (char c : name) plainName = plainName && c > 0x20 && c < 0x7F && c != '\\';
  if (plainName) return u"\\Keyboard\\" + wince::host::Utf16(name);
  // A name the device could not spell goes under one it can.
  if (fs::is_regular_file(keyboard, ec)) Copy(keyboard, target / "keyboard.kbf");
  return u"\\Keyboard\\keyboard.kbf";
}

bool EndsWithLooseSetName(const std::u16string& path) {
  const std::u16string name = u"PNL00001.PNL";
  if (path.size() < name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = path[path.size() - name.size() + i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != name[i]) return false;
  }
  return true;
}

std::vector<uint8_t> Block(DWORD handle, size_t size) {
  std::vector<uint8_t> bytes;
  BYTE* at = tapora::api::Lock(handle);
  if (at == nullptr) return bytes;
  bytes.assign(at, at + size);
  tapora::api::Unlock(handle);
  return bytes;
}

void CopyMemory(SystemLoad& load) {
  if (tapora::KeyboardMemory.setHeaderHandle != 0) {
    load.setHeader = Block(tapora::KeyboardMemory.setHeaderHandle, tapora::PANEL_SET_HEADER_SIZE);
  }
  for (DWORD i = 0;; ++i) {
    const DWORD panelHandle = tapora::PanelHandle(i);
    if (panelHandle == 0) break;
    LoadedPanel panel;
    panel.record = Block(panelHandle, tapora::PANEL_RECORD_SIZE);
    tapora::KeyEntry entry;
    for (DWORD k = 0; tapora::ReadKeyEntry(panelHandle, k, &entry); ++k) {
      panel.keys.push_back(LoadedKey{entry.x, entry.y, Block(entry.keyHandle, tapora::KEY_RECORD_SIZE)});
    }
    load.panels.push_back(std::move(panel));
  }
}

}  // namespace

size_t SystemLoad::KeyCount() const {
  size_t n = 0;
  for (const LoadedPanel& p : panels) n += p.keys.size();
  return n;
}

SystemLoad LoadWithSystem(const fs::path& keyboard, const std::function<void()>& whileLoaded) {
  ScratchDevice device;
  const std::u16string devicePath = Place(keyboard, device.Keyboard());

  WCHAR path[MAX_PATH] = {};
  devicePath.copy(path, MAX_PATH - 1);
  LONG height = 0;
  LONG width = 0;
  wince::host::ClearMessageBoxes();
  SystemLoad load;
  load.ok = tapora::LoadKeyboard(path, &height, &width);
  for (const auto& box : wince::host::MessageBoxes()) load.messages.push_back(wince::host::Utf8(box.text));
  if (load.ok) {
    load.width = width;
    load.height = height;
    load.looseSetLoaded = !EndsWithLooseSetName(devicePath) && EndsWithLooseSetName(path);
  }
  CopyMemory(load);
  if (load.ok && whileLoaded) {
    try {
      whileLoaded();
    } catch (...) {
      tapora::ResetKeyboard();
      throw;
    }
  }
  tapora::ResetKeyboard();
  wince::host::ClearMessageBoxes();
  return load;
}

}  // namespace kbf
