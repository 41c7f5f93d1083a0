// Fuzz target for the language tree's text files: the input becomes the base
// folder's "info", the default language's "info" and "KBF.txt", which are then
// read the way the input method reads them (first use, then map entries).
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "language/kbf_map.h"
#include "language/keyboard_selection.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"

namespace {

std::filesystem::path Device;
std::filesystem::path Base;

void Setup() {
  char pattern[] = "/tmp/tapora_fuzz_language_XXXXXX";
  if (mkdtemp(pattern) == nullptr) abort();
  Device = pattern;
  Base = Device / "Program Files" / "Tapora SIP";
  std::filesystem::create_directories(Base / "Keyboard");
  wince::host::SetDeviceFolder(Device);
}

void Write(const std::filesystem::path& file, const uint8_t* data, size_t size) {
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) abort();
  std::fclose(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;
  // The first byte splits the input between the two "info" files; all of it
  // is also the mapping file.
  size_t split = size == 0 ? 0 : data[0] % (size + 1);
  Write(Base / "info", data, split);
  Write(Base / "Keyboard" / "info", data + split, size - split);
  Write(Base / "KBF.txt", data, size);

  tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
  tapora::BuildKeyboardPath();
  WCHAR entry[260];
  for (int n : {1, 9, 10, 42, 99, 100}) {
    tapora::ReadKbfMapEntry(entry, tapora::KeyboardSelection.baseFolder, n);
  }
  wince::host::ClearMessageBoxes();
  return 0;
}
