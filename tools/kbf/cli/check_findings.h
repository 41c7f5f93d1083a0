// The findings of `kbf check` beyond the files' structure: what a pen user
// would meet on the loaded keyboard, and what the dead-key tables lack.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/kbf/writer/keyboard.h"

namespace kbf {

// Run while the keyboard is in the system's memory (LoadWithSystem's
// whileLoaded): labels the system shortens or clips, keys no pen can hit, and
// states that keys have characters for but no key latches. With a language
// tree (the folder holding KBF.txt and the language folders), also the
// keyboard switches whose target is not in it; `folder` is the keyboard's own.
std::vector<std::string> LoadedKeyboardFindings(const std::filesystem::path& folder,
                                                const std::optional<std::filesystem::path>& tree);

// Dead-key tables that lack a base which another table composes.
std::vector<std::string> DeadKeyFindings(const Keyboard& keyboard);

}  // namespace kbf
