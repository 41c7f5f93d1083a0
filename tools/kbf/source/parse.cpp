// Building the keyboard model from its YAML source.
//
// Every field is checked where it is read, and a bad one stops the build
// with a message naming the file, the line and the field's path. Unknown
// field names are refused too, so a misspelt field does not silently fall
// back to its default.
#include <yaml-cpp/yaml.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "tools/kbf/source/fields.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/text.h"

namespace kbf {

namespace {

using source::kStates;

class Parser {
 public:
  explicit Parser(std::string fileName) : file_(std::move(fileName)) {}

  Keyboard Parse(const YAML::Node& root);

 private:
  [[noreturn]] void Fail(const YAML::Node& at, const std::string& path, const std::string& message) const {
    const YAML::Mark mark = at.Mark();
    std::string where = file_;
    if (mark.line >= 0) where += ":" + std::to_string(mark.line + 1) + ":" + std::to_string(mark.column + 1);
    throw SourceError(where + ": " + (path.empty() ? "" : path + ": ") + message);
  }

  void Fields(const YAML::Node& node, const std::string& path, const std::set<std::string>& allowed) const;
  int64_t Number(const YAML::Node& node, const std::string& path, int64_t min, int64_t max) const;
  std::pair<uint16_t, uint16_t> Pair(const YAML::Node& node, const std::string& path) const;
  std::vector<uint8_t> Bytes(const YAML::Node& node, const std::string& path, size_t max) const;
  std::u16string Text(const YAML::Node& node, const std::string& path) const;
  std::string Name(const YAML::Node& node, const std::string& path) const;
  char16_t Unit(const YAML::Node& node, const std::string& path) const;
  uint8_t Colour(const YAML::Node& node, const std::string& path) const;
  template <size_t N>
  void TextField(std::array<uint8_t, N>& field, const YAML::Node& node, const std::string& path, bool utf16) const;
  template <size_t N>
  std::array<uint8_t, N> ByteArray(const YAML::Node& node, const std::string& path) const {
    std::array<uint8_t, N> a{};
    const auto bytes = Bytes(node, path, N);
    std::copy(bytes.begin(), bytes.end(), a.begin());
    return a;
  }

  void ReadHeader(const YAML::Node& node, Keyboard& keyboard);
  void ReadPanel(const YAML::Node& node, const std::string& path, Keyboard& keyboard);
  // Places one key: builds it from its fields and the panel's defaults, or
  // reuses a key file already defined. Returns the key's width.
  uint16_t PlaceKey(const YAML::Node& node, const YAML::Node& defaults, const std::string& path, Panel& panel,
                    uint16_t x, uint16_t y, Keyboard& keyboard);
  KeyRecord BuildKey(const YAML::Node& node, const YAML::Node& defaults, const std::string& path,
                     std::vector<DeadKeyTable>* dead) const;
  std::vector<DeadKeyTable> DeadTables(const YAML::Node& node, const std::string& path) const;

