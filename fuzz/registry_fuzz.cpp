// Fuzz target for the registry's file reader: the input is the text of a
// "registry.reg", parsed in memory. Whatever it is, the reader must neither
// crash nor hang, and a file it accepts must be written back as text that
// reads to the same registry (the writer's text is a fixed point).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wince/registry/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wince::registry;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Hive hive = EmptyHive();
  ReadError error;
  if (!ReadRegFile(text, &hive, &error)) {
    if (error.line < 1 || error.what.empty()) std::abort();
    return 0;
  }
  std::string written = WriteRegFile(hive);
  Hive again = EmptyHive();
  if (!ReadRegFile(written, &again, &error)) std::abort();
  if (WriteRegFile(again) != written) std::abort();
  return 0;
}
