// Fuzz target of the keyboard loader. Each input is written as a container
// and loaded, then written as a loose "PNL00001.PNL" beside a few fixed
// member files and loaded through the second attempt. A load may fail, but it
// must not crash, leak a heap block or leave a file open: those abort.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "fuzz/sample_keyboard.h"
#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "wince/host/device.h"
#include "wince/host/heap.h"
#include "wince/host/message_box.h"

namespace {

std::filesystem::path Device;

// Panels, key lists and keys that a fuzzed panel-set file can name.
std::vector<kbf::Member> LooseMembers() {
  kbf::Keyboard keyboard = FuzzSampleKeyboard();
  return kbf::Members(keyboard);
}

void Setup() {
  char pattern[] = "/tmp/tapora_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) abort();
  Device = pattern;
  wince::host::SetDeviceFolder(Device);
  std::vector<kbf::Member> members = LooseMembers();
  members.erase(members.begin());  // the panel set comes from the input
  kbf::WriteLooseFolder(Device / "loose", members);
  std::filesystem::create_directories(Device / "kbf");
}

void Write(const std::filesystem::path& file, const uint8_t* data, size_t size) {
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) abort();
  std::fclose(out);
}

void LoadAndRelease(const char16_t* devicePath, size_t blocksBefore, int filesBefore) {
  WCHAR path[260] = {};
  for (int i = 0; devicePath[i] != 0 && i < 259; ++i) path[i] = devicePath[i];
  LONG height = 10;
  LONG width = 10;
  tapora::LoadKeyboard(path, &height, &width);
  if (wince::host::OpenFileHandles() != filesBefore) abort();
  tapora::ResetKeyboard();
  if (wince::host::LiveHeapBlocks() != blocksBefore) abort();
  wince::host::ClearMessageBoxes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;
  size_t blocks = wince::host::LiveHeapBlocks();
  int files = wince::host::OpenFileHandles();

  Write(Device / "kbf" / "input.kbf", data, size);
  LoadAndRelease(u"\\kbf\\input.kbf", blocks, files);

  Write(Device / "loose" / "PNL00001.PNL", data, size);
  LoadAndRelease(u"\\loose\\absent.kbf", blocks, files);
  return 0;
}
