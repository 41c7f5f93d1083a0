// The keyboard model turned into member files, and the conveniences that
// keep keyboard fixtures short.
#include "tools/kbf/writer/keyboard.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace kbf {

namespace {

std::string Numbered(const char* format, size_t n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(n));
  return buffer;
}

bool AllZero(const NameField& field) {
  for (uint8_t b : field) {
    if (b != 0) return false;
  }
  return true;
}

// A name as it goes into a field: 12 bytes get a NUL, 13 fill the field.
NameField NameFieldFor(const std::string& name) { return RawMemberName(name); }

Member MakeMember(const std::string& name, std::vector<uint8_t> bytes) {
  return Member{NameFieldFor(name), std::move(bytes)};
}

}  // namespace

std::string PanelFileName(const Keyboard& keyboard, size_t panel) {
  const std::string& given = keyboard.panels.at(panel).fileName;
  return given.empty() ? Numbered("PANEL%03u.PNL", panel + 1) : given;
}

std::string KeyListFileName(const Keyboard& keyboard, size_t panel) {
  const NameField& field = keyboard.panels.at(panel).record.keyListName;
  return AllZero(field) ? Numbered("KEYS%03u.KLS", panel + 1) : NameText(field);
}

std::vector<Member> Members(const Keyboard& keyboard) {
  std::vector<Member> members;

  PanelSetHeader header = keyboard.header;
  header.panelCount = keyboard.panelCount.value_or(static_cast<uint32_t>(keyboard.panels.size()));
  std::vector<uint8_t> set = header.Encode();
  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    NameField name = NameFieldFor(PanelFileName(keyboard, i));
    set.insert(set.end(), name.begin(), name.end());
  }
  set.insert(set.end(), keyboard.panelSetTrailer.begin(), keyboard.panelSetTrailer.end());
  members.push_back(MakeMember(std::string(kPanelSetName), std::move(set)));

  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    const Panel& panel = keyboard.panels[i];
    PanelRecord record = panel.record;
    if (AllZero(record.keyListName)) record.keyListName = NameFieldFor(KeyListFileName(keyboard, i));
    members.push_back(MakeMember(PanelFileName(keyboard, i), record.Encode()));

    KeyListHeader listHeader = panel.keyListHeader;
    listHeader.placementCount =
        panel.placementCount.value_or(static_cast<int32_t>(panel.placements.size()));
    std::vector<uint8_t> list = listHeader.Encode();
    for (const Placement& p : panel.placements) {
      if (!keyboard.keys.contains(p.keyFile)) {
        throw std::invalid_argument("panel " + PanelFileName(keyboard, i) + " places key file \"" +
                                    p.keyFile + "\", which the keyboard does not have");
      }
      KeyPlacement placement{NameFieldFor(p.keyFile), p.x, p.y};
      std::vector<uint8_t> bytes = placement.Encode();
      list.insert(list.end(), bytes.begin(), bytes.end());
    }
    members.push_back(MakeMember(KeyListFileName(keyboard, i), std::move(list)));
  }

  for (const auto& [name, key] : keyboard.keys) members.push_back(MakeMember(name, key.Encode()));
  return members;
}

KeyRecord MakeKey(uint16_t width, uint16_t height, uint8_t keyType, std::u16string_view label,
                  std::u16string_view output) {
  KeyRecord key;
  key.width = width;
  key.height = height;
  key.keyType = keyType;
  if (IsUtf16KeyType(keyType)) {
    key.SetLabel(label);
  } else {
    std::string bytes;
    for (char16_t unit : label) {
      if (unit > 0xFF) throw std::invalid_argument("an 8-bit label holds only units below 0x100");
      bytes.push_back(static_cast<char>(unit));
    }
    key.SetLabel8(bytes);
  }
  key.SetOutput(output);
  return key;
}

std::string AddKey(Keyboard& keyboard, const KeyRecord& key, std::string name) {
  if (name.empty()) {
    size_t n = keyboard.keys.size() + 1;
    do {
      name = Numbered("KEY%05u.KEY", n++);
    } while (keyboard.keys.contains(name));
  }
  keyboard.keys[name] = key;
  return name;
}

Panel& AddPanelOfRows(Keyboard& keyboard, uint16_t left, uint16_t top, uint16_t width,
                      uint16_t height, const std::vector<std::vector<KeyRecord>>& rows) {
  Panel panel;
  panel.record.left = left;
  panel.record.top = top;
  panel.record.width = width;
  panel.record.height = height;
  uint16_t y = 0;
  for (const auto& row : rows) {
    uint16_t x = 0;
    uint16_t tallest = 0;
    for (const KeyRecord& key : row) {
      panel.placements.push_back(Placement{AddKey(keyboard, key), x, y});
      x = static_cast<uint16_t>(x + key.width);
      tallest = std::max(tallest, key.height);
    }
    y = static_cast<uint16_t>(y + tallest);
  }
  keyboard.panels.push_back(std::move(panel));
  return keyboard.panels.back();
}

}  // namespace kbf