  std::string file_;
  std::map<std::string, std::vector<DeadKeyTable>> dead_;
  std::map<std::string, YAML::Node> definedAt_;
  size_t distinctKeys_ = 0;
};

const std::set<std::string> kKeyFields = {
    "file", "at", "size", "width", "height", "type", "down", "label", "shiftLabel", "output", "chars",
    "deadKeyStates", "dead", "colours", "face", "text", "light", "shadow", "unknown0", "unknown2",
    "unknown3", "unknown5", "skip"};

void Parser::Fields(const YAML::Node& node, const std::string& path, const std::set<std::string>& allowed) const {
  if (!node.IsMap()) Fail(node, path, "expected a mapping of fields");
  std::set<std::string> seen;
  for (const auto& item : node) {
    const std::string name = item.first.Scalar();
    if (!allowed.contains(name)) Fail(item.first, path, "unknown field \"" + name + "\"");
    if (!seen.insert(name).second) Fail(item.first, path, "field \"" + name + "\" is given twice");
  }
}

int64_t Parser::Number(const YAML::Node& node, const std::string& path, int64_t min, int64_t max) const {
  if (!node.IsScalar()) Fail(node, path, "expected a number");
  const std::string& s = node.Scalar();
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (s.size() > i + 1 && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == s.size()) Fail(node, path, "\"" + s + "\" is not a number");
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    int digit;
    const char c = s[i];
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else Fail(node, path, "\"" + s + "\" is not a number");
    value = value * base + digit;
    if (value > (int64_t{1} << 40)) Fail(node, path, "\"" + s + "\" is out of range");
  }
  if (negative) value = -value;
  if (value < min || value > max) {
    Fail(node, path, s + " is out of range " + std::to_string(min) + ".." + std::to_string(max));
  }
  return value;
}

std::pair<uint16_t, uint16_t> Parser::Pair(const YAML::Node& node, const std::string& path) const {
  if (!node.IsSequence() || node.size() != 2) Fail(node, path, "expected two numbers, [a, b]");
  return {static_cast<uint16_t>(Number(node[0], path, 0, 0xFFFF)),
          static_cast<uint16_t>(Number(node[1], path, 0, 0xFFFF))};
}

std::vector<uint8_t> Parser::Bytes(const YAML::Node& node, const std::string& path, size_t max) const {
  if (!node.IsSequence()) Fail(node, path, "expected a list of bytes");
  if (node.size() > max) Fail(node, path, "more than " + std::to_string(max) + " bytes for this field");
  std::vector<uint8_t> bytes;
  for (const auto& b : node) bytes.push_back(static_cast<uint8_t>(Number(b, path, 0, 255)));
  return bytes;
}

std::u16string Parser::Text(const YAML::Node& node, const std::string& path) const {
  if (!node.IsScalar()) Fail(node, path, "expected text");
  auto text = Utf16FromUtf8(node.Scalar());
  if (!text) Fail(node, path, "text is not valid UTF-8");
  return *text;
}

std::string Parser::Name(const YAML::Node& node, const std::string& path) const {
  std::string bytes;
  if (node.IsSequence()) {
    for (uint8_t b : Bytes(node, path, kNameSize)) bytes.push_back(static_cast<char>(b));
    return NameText(RawMemberName(bytes));
  }
  auto text = Cp1252FromUtf16(Text(node, path));
  if (!text) Fail(node, path, "a file name holds only characters of the 8-bit code page");
  if (text->empty()) Fail(node, path, "a file name cannot be empty");
  if (text->size() > kNameSize) Fail(node, path, "file name \"" + node.Scalar() + "\" is longer than 13 bytes");
  if (text->find('\0') != std::string::npos) Fail(node, path, "a file name cannot hold NUL");
  return *text;
}

char16_t Parser::Unit(const YAML::Node& node, const std::string& path) const {
  if (!node.IsScalar()) Fail(node, path, "expected one character");
  auto unit = source::ParseUnitText(node.Scalar());
  if (!unit) Fail(node, path, "\"" + node.Scalar() + "\" is not one UTF-16 character (or U+XXXX)");
  return *unit;
}

uint8_t Parser::Colour(const YAML::Node& node, const std::string& path) const {
  if (!node.IsScalar()) Fail(node, path, "expected a colour name or index");
  if (auto byName = source::ColourByName(node.Scalar())) return *byName;
  const std::string& s = node.Scalar();
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])))) {
    Fail(node, path, "\"" + s + "\" is not a colour (black, navy, green, teal, maroon, purple, olive, silver, "
                     "grey, blue, lime, aqua, red, fuchsia, yellow, white, or 0..255)");
  }
  return static_cast<uint8_t>(Number(node, path, 0, 255));
}

