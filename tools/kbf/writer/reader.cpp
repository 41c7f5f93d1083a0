// Reading a keyboard's files back into the model, in the loader's order and
// with its rules for short records and member lookup.
#include "tools/kbf/writer/reader.h"

#include <algorithm>
#include <stdexcept>

namespace kbf {

namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

std::span<const uint8_t> Tail(std::span<const uint8_t> bytes, size_t from) {
  return from >= bytes.size() ? std::span<const uint8_t>() : bytes.subspan(from);
}

class ContainerSource : public MemberSource {
 public:
  explicit ContainerSource(std::vector<uint8_t> file) : file_(std::move(file)), view_(ParseContainer(file_)) {}
  std::optional<std::vector<uint8_t>> Read(const std::string& name) const override {
    auto found = view_.Find(name);
    if (!found) return std::nullopt;
    return std::vector<uint8_t>(found->begin(), found->end());
  }
  const ContainerView& View() const { return view_; }

 private:
  std::vector<uint8_t> file_;
  ContainerView view_;
};

class FolderSource : public MemberSource {
 public:
  explicit FolderSource(std::filesystem::path folder) : folder_(std::move(folder)) {}
  // Device file names compare without regard to case; an exact match wins
  // over other spellings.
  std::optional<std::vector<uint8_t>> Read(const std::string& name) const override {
    // A name read from a file never leaves the folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder_ / name, ec)) return ReadFileBytes(folder_ / name);
    std::vector<std::filesystem::path> matches;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
      if (entry.is_regular_file(ec) && SameName(entry.path().filename().string(), name)) {
        matches.push_back(entry.path());
      }
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return ReadFileBytes(matches.front());
  }

 private:
  std::filesystem::path folder_;
};

class MemoryContainerSource : public MemberSource {
 public:
  explicit MemoryContainerSource(const std::vector<Member>& members) : members_(members) {}
  std::optional<std::vector<uint8_t>> Read(const std::string& name) const override {
    for (const Member& m : members_) {
      if (SameName(NameText(m.name), name)) return m.bytes;
    }
    return std::nullopt;
  }

 private:
  const std::vector<Member>& members_;
};

std::vector<uint8_t> Need(const MemberSource& source, const std::string& name, const std::string& what) {
  auto bytes = source.Read(name);
  if (!bytes) throw std::runtime_error(what + " \"" + name + "\" is missing");
  if (bytes->empty()) throw std::runtime_error(what + " \"" + name + "\" is empty");
  return std::move(*bytes);
}

void ReadPanel(const MemberSource& source, Keyboard& keyboard, const std::string& fileName) {
  Panel panel;
  panel.fileName = fileName;
  panel.record = PanelRecord::Decode(Need(source, fileName, "panel file"));

  const std::string listName = NameText(panel.record.keyListName);
  const std::vector<uint8_t> list = Need(source, listName, "key list of panel " + fileName);
  panel.keyListHeader = KeyListHeader::Decode(list);
  const int32_t count = panel.keyListHeader.placementCount;
  for (int32_t i = 0; i < count; ++i) {
    auto bytes = Tail(list, kKeyListHeaderSize + kKeyPlacementSize * static_cast<size_t>(i));
    if (bytes.empty()) {
      throw std::runtime_error("key list \"" + listName + "\" ends after " + std::to_string(i) + " of " +
                               std::to_string(count) + " placements");
    }
    KeyPlacement placement = KeyPlacement::Decode(bytes);
    const std::string keyName = NameText(placement.keyFileName);
    if (!keyboard.keys.contains(keyName)) {
      keyboard.keys[keyName] = KeyRecord::Decode(Need(source, keyName, "key file"));
    }
    panel.placements.push_back(Placement{keyName, placement.x, placement.y});
  }
  panel.keyListHeader.placementCount = 0;
  if (count != static_cast<int32_t>(panel.placements.size())) panel.placementCount = count;
  keyboard.panels.push_back(std::move(panel));
}

}  // namespace

