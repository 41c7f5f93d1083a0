// The files of a keyboard as named byte strings, and the two ways of storing
// them: one ".kbf" container, or loose files in a folder.
//
// Tests build broken keyboards by editing members between Members() and the
// writers (cut a member short, duplicate or rename an entry).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kbf/writer/records.h"

namespace kbf {

inline constexpr std::string_view kPanelSetName = "PNL00001.PNL";

struct Member {
  NameField name{};
  std::vector<uint8_t> bytes;
};

// The NUL-padded 13-byte field for an 8.3 name of at most 12 bytes; a longer
// name throws std::length_error (a name that needs all 13 bytes and no NUL
// goes through RawMemberName).
NameField MemberName(std::string_view name);
// Up to 13 bytes taken as they are, zero-padded, no NUL guaranteed.
NameField RawMemberName(std::string_view bytes);
// The name as the system reads it: bytes up to the first NUL, at most 13.
std::string NameText(const NameField& field);

struct ContainerOptions {
  std::array<uint8_t, 2> magic{'P', '*'};
  std::array<uint8_t, 3> unknown2{};
  uint8_t hasPanelSet = 1;
  // Bytes written between the directory and the member data; they count in
  // the stored dataStart.
  std::vector<uint8_t> afterDirectory;
  // Stored dataStart instead of the computed one. Member data still follows
  // the directory (and afterDirectory, padded with zeros up to this value if
  // it lies further on), and each memberOffset is taken from the stored value,
  // so the members stay reachable whenever the loader's arithmetic can reach them.
  std::optional<uint32_t> dataStart;
};

// Header, directory in member order (memberOffset and memberSize computed),
// then the member data in the same order.
std::vector<uint8_t> WriteContainer(const std::vector<Member>& members,
                                    const ContainerOptions& options = {});

// Writes each member as a file named by its name field (up to its NUL). The
// folder is created if needed; existing files of the same names are replaced.
// Throws std::runtime_error when a file cannot be written.
void WriteLooseFolder(const std::filesystem::path& folder, const std::vector<Member>& members);

// Writes bytes to a file (creating parent folders); throws std::runtime_error.
void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);
// Reads a whole file; throws std::runtime_error when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file);

}  // namespace kbf