template <size_t N>
void Parser::TextField(std::array<uint8_t, N>& field, const YAML::Node& node, const std::string& path,
                       bool utf16) const {
  if (node.IsSequence()) {
    field = ByteArray<N>(node, path);
    return;
  }
  const std::u16string text = Text(node, path);
  field.fill(0);
  if (utf16) {
    if (text.size() * 2 > N) {
      Fail(node, path, "\"" + node.Scalar() + "\" has " + std::to_string(text.size()) + " UTF-16 units; the field holds " +
                           std::to_string(N / 2));
    }
    for (size_t i = 0; i < text.size(); ++i) {
      field[2 * i] = static_cast<uint8_t>(text[i]);
      field[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return;
  }
  auto bytes = Cp1252FromUtf16(text);
  if (!bytes) Fail(node, path, "\"" + node.Scalar() + "\" has a character that the 8-bit code page lacks");
  if (bytes->size() > N) {
    Fail(node, path, "\"" + node.Scalar() + "\" has " + std::to_string(bytes->size()) + " bytes; the field holds " +
                         std::to_string(N));
  }
  std::copy(bytes->begin(), bytes->end(), field.begin());
}

void Parser::ReadHeader(const YAML::Node& node, Keyboard& keyboard) {
  const std::string path = "panelSet";
  Fields(node, path,
         {"magic", "formatVersion", "panelCount", "position", "trailer", "unknown2", "unknown8", "unknown9",
          "unknown11", "unknown17", "unknown18", "unknown19", "unknown20", "unknown24", "unknown88", "unknown89",
          "unknown90", "unknown92"});
  PanelSetHeader& h = keyboard.header;
  auto u8 = [&](const char* name, uint8_t& field) {
    if (node[name]) field = static_cast<uint8_t>(Number(node[name], path + "." + name, 0, 0xFF));
  };
  auto u16 = [&](const char* name, uint16_t& field) {
    if (node[name]) field = static_cast<uint16_t>(Number(node[name], path + "." + name, 0, 0xFFFF));
  };
  if (node["magic"]) h.magic = ByteArray<2>(node["magic"], path + ".magic");
  u8("formatVersion", h.formatVersion);
  if (node["panelCount"]) {
    keyboard.panelCount = static_cast<uint32_t>(Number(node["panelCount"], path + ".panelCount", 0, 0xFFFFFFFF));
  }
  if (node["position"]) std::tie(h.positionX, h.positionY) = Pair(node["position"], path + ".position");
  if (node["trailer"]) keyboard.panelSetTrailer = Bytes(node["trailer"], path + ".trailer", 4096);
  u8("unknown2", h.unknown2);
  u8("unknown8", h.unknown8);
  u16("unknown9", h.unknown9);
  u16("unknown11", h.unknown11);
  u8("unknown17", h.unknown17);
  u8("unknown18", h.unknown18);
  u8("unknown19", h.unknown19);
  if (node["unknown20"]) h.unknown20 = ByteArray<4>(node["unknown20"], path + ".unknown20");
  if (node["unknown24"]) h.unknown24 = ByteArray<64>(node["unknown24"], path + ".unknown24");
  u8("unknown88", h.unknown88);
  u8("unknown89", h.unknown89);
  u16("unknown90", h.unknown90);
  if (node["unknown92"]) h.unknown92 = static_cast<uint32_t>(Number(node["unknown92"], path + ".unknown92", 0, 0xFFFFFFFF));
}

std::vector<DeadKeyTable> Parser::DeadTables(const YAML::Node& node, const std::string& path) const {
  if (!node.IsMap()) Fail(node, path, "expected states (plain, shift, altgr, altgr-shift) with their tables");
  std::vector<DeadKeyTable> tables;
  for (const auto& item : node) {
    const std::string state = item.first.Scalar();
    const std::string where = path + "." + state;
    DeadKeyTable table;
    bool known = false;
    for (const auto& s : kStates) {
      if (s.name == state) {
        table.state = s.bit;
        known = true;
      }
    }
    if (!known) Fail(item.first, path, "\"" + state + "\" is not a state (plain, shift, altgr, altgr-shift)");
    for (const auto& t : tables) {
      if (t.state == table.state) Fail(item.first, path, "state \"" + state + "\" is given twice");
    }
    if (!item.second.IsMap() && !item.second.IsNull()) {
      Fail(item.second, where, "expected base characters with what they compose to");
    }
    if (item.second.IsMap()) {
      for (const auto& entry : item.second) {
        Composition c;
        c.base = Unit(entry.first, where);
        const std::string at = where + "." + entry.first.Scalar();
        if (entry.second.IsSequence()) {
          if (entry.second.size() != 2) Fail(entry.second, at, "expected [composed, shifted]");
          c.composed = Unit(entry.second[0], at);
          c.shifted = Unit(entry.second[1], at);
        } else {
          // One character: the partner typed shifted composes to the same.
          c.composed = Unit(entry.second, at);
          c.shifted = c.composed;
        }
        table.compositions.push_back(c);
      }
    }
    tables.push_back(std::move(table));
  }
  return tables;
}

// A field of a key as found: in the key itself or in its panel's defaults.
// (YAML::Node handles are never reassigned here: assigning one node to
// another rebinds the document's node, not the handle.)
struct Field {
  YAML::Node node;
  std::string path;
  bool present = false;
  explicit operator bool() const { return present; }
};

KeyRecord Parser::BuildKey(const YAML::Node& node, const YAML::Node& defaults, const std::string& path,
                           std::vector<DeadKeyTable>* dead) const {
  auto get = [&](const char* name) -> Field {
    if (node.IsMap() && node[name]) return Field{node[name], path + "." + name, true};
    if (defaults && defaults[name]) return Field{defaults[name], "defaults." + std::string(name), true};
    return Field{};
  };
  auto u8 = [&](const char* name, uint8_t& out) {
    if (Field f = get(name)) out = static_cast<uint8_t>(Number(f.node, f.path, 0, 255));
  };
  auto u16 = [&](const char* name, uint16_t& out) {
    if (Field f = get(name)) out = static_cast<uint16_t>(Number(f.node, f.path, 0, 0xFFFF));
  };

  KeyRecord key;
  key.keyType = source::kDefaultKeyType;
  u8("type", key.keyType);

  const Field size = get("size");
  if (size) std::tie(key.width, key.height) = Pair(size.node, size.path);
  u16("width", key.width);
  u16("height", key.height);
  if (!size && !(get("width") && get("height"))) {
    Fail(node, path, "the key has no size (give size: [width, height] here or in the panel's defaults)");
  }

  u8("down", key.down);
  u16("unknown0", key.unknown0);
  u8("unknown2", key.unknown2);
  u8("unknown3", key.unknown3);
  u8("unknown5", key.unknown5);

  const bool utf16 = IsUtf16KeyType(key.keyType);
  const bool stateChars = IsStateCharKeyType(key.keyType);
  // A bare text in a row is the key's label.
  const Field label = node.IsScalar() ? Field{node, path, true} : get("label");
  const Field chars = get("chars");
  if (label && chars) Fail(chars.node, chars.path, "give either label or chars, not both");
  if (label) TextField(key.label, label.node, label.path, utf16);
  if (chars) {
    if (!stateChars) Fail(chars.node, chars.path, "chars are for key types 17, 19 and 49; use label");
    Fields(chars.node, chars.path, {"plain", "shift", "altgr", "altgr-shift"});
    for (const auto& s : kStates) {
      const std::string name(s.name);
      if (chars.node[name]) key.SetStateChar(s.cell, Unit(chars.node[name], chars.path + "." + name));
    }
  }
  if (Field f = get("deadKeyStates")) {
    if (!stateChars) Fail(f.node, f.path, "deadKeyStates is for key types 17, 19 and 49");
    if (label) Fail(f.node, f.path, "deadKeyStates lies inside label; give it there or use chars");
    key.SetDeadKeyStates(static_cast<uint8_t>(Number(f.node, f.path, 0, 255)));
  }
  if (Field f = get("shiftLabel")) TextField(key.shiftLabel, f.node, f.path, utf16);
  if (Field f = get("output")) TextField(key.output, f.node, f.path, true);

  if (Field f = get("dead")) {
    if (key.keyType != 19) Fail(f.node, f.path, "dead-key tables are for key type 19");
    if (get("output") || get("shiftLabel")) {
      Fail(f.node, f.path, "a dead key's output and shiftLabel hold its tables; do not give them");
    }
    if (dead) *dead = DeadTables(f.node, f.path);
  }

  if (Field f = get("colours")) {
    if (!f.node.IsSequence() || f.node.size() != 4) Fail(f.node, f.path, "expected [face, text, light, shadow]");
    key.SetColours(Colour(f.node[0], f.path), Colour(f.node[1], f.path), Colour(f.node[2], f.path),
                   Colour(f.node[3], f.path));
  }
  // Single colours after the list, so a key can change one of its panel's.
  if (Field f = get("face")) key.faceColour = Colour(f.node, f.path);
  if (Field f = get("text")) key.textColour = Colour(f.node, f.path);
  if (Field f = get("light")) key.lightEdgeColour = Colour(f.node, f.path);
  if (Field f = get("shadow")) key.shadowEdgeColour = Colour(f.node, f.path);
  return key;
}

uint16_t Parser::PlaceKey(const YAML::Node& node, const YAML::Node& defaults, const std::string& path,
                          Panel& panel, uint16_t x, uint16_t y, Keyboard& keyboard) {
  std::string name;
  bool onlyReference = false;
  if (node.IsMap()) {
    Fields(node, path, kKeyFields);
    if (node["file"]) name = Name(node["file"], path + ".file");
    onlyReference = !name.empty();
    for (const auto& item : node) {
      const std::string field = item.first.Scalar();
      if (field != "file" && field != "at" && field != "skip") onlyReference = false;
    }
  } else if (!node.IsScalar()) {
    Fail(node, path, "expected a key: its fields, or its label text");
  }

  if (onlyReference && keyboard.keys.contains(name)) {
    panel.placements.push_back(Placement{name, x, y});
    return keyboard.keys.at(name).width;
  }

  std::vector<DeadKeyTable> tables;
  const KeyRecord key = BuildKey(node, defaults, path, &tables);
  const bool hasDead = (node.IsMap() && node["dead"]) || (defaults && defaults["dead"]);
  ++distinctKeys_;
  if (name.empty()) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "KEY%05u.KEY", static_cast<unsigned>(distinctKeys_));
    name = buffer;
  }
  if (auto existing = keyboard.keys.find(name); existing != keyboard.keys.end()) {
    --distinctKeys_;
    if (!(existing->second == key) || (hasDead && !dead_.contains(name))) {
      Fail(node, path, "key file " + name + " is already defined (at line " +
                           std::to_string(definedAt_[name].Mark().line + 1) +
                           ") with other contents; keys without a file are named KEYnnnnn.KEY in order");
    }
  } else {
    keyboard.keys[name] = key;
    definedAt_[name] = node;
    if (hasDead) dead_[name] = std::move(tables);
  }
  panel.placements.push_back(Placement{name, x, y});
  return key.width;
}