std::optional<std::span<const uint8_t>> ContainerView::Find(std::string_view name) const {
  for (const ContainerEntry& e : entries) {
    if (!SameName(NameText(e.memberName), name)) continue;
    const uint64_t at = static_cast<uint32_t>(header.dataStart + e.memberOffset);
    if (at >= file.size()) return std::span<const uint8_t>();
    return file.subspan(static_cast<size_t>(at));
  }
  return std::nullopt;
}

ContainerView ParseContainer(std::span<const uint8_t> file) {
  if (file.size() < kContainerHeaderSize || file[0] != 'P' || file[1] != '*') {
    throw std::runtime_error("not a keyboard container (no \"P*\" header)");
  }
  ContainerView view;
  view.file = file;
  view.header = ContainerHeader::Decode(file);
  const uint32_t count = (view.header.dataStart - static_cast<uint32_t>(kContainerHeaderSize)) /
                         static_cast<uint32_t>(kContainerEntrySize);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = kContainerHeaderSize + kContainerEntrySize * static_cast<size_t>(i);
    if (at + kContainerEntrySize > file.size()) break;
    view.entries.push_back(ContainerEntry::Decode(file.subspan(at, kContainerEntrySize)));
  }
  return view;
}

Keyboard ReadKeyboard(const MemberSource& source) {
  Keyboard keyboard;
  const std::vector<uint8_t> set = Need(source, std::string(kPanelSetName), "panel-set file");
  keyboard.header = PanelSetHeader::Decode(set);
  if (keyboard.header.magic[0] != 'P' || keyboard.header.magic[1] != 'N') {
    throw std::runtime_error("panel-set file does not begin with \"PN\"");
  }
  const uint32_t count = keyboard.header.panelCount;
  keyboard.header.panelCount = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const auto bytes = Tail(set, kPanelSetHeaderSize + kNameSize * static_cast<size_t>(i));
    if (bytes.size() >= kNameSize) {
      NameField name{};
      std::copy_n(bytes.begin(), kNameSize, name.begin());
      ReadPanel(source, keyboard, NameText(name));
      continue;
    }
    // A short read of the last promised name still counts as read; anything
    // else leaves the loader's last read empty, and the set fails.
    if (bytes.empty() || i + 1 != count) {
      throw std::runtime_error("panel-set file ends after " + std::to_string(i) + " of " +
                               std::to_string(count) + " panel names");
    }
    keyboard.panelSetTrailer.assign(bytes.begin(), bytes.end());
  }
  if (count == 0) throw std::runtime_error("panel-set file lists no panels");
  if (count != keyboard.panels.size()) keyboard.panelCount = count;
  return keyboard;
}

Keyboard ReadKeyboardAt(const std::filesystem::path& path) {
  std::error_code ec;
  try {
    if (std::filesystem::is_directory(path, ec)) return ReadKeyboard(FolderSource(path));
    std::vector<uint8_t> file = ReadFileBytes(path);
    if (file.size() >= 2 && file[0] == 'P' && file[1] == '*') {
      ContainerSource source(std::move(file));
      if (source.View().header.hasPanelSet != 1) throw std::runtime_error("container holds no panel set");
      return ReadKeyboard(source);
    }
    if (file.size() >= 2 && file[0] == 'P' && file[1] == 'N') {
      // A loose panel-set file stands for its folder, as the loader reads it.
      return ReadKeyboard(FolderSource(path.has_parent_path() ? path.parent_path() : "."));
    }
    throw std::runtime_error("not a keyboard (neither \"P*\" nor \"PN\" at its start)");
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(path.string() + ": " + e.what());
  }
}

Keyboard ReadKeyboardFromMembers(const std::vector<Member>& members) {
  return ReadKeyboard(MemoryContainerSource(members));
}

}  // namespace kbf
