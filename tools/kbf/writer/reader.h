// Reading a keyboard back into the model, following the files the way the
// system's loader does: container members looked up by name without regard
// to case (the first entry wins), records read as far as the data reaches
// with missing bytes as 0, panels, key lists and keys in the order of their
// references.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/kbf/writer/keyboard.h"
#include "tools/kbf/writer/members.h"

namespace kbf {

// A container's directory as the loader counts it: (dataStart - 10) / 21
// entries in unsigned arithmetic, stopping at the first entry that is not
// whole.
struct ContainerView {
  ContainerHeader header;
  std::vector<ContainerEntry> entries;
  std::span<const uint8_t> file;

  // Bytes of the first entry named `name` (case-insensitive), from its
  // offset to the end of the file; nullopt when no entry matches or the
  // offset lies outside the file.
  std::optional<std::span<const uint8_t>> Find(std::string_view name) const;
};

// Throws std::runtime_error when the bytes are not a container.
ContainerView ParseContainer(std::span<const uint8_t> file);

// Where the records of a keyboard are read from.
class MemberSource {
 public:
  virtual ~MemberSource() = default;
  // The member's bytes, or nullopt when it does not exist.
  virtual std::optional<std::vector<uint8_t>> Read(const std::string& name) const = 0;
};

// Reads the keyboard: the panel set from "PNL00001.PNL", each panel named
// there, its key list and its keys. Throws std::runtime_error naming the
// member that is missing or unreadable. Key files are kept under the names
// the placements use.
Keyboard ReadKeyboard(const MemberSource& source);

// A container file, a folder of loose files, or a loose "PNL00001.PNL" (its
// folder is read). Throws std::runtime_error with a message naming the path.
Keyboard ReadKeyboardAt(const std::filesystem::path& path);

// In-memory members (as Members() makes them), looked up like a container.
Keyboard ReadKeyboardFromMembers(const std::vector<Member>& members);

}  // namespace kbf
