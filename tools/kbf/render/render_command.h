// `kbf render KEYBOARD -o FILE.png [--state LIST] [--scale N] [--stock DLL]`:
// a picture of a keyboard as the device shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/kbf/render/keyboard_picture.h"

namespace kbf {

struct RenderArguments {
  PictureOptions picture;
  std::filesystem::path output;
  int scale = 1;
};

// The usage text of the subcommand.
const char* RenderUsage();

// Parses the words that follow "render". False with a reason in *error.
bool ParseRenderArguments(const std::vector<std::string>& args, RenderArguments* parsed,
                          std::string* error);

// The subcommand: 0 when the picture was written (or --help shown), 1 when the keyboard did
// not load or the file could not be written (the reason on stderr), 2 for a
// usage error (with the usage text).
int RunRenderCommand(const std::vector<std::string>& args);

}  // namespace kbf
