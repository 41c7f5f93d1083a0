// Member names, the container writer and the loose-folder writer.
#include "tools/kbf/writer/members.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace kbf {

NameField MemberName(std::string_view name) {
  if (name.size() > kNameSize - 1) {
    throw std::length_error("member name \"" + std::string(name) + "\" is longer than 12 bytes");
  }
  return RawMemberName(name);
}

NameField RawMemberName(std::string_view bytes) {
  if (bytes.size() > kNameSize) {
    throw std::length_error("member name \"" + std::string(bytes) + "\" is longer than 13 bytes");
  }
  NameField field{};
  for (size_t i = 0; i < bytes.size(); ++i) field[i] = static_cast<uint8_t>(bytes[i]);
  return field;
}

std::string NameText(const NameField& field) {
  std::string text;
  for (uint8_t b : field) {
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

std::vector<uint8_t> WriteContainer(const std::vector<Member>& members, const ContainerOptions& options) {
  const size_t directoryEnd =
      kContainerHeaderSize + kContainerEntrySize * members.size() + options.afterDirectory.size();
  const uint32_t stored = options.dataStart.value_or(static_cast<uint32_t>(directoryEnd));
  const size_t dataArea = std::max<size_t>(directoryEnd, stored);

  ContainerHeader header;
  header.magic = options.magic;
  header.unknown2 = options.unknown2;
  header.dataStart = stored;
  header.hasPanelSet = options.hasPanelSet;

  std::vector<uint8_t> out = header.Encode();
  size_t at = dataArea;
  for (const Member& m : members) {
    ContainerEntry entry;
    entry.memberName = m.name;
    // Unsigned wrap-around is intended: the loader adds it back to dataStart
    // in 32-bit arithmetic.
    entry.memberOffset = static_cast<uint32_t>(at) - stored;
    entry.memberSize = static_cast<uint32_t>(m.bytes.size());
    auto bytes = entry.Encode();
    out.insert(out.end(), bytes.begin(), bytes.end());
    at += m.bytes.size();
  }
  out.insert(out.end(), options.afterDirectory.begin(), options.afterDirectory.end());
  out.resize(dataArea, 0);
  for (const Member& m : members) out.insert(out.end(), m.bytes.begin(), m.bytes.end());
  return out;
}

void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  if (file.has_parent_path()) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + file.string());
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + file.string());
  return bytes;
}

void WriteLooseFolder(const std::filesystem::path& folder, const std::vector<Member>& members) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (const Member& m : members) {
    const std::string name = NameText(m.name);
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
      throw std::runtime_error("member name \"" + name + "\" cannot be a file name");
    }
    WriteFileBytes(folder / name, m.bytes);
  }
}

}  // namespace kbf