void Parser::ReadPanel(const YAML::Node& node, const std::string& path, Keyboard& keyboard) {
  Fields(node, path,
         {"file", "place", "size", "keyList", "keyCount", "placementCount", "unknown0", "unknown2", "unknown3",
          "unknown17", "unknown26", "unknown27", "unknown28", "unknown29", "listUnknown0", "listUnknown2",
          "listUnknown3", "defaults", "gap", "rows", "keys"});
  Panel panel;
  PanelRecord& r = panel.record;
  auto u8 = [&](const char* name, uint8_t& field) {
    if (node[name]) field = static_cast<uint8_t>(Number(node[name], path + "." + name, 0, 0xFF));
  };
  auto u16 = [&](const char* name, uint16_t& field) {
    if (node[name]) field = static_cast<uint16_t>(Number(node[name], path + "." + name, 0, 0xFFFF));
  };
  if (node["file"]) panel.fileName = Name(node["file"], path + ".file");
  if (node["place"]) std::tie(r.left, r.top) = Pair(node["place"], path + ".place");
  if (!node["size"]) Fail(node, path, "the panel has no size: [width, height]");
  std::tie(r.width, r.height) = Pair(node["size"], path + ".size");
  if (node["keyList"]) {
    const YAML::Node& list = node["keyList"];
    if (list.IsSequence()) {
      r.keyListName = ByteArray<13>(list, path + ".keyList");
    } else {
      r.keyListName = RawMemberName(Name(list, path + ".keyList"));
    }
  }
  if (node["keyCount"]) r.keyCount = static_cast<uint32_t>(Number(node["keyCount"], path + ".keyCount", 0, 0xFFFFFFFF));
  if (node["placementCount"]) {
    panel.placementCount =
        static_cast<int32_t>(Number(node["placementCount"], path + ".placementCount", INT32_MIN, INT32_MAX));
  }
  u16("unknown0", r.unknown0);
  u8("unknown2", r.unknown2);
  u8("unknown3", r.unknown3);
  u8("unknown17", r.unknown17);
  u8("unknown26", r.unknown26);
  u8("unknown27", r.unknown27);
  u8("unknown28", r.unknown28);
  if (node["unknown29"]) r.unknown29 = ByteArray<4>(node["unknown29"], path + ".unknown29");
  u16("listUnknown0", panel.keyListHeader.unknown0);
  u8("listUnknown2", panel.keyListHeader.unknown2);
  u8("listUnknown3", panel.keyListHeader.unknown3);

  const YAML::Node defaults = node["defaults"];
  if (defaults) {
    std::set<std::string> allowed = kKeyFields;
    allowed.erase("file");
    allowed.erase("at");
    allowed.erase("skip");
    Fields(defaults, path + ".defaults", allowed);
  }
  std::pair<uint16_t, uint16_t> gap{0, 0};
  if (node["gap"]) gap = Pair(node["gap"], path + ".gap");

  if (const YAML::Node rows = node["rows"]) {
    if (!rows.IsSequence()) Fail(rows, path + ".rows", "expected a list of rows");
    uint32_t y = 0;
    uint32_t previousHeight = 0;
    for (size_t ri = 0; ri < rows.size(); ++ri) {
      const YAML::Node row = rows[ri];
      const std::string rowPath = path + ".rows[" + std::to_string(ri) + "]";
      uint32_t x = 0;
      if (ri > 0) y += previousHeight + gap.second;
      if (row.IsMap()) {
        Fields(row, rowPath, {"x", "y", "keys"});
        if (row["x"]) x = static_cast<uint32_t>(Number(row["x"], rowPath + ".x", 0, 0xFFFF));
        if (row["y"]) y = static_cast<uint32_t>(Number(row["y"], rowPath + ".y", 0, 0xFFFF));
        if (!row["keys"]) Fail(row, rowPath, "the row has no keys");
      }
      const YAML::Node keys = row.IsMap() ? row["keys"] : row;
      if (!keys.IsSequence()) Fail(keys, rowPath, "expected a list of keys");
      previousHeight = 0;
      for (size_t ki = 0; ki < keys.size(); ++ki) {
        const YAML::Node key = keys[ki];
        const std::string keyPath = rowPath + "[" + std::to_string(ki) + "]";
        if (key.IsMap() && key["at"]) Fail(key["at"], keyPath, "a key in a row takes its place from the row");
        if (key.IsMap() && key["skip"]) x += static_cast<uint32_t>(Number(key["skip"], keyPath + ".skip", 0, 0xFFFF));
        if (x > 0xFFFF || y > 0xFFFF) Fail(key, keyPath, "the key lies beyond 65535 pixels");
        const uint16_t width = PlaceKey(key, defaults, keyPath, panel, static_cast<uint16_t>(x),
                                        static_cast<uint16_t>(y), keyboard);
        previousHeight = std::max<uint32_t>(previousHeight, keyboard.keys.at(panel.placements.back().keyFile).height);
        x += width + gap.first;
      }
    }
  }
  if (const YAML::Node keys = node["keys"]) {
    if (!keys.IsSequence()) Fail(keys, path + ".keys", "expected a list of keys");
    for (size_t ki = 0; ki < keys.size(); ++ki) {
      const YAML::Node key = keys[ki];
      const std::string keyPath = path + ".keys[" + std::to_string(ki) + "]";
      if (!key.IsMap() || !key["at"]) Fail(key, keyPath, "a key in keys needs at: [x, y]");
      if (key["skip"]) Fail(key["skip"], keyPath, "skip is for keys in rows");
      const auto [x, y] = Pair(key["at"], keyPath + ".at");
      PlaceKey(key, defaults, keyPath, panel, x, y, keyboard);
    }
  }
  keyboard.panels.push_back(std::move(panel));
}

