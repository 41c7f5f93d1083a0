// Writes the generated part of the loader's seed corpus: a small container
// keyboard and its panel-set file alone (the loose form the target also
// loads). The bundled keyboards join these when they are built.
#include <cstdio>
#include <filesystem>

#include "fuzz/sample_keyboard.h"
#include "tools/kbf/writer/kbf_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  std::filesystem::path folder = argv[1];
  kbf::Keyboard keyboard = FuzzSampleKeyboard();
  std::vector<kbf::Member> members = kbf::Members(keyboard);
  kbf::WriteFileBytes(folder / "generated.kbf", kbf::WriteContainer(members));
  kbf::WriteFileBytes(folder / "generated_set.pnl", members[0].bytes);
  kbf::ContainerOptions tail;
  tail.dataStart = 5;
  kbf::WriteFileBytes(folder / "wrapped_directory.kbf", kbf::WriteContainer(members, tail));
  return 0;
}
