// Files held by loaded modules. The module loader holds a module's file for as
// long as the module is loaded; the file functions refuse to delete, truncate
// or open for writing a held file (ERROR_ACCESS_DENIED), as the device refuses
// to touch the image of a running module.
#include <map>
#include <string>
#include <system_error>

#include "wince/kernel/file_system.h"

namespace wince::fs {
namespace {

std::map<std::string, int>& Holds() {
  static std::map<std::string, int> holds;
  return holds;
}

// Two spellings of one file (a symlink, "a/../b") give the same key.
std::string Key(const std::filesystem::path& hostPath) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(hostPath, ec);
  return (ec ? hostPath.lexically_normal() : canonical).string();
}

}  // namespace

void HoldModuleFile(const std::filesystem::path& hostPath) { ++Holds()[Key(hostPath)]; }

void ReleaseModuleFile(const std::filesystem::path& hostPath) {
  auto it = Holds().find(Key(hostPath));
  if (it != Holds().end() && --it->second <= 0) Holds().erase(it);
}

bool IsModuleFileHeld(const std::filesystem::path& hostPath) {
  return Holds().count(Key(hostPath)) != 0;
}

}  // namespace wince::fs