Keyboard Parser::Parse(const YAML::Node& root) {
  Keyboard keyboard;
  if (!root.IsMap()) Fail(root, "", "a keyboard source is a mapping with panelSet and panels");
  Fields(root, "", {"panelSet", "panels"});
  if (root["panelSet"]) ReadHeader(root["panelSet"], keyboard);
  const YAML::Node panels = root["panels"];
  if (!panels || !panels.IsSequence()) Fail(root, "panels", "expected a list of panels");
  for (size_t i = 0; i < panels.size(); ++i) {
    ReadPanel(panels[i], "panels[" + std::to_string(i) + "]", keyboard);
  }
  try {
    ApplyDeadKeys(keyboard, dead_);
  } catch (const std::invalid_argument& e) {
    const std::string name = e.what();
    // Point at the dead key the message names.
    for (const auto& [key, node] : definedAt_) {
      if (name.rfind("dead key " + key + " ", 0) == 0 || name.rfind("dead key " + key + ":", 0) == 0) {
        Fail(node, "", e.what());
      }
    }
    throw SourceError(file_ + ": " + e.what());
  }
  return keyboard;
}

}  // namespace

Keyboard ParseSource(const std::string& text, const std::string& fileName) {
  YAML::Node root;
  try {
    root = YAML::Load(text);
  } catch (const YAML::Exception& e) {
    throw SourceError(fileName + ":" + std::to_string(e.mark.line + 1) + ":" + std::to_string(e.mark.column + 1) +
                      ": " + e.msg);
  }
  return Parser(fileName).Parse(root);
}

Keyboard LoadSourceFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SourceError(file.string() + ": cannot read the source");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseSource(text.str(), file.string());
}

}  // namespace kbf
