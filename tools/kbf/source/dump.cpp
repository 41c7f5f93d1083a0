// Writing a keyboard model as its YAML source.
//
// The dump is exact: building it gives the same member bytes. Fields that
// hold their default are left out; texts that would not read back exactly
// (bytes after the NUL, characters that are not printable) are written as
// byte lists; dead-key tables are written readably only when rebuilding them
// gives the very same bytes, otherwise the fields that hold them are written
// as they are.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/kbf/source/fields.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/text.h"

namespace kbf {

namespace {

using source::ByteList;
using source::HexNumber;
using source::kStates;
using source::Quote;

std::string Numbered(const char* format, size_t n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(n));
  return buffer;
}

std::string PairText(uint32_t a, uint32_t b) { return "[" + std::to_string(a) + ", " + std::to_string(b) + "]"; }

template <size_t N>
bool AllZero(const std::array<uint8_t, N>& a) {
  return std::all_of(a.begin(), a.end(), [](uint8_t b) { return b == 0; });
}

// The field as UTF-16 source text, if it reads back to the same bytes.
template <size_t N>
std::optional<std::string> Utf16Text(const std::array<uint8_t, N>& field) {
  std::u16string text;
  size_t i = 0;
  for (; i + 1 < N; i += 2) {
    const char16_t unit = static_cast<char16_t>(field[i] | (field[i + 1] << 8));
    if (unit == 0) break;
    if (!source::PrintableUnit(unit)) return std::nullopt;
    text.push_back(unit);
  }
  for (; i < N; ++i) {
    if (field[i] != 0) return std::nullopt;
  }
  return Utf8FromUtf16(text);
}

// The field as 8-bit source text, if it reads back to the same bytes.
template <size_t N>
std::optional<std::string> Text8(const std::array<uint8_t, N>& field) {
  std::string bytes;
  size_t i = 0;
  for (; i < N && field[i] != 0; ++i) {
    if (!source::PrintableByte(field[i])) return std::nullopt;
    bytes.push_back(static_cast<char>(field[i]));
  }
  for (; i < N; ++i) {
    if (field[i] != 0) return std::nullopt;
  }
  return Utf8FromUtf16(Utf16FromCp1252(bytes));
}

template <size_t N>
std::string TextOrBytes(const std::array<uint8_t, N>& field, bool utf16) {
  auto text = utf16 ? Utf16Text(field) : Text8(field);
  return text ? Quote(*text) : ByteList(field);
}

// A file name as source text, or its bytes.
std::string NameValue(const std::string& name) {
  bool readable = !name.empty() && name.size() <= kNameSize;
  for (char c : name) readable = readable && source::PrintableByte(static_cast<uint8_t>(c));
  if (readable) return Quote(Utf8FromUtf16(Utf16FromCp1252(name)));
  std::vector<uint8_t> bytes(name.begin(), name.end());
  return ByteList(bytes);
}

std::string ColourValue(uint8_t index) {
  return index < source::kColourNames.size() ? std::string(source::kColourNames[index]) : std::to_string(index);
}

char16_t OutputUnit(const KeyRecord& key, size_t i) {
  return static_cast<char16_t>(key.output[2 * i] | (key.output[2 * i + 1] << 8));
}

// Readable dead-key tables that rebuild the keyboard's bytes exactly, and the
// keys whose fields they account for; empty when there is no such form.
struct DeadForm {
  std::map<std::string, std::vector<DeadKeyTable>> tables;
  std::set<std::string> partners;
};

std::optional<DeadForm> FindDeadForm(const Keyboard& keyboard) {
  DeadForm form;
  for (const auto& [name, key] : keyboard.keys) {
    if (key.keyType != 19) continue;
    std::vector<DeadKeyTable> tables;
    size_t slot = 0;
    for (; slot < 12 && OutputUnit(key, slot) != 0; ++slot) {
      const char16_t base = OutputUnit(key, slot);
      const uint8_t code = key.shiftLabel[slot];
      const uint8_t state = code >> 4;
      const size_t index = code & 15;
      if (state != kStatePlain && state != kStateShift && state != kStateAltGr && state != kStateAltGrShift) {
        return std::nullopt;
      }
      if (index > 14) return std::nullopt;
      const std::vector<std::string> partners = CompositionPartners(keyboard, base);
      if (partners.empty()) return std::nullopt;
      const KeyRecord& partner = keyboard.keys.at(partners.front());
      if (tables.empty() || tables.back().state != state) tables.push_back(DeadKeyTable{state, {}});
      tables.back().compositions.push_back(Composition{base, OutputUnit(partner, index), OutputUnit(partner, index + 1)});
      form.partners.insert(partners.begin(), partners.end());
    }
    for (const auto& s : kStates) {
      const bool listed = std::any_of(tables.begin(), tables.end(), [&](const DeadKeyTable& t) { return t.state == s.bit; });
      if ((key.DeadKeyStates() & s.bit) && !listed) tables.push_back(DeadKeyTable{s.bit, {}});
    }
    if (!tables.empty()) form.tables[name] = std::move(tables);
  }
  if (form.tables.empty()) return form;

  Keyboard rebuilt = keyboard;
  for (const auto& [name, tables] : form.tables) {
    KeyRecord& key = rebuilt.keys.at(name);
    key.output.fill(0);
    key.shiftLabel.fill(0);
    key.SetDeadKeyStates(0);
  }
  for (const std::string& name : form.partners) rebuilt.keys.at(name).output.fill(0);
  try {
    ApplyDeadKeys(rebuilt, form.tables);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  if (rebuilt.keys != keyboard.keys) return std::nullopt;
  return form;
}

std::string DeadText(const std::vector<DeadKeyTable>& tables) {
  std::string out = "{";
  for (size_t t = 0; t < tables.size(); ++t) {
    std::string name;
    for (const auto& s : kStates) {
      if (s.bit == tables[t].state) name = std::string(s.name);
    }
    out += (t ? ", " : "") + name + ": {";
    const auto& list = tables[t].compositions;
    for (size_t i = 0; i < list.size(); ++i) {
      out += (i ? ", " : "") + Quote(source::UnitText(list[i].base)) + ": ";
      if (list[i].composed == list[i].shifted) {
        out += Quote(source::UnitText(list[i].composed));
      } else {
        out += "[" + Quote(source::UnitText(list[i].composed)) + ", " + Quote(source::UnitText(list[i].shifted)) + "]";
      }
    }
    out += "}";
  }
  return out + "}";
}

struct Defaults {
  std::pair<uint16_t, uint16_t> size{0, 0};
  bool hasSize = false;
  uint8_t type = source::kDefaultKeyType;
  std::array<uint8_t, 4> colours{kSilver, kBlack, kWhite, kGrey};
};

std::array<uint8_t, 4> Colours(const KeyRecord& k) {
  return {k.faceColour, k.textColour, k.lightEdgeColour, k.shadowEdgeColour};
}

template <typename T>
T MostCommon(const std::vector<T>& values, T fallback) {
  std::map<T, size_t> counts;
  for (const T& v : values) ++counts[v];
  T best = fallback;
  size_t bestCount = 0;
  for (const auto& [v, n] : counts) {
    if (n > bestCount) {
      best = v;
      bestCount = n;
    }
  }
  return best;
}

class Dumper {
 public:
  explicit Dumper(const Keyboard& keyboard) : keyboard_(keyboard), dead_(FindDeadForm(keyboard)) {
    for (const Panel& panel : keyboard.panels) {
      for (const Placement& p : panel.placements) {
        if (!keyboard.keys.contains(p.keyFile)) {
          throw std::invalid_argument("a placement names key file \"" + p.keyFile + "\", which the keyboard does not have");
        }
        if (placed_[p.keyFile]++ == 0) order_[p.keyFile] = order_.size() + 1;
      }
    }
    for (const auto& [name, key] : keyboard.keys) {
      if (!placed_.contains(name)) {
        throw std::invalid_argument("key file \"" + name + "\" is on no panel; a source cannot hold it");
      }
    }
  }

  std::string Dump();

 private:
  void Header();
  void PanelText(size_t index);
  std::string KeyText(const std::string& name, const KeyRecord& key, const Defaults& defaults);

  const Keyboard& keyboard_;
  std::optional<DeadForm> dead_;
  std::map<std::string, size_t> placed_;
  std::map<std::string, size_t> order_;
  std::set<std::string> written_;
  std::ostringstream out_;
};

void Dumper::Header() {
  const PanelSetHeader& h = keyboard_.header;
  std::vector<std::string> lines;
  auto num = [&](const char* name, uint32_t value) {
    if (value != 0) lines.push_back(std::string(name) + ": " + HexNumber(value));
  };
  auto bytes = [&](const char* name, std::span<const uint8_t> value) {
    if (std::any_of(value.begin(), value.end(), [](uint8_t b) { return b != 0; })) {
      lines.push_back(std::string(name) + ": " + ByteList(value));
    }
  };
  if (h.magic != std::array<uint8_t, 2>{'P', 'N'}) lines.push_back("magic: " + ByteList(h.magic));
  if (h.formatVersion != 1) lines.push_back("formatVersion: " + std::to_string(h.formatVersion));
  if (keyboard_.panelCount) lines.push_back("panelCount: " + std::to_string(*keyboard_.panelCount));
  if (h.positionX || h.positionY) lines.push_back("position: " + PairText(h.positionX, h.positionY));
  num("unknown2", h.unknown2);
  num("unknown8", h.unknown8);
  num("unknown9", h.unknown9);
  num("unknown11", h.unknown11);
  num("unknown17", h.unknown17);
  num("unknown18", h.unknown18);
  num("unknown19", h.unknown19);
  bytes("unknown20", h.unknown20);
  bytes("unknown24", h.unknown24);
  num("unknown88", h.unknown88);
  num("unknown89", h.unknown89);
  num("unknown90", h.unknown90);
  num("unknown92", h.unknown92);
  if (!keyboard_.panelSetTrailer.empty()) {
    // Every byte counts here, trailing zeros too.
    std::string list = "[";
    for (size_t i = 0; i < keyboard_.panelSetTrailer.size(); ++i) {
      list += (i ? ", " : "") + Numbered("0x%02X", keyboard_.panelSetTrailer[i]);
    }
    lines.push_back("trailer: " + list + "]");
  }
  if (lines.empty()) return;
  out_ << "panelSet:\n";
  for (const std::string& line : lines) out_ << "  " << line << "\n";
}

std::string Dumper::KeyText(const std::string& name, const KeyRecord& key, const Defaults& defaults) {
  std::vector<std::string> f;
  const bool deadKey = dead_ && dead_->tables.contains(name);
  const bool partner = dead_ && dead_->partners.contains(name);

  if (!defaults.hasSize || defaults.size != std::pair<uint16_t, uint16_t>{key.width, key.height}) {
    f.push_back("size: " + PairText(key.width, key.height));
  }
  if (key.keyType != defaults.type) f.push_back("type: " + std::to_string(key.keyType));
  if (key.down) f.push_back("down: " + std::to_string(key.down));

  const bool utf16 = IsUtf16KeyType(key.keyType);
  if (IsStateCharKeyType(key.keyType) && key.label[2] == 0 && key.label[3] == 0 && key.label[11] == 0) {
    std::vector<std::string> chars;
    for (const auto& s : kStates) {
      if (char16_t unit = key.StateChar(s.cell)) chars.push_back(std::string(s.name) + ": " + Quote(source::UnitText(unit)));
    }
    if (!chars.empty()) {
      std::string list;
      for (const std::string& c : chars) list += (list.empty() ? "" : ", ") + c;
      f.push_back("chars: {" + list + "}");
    }
    if (key.DeadKeyStates() && !deadKey) f.push_back("deadKeyStates: " + std::to_string(key.DeadKeyStates()));
  } else if (!AllZero(key.label)) {
    f.push_back("label: " + TextOrBytes(key.label, utf16));
  }
  if (!deadKey && !AllZero(key.shiftLabel)) f.push_back("shiftLabel: " + TextOrBytes(key.shiftLabel, utf16));
  if (!deadKey && !partner && !AllZero(key.output)) f.push_back("output: " + TextOrBytes(key.output, true));
  if (deadKey) f.push_back("dead: " + DeadText(dead_->tables.at(name)));

  const auto colours = Colours(key);
  size_t differing = 0;
  for (size_t i = 0; i < 4; ++i) differing += colours[i] != defaults.colours[i];
  if (differing == 4) {
    f.push_back("colours: [" + ColourValue(colours[0]) + ", " + ColourValue(colours[1]) + ", " +
                ColourValue(colours[2]) + ", " + ColourValue(colours[3]) + "]");
  } else {
    static constexpr const char* kNames[] = {"face", "text", "light", "shadow"};
    for (size_t i = 0; i < 4; ++i) {
      if (colours[i] != defaults.colours[i]) f.push_back(std::string(kNames[i]) + ": " + ColourValue(colours[i]));
    }
  }
  if (key.unknown0) f.push_back("unknown0: " + HexNumber(key.unknown0));
  if (key.unknown2) f.push_back("unknown2: " + HexNumber(key.unknown2));
  if (key.unknown3) f.push_back("unknown3: " + HexNumber(key.unknown3));
  if (key.unknown5) f.push_back("unknown5: " + HexNumber(key.unknown5));

  std::string text;
  for (const std::string& s : f) text += ", " + s;
  return text;
}

void Dumper::PanelText(size_t index) {
  const Panel& panel = keyboard_.panels[index];
  const PanelRecord& r = panel.record;
  out_ << "  - ";
  const char* lead = "";
  auto line = [&](const std::string& text) {
    out_ << lead << text << "\n";
    lead = "    ";
  };
  if (!panel.fileName.empty() && panel.fileName != Numbered("PANEL%03u.PNL", index + 1)) {
    line("file: " + NameValue(panel.fileName));
  }
  line("place: " + PairText(r.left, r.top));
  line("size: " + PairText(r.width, r.height));
  if (!AllZero(r.keyListName) && r.keyListName != MemberName(Numbered("KEYS%03u.KLS", index + 1))) {
    const std::string text = NameText(r.keyListName);
    // Written as a name only when the name's field comes back the same.
    const bool exact = !text.empty() && RawMemberName(text) == r.keyListName &&
                       NameValue(text).front() != '[';
    line("keyList: " + (exact ? NameValue(text) : ByteList(r.keyListName)));
  }
  if (r.keyCount) line("keyCount: " + std::to_string(r.keyCount));
  if (panel.placementCount) line("placementCount: " + std::to_string(*panel.placementCount));
  auto num = [&](const char* name, uint32_t value) {
    if (value) line(std::string(name) + ": " + HexNumber(value));
  };
  num("unknown0", r.unknown0);
  num("unknown2", r.unknown2);
  num("unknown3", r.unknown3);
  num("unknown17", r.unknown17);
  num("unknown26", r.unknown26);
  num("unknown27", r.unknown27);
  num("unknown28", r.unknown28);
  if (!AllZero(r.unknown29)) line("unknown29: " + ByteList(r.unknown29));
  num("listUnknown0", panel.keyListHeader.unknown0);
  num("listUnknown2", panel.keyListHeader.unknown2);
  num("listUnknown3", panel.keyListHeader.unknown3);

  // Defaults: the most common size, type and colours of the keys first
  // defined on this panel.
  std::vector<std::pair<uint16_t, uint16_t>> sizes;
  std::vector<uint8_t> types;
  std::vector<std::array<uint8_t, 4>> colours;
  std::set<std::string> local;
  for (const Placement& p : panel.placements) {
    if (written_.contains(p.keyFile) || !local.insert(p.keyFile).second) continue;
    const KeyRecord& key = keyboard_.keys.at(p.keyFile);
    sizes.emplace_back(key.width, key.height);
    types.push_back(key.keyType);
    colours.push_back(Colours(key));
  }
  Defaults defaults;
  std::vector<std::string> d;
  if (!sizes.empty()) {
    defaults.size = MostCommon(sizes, defaults.size);
    defaults.hasSize = true;
    d.push_back("size: " + PairText(defaults.size.first, defaults.size.second));
    defaults.type = MostCommon(types, defaults.type);
    if (defaults.type != source::kDefaultKeyType) d.push_back("type: " + std::to_string(defaults.type));
    const auto base = defaults.colours;
    defaults.colours = MostCommon(colours, defaults.colours);
    if (defaults.colours != base) {
      d.push_back("colours: [" + ColourValue(defaults.colours[0]) + ", " + ColourValue(defaults.colours[1]) + ", " +
                  ColourValue(defaults.colours[2]) + ", " + ColourValue(defaults.colours[3]) + "]");
    }
  }
  if (!d.empty()) {
    std::string text;
    for (const std::string& s : d) text += (text.empty() ? "" : ", ") + s;
    line("defaults: {" + text + "}");
  }

  if (panel.placements.empty()) {
    line("keys: []");
    return;
  }
  line("keys:");
  for (const Placement& p : panel.placements) {
    std::string text = "{";
    const bool named = placed_.at(p.keyFile) > 1 || p.keyFile != Numbered("KEY%05u.KEY", order_.at(p.keyFile));
    if (named) text += "file: " + NameValue(p.keyFile) + ", ";
    text += "at: " + PairText(p.x, p.y);
    if (written_.insert(p.keyFile).second) text += KeyText(p.keyFile, keyboard_.keys.at(p.keyFile), defaults);
    out_ << "      - " << text << "}\n";
  }
}

std::string Dumper::Dump() {
  Header();
  if (keyboard_.panels.empty()) {
    out_ << "panels: []\n";
  } else {
    out_ << "panels:\n";
    for (size_t i = 0; i < keyboard_.panels.size(); ++i) PanelText(i);
  }
  return out_.str();
}

}  // namespace

std::string DumpSource(const Keyboard& keyboard) { return Dumper(keyboard).Dump(); }

}  // namespace kbf
