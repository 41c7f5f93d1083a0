// Fuzz target for the kbf source reader: any text either builds a keyboard or
// fails with one SourceError naming the place; nothing else escapes. A source
// that builds must dump to a source that builds the same keyboard again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/kbf/source/source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kbf::Keyboard keyboard;
  try {
    keyboard = kbf::ParseSource(text, "fuzz.yaml");
  } catch (const kbf::SourceError& error) {
    if (std::string(error.what()).rfind("fuzz.yaml", 0) != 0) abort();
    return 0;
  }
  const std::string dumped = kbf::DumpSource(keyboard);
  if (kbf::DumpSource(kbf::ParseSource(dumped, "dumped.yaml")) != dumped) abort();
  return 0;
}
