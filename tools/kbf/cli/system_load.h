// Loading a keyboard with the system's own LoadKeyboard through the host,
// in a private device folder, and a copy of what it put into memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kbf {

struct LoadedKey {
  uint16_t x = 0;
  uint16_t y = 0;
  std::vector<uint8_t> record;  // 71 bytes as held
  bool operator==(const LoadedKey&) const = default;
};

struct LoadedPanel {
  std::vector<uint8_t> record;  // the 37-byte PanelRecord as held (keyCount in memory)
  std::vector<LoadedKey> keys;
  bool operator==(const LoadedPanel&) const = default;
};

struct SystemLoad {
  bool ok = false;
  long width = 0;   // input panel window, on success
  long height = 0;
  bool looseSetLoaded = false;  // the named file did not load; its folder's PNL00001.PNL did
  // Message boxes shown during the load, as UTF-8, the text exactly as shown.
  std::vector<std::string> messages;
  std::vector<uint8_t> setHeader;  // 96 bytes, when a set header was loaded
  std::vector<LoadedPanel> panels;

  size_t KeyCount() const;
  bool operator==(const SystemLoad&) const = default;
};

// A container file, a folder of loose files or a loose "PNL00001.PNL". The
// keyboard's folder is copied into a scratch device folder as "\Keyboard" and
// the keyboard loaded from there as the device would, falling back to the
// loose family beside a container that is missing or fails; the loaded keyboard is released before returning and
// the previous device folder is restored. Throws std::runtime_error when the
// keyboard cannot be copied. `whileLoaded` runs after a successful load, with
// the keyboard in the system's memory and ShiftState 0.
SystemLoad LoadWithSystem(const std::filesystem::path& keyboard,
                          const std::function<void()>& whileLoaded = {});

}  // namespace kbf
