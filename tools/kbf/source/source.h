// The readable source of a keyboard (YAML) and its conversion to and from
// the keyboard model. The format is described in FORMAT.md beside this file.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tools/kbf/writer/keyboard.h"

namespace kbf {

// A source that cannot be built; the message names the file, the line and
// the field ("en.yaml:12:7: panels[0].keys[3].label: ...").
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Builds the model from source text, dead-key tables applied. `fileName`
// only names the source in messages.
Keyboard ParseSource(const std::string& text, const std::string& fileName);
Keyboard LoadSourceFile(const std::filesystem::path& file);

// The source of a keyboard: ParseSource(DumpSource(k)) has the same members
// as k, byte for byte, and dumping that again gives the same text.
std::string DumpSource(const Keyboard& keyboard);

}  // namespace kbf
