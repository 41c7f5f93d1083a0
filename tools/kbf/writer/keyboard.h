// The keyboard model: a panel set, its panels with their key lists, and key
// files kept by name, turned into the family of member files by Members().
//
// Names left empty are generated: panels "PANEL001.PNL", key lists
// "KEYS001.KLS" (numbered from 1 in panel order) and keys "KEY00001.KEY"
// (AddKey). Counts that the files store (panelCount, placementCount) follow
// the model unless an explicit value is given.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kbf/writer/members.h"
#include "tools/kbf/writer/records.h"

namespace kbf {

struct Placement {
  std::string keyFile;  // names an entry of Keyboard::keys
  uint16_t x = 0;
  uint16_t y = 0;
};

struct Panel {
  std::string fileName;  // "" = generated
  // Its keyListName names the key-list member; all zero = generated.
  PanelRecord record;
  KeyListHeader keyListHeader;  // placementCount replaced, see below
  std::optional<int32_t> placementCount;  // stored instead of placements.size()
  std::vector<Placement> placements;
};

struct Keyboard {
  PanelSetHeader header;  // panelCount replaced, see below
  std::optional<uint32_t> panelCount;  // stored instead of panels.size()
  std::vector<Panel> panels;
  std::map<std::string, KeyRecord> keys;  // by key file name
  // Bytes after the last panel name of the panel-set file. Only a file that
  // ends inside its last promised name needs them (the loader accepts that
  // name's partial read and skips the panel).
  std::vector<uint8_t> panelSetTrailer;
};

// Panel-set member "PNL00001.PNL" first, then for each panel its panel file
// and its key list, then the key files in name order. Throws
// std::invalid_argument when a placement names a key that is not in `keys`,
// and std::length_error for a name longer than 13 bytes.
std::vector<Member> Members(const Keyboard& keyboard);

// The names Members() uses for panel i (0-based).
std::string PanelFileName(const Keyboard& keyboard, size_t panel);
std::string KeyListFileName(const Keyboard& keyboard, size_t panel);

// A key with the given size, type, label and output and the default colours
// (silver face, black text, white and grey edges). For UTF-16 key types the
// label is stored as UTF-16; for the others as 8-bit text (each unit must be
// below 0x100). For the per-state types 17, 19, 49 the label's units are the
// per-state characters in unit order.
KeyRecord MakeKey(uint16_t width, uint16_t height, uint8_t keyType, std::u16string_view label,
                  std::u16string_view output = u"");

// Adds a key file under a generated name "KEYnnnnn.KEY" (or `name`) and
// returns the name.
std::string AddKey(Keyboard& keyboard, const KeyRecord& key, std::string name = "");

// Adds a panel at (left, top) of the given size whose keys are laid out in
// rows: each row starts at x = 0, keys follow one another without gaps, and
// each row lies below the tallest key of the one before it.
Panel& AddPanelOfRows(Keyboard& keyboard, uint16_t left, uint16_t top, uint16_t width,
                      uint16_t height, const std::vector<std::vector<KeyRecord>>& rows);

// Dead keys. A table says, for one state that the dead key is tapped in
// (kStatePlain .. kStateAltGrShift), which character each base character
// composes to, typed plain and typed shifted.
struct Composition {
  char16_t base = 0;
  char16_t composed = 0;
  char16_t shifted = 0;
};
struct DeadKeyTable {
  uint8_t state = kStatePlain;
  std::vector<Composition> compositions;
};

// Writes the binary tables: the dead key's `output` base characters and
// `shiftLabel` codes, and the composed units in the `output` of every key
// whose plain (or AltGr) character is a base. Throws std::invalid_argument,
// naming the keys, when a table does not fit: more than 12 slots on a dead
// key, a partner whose `output` is in use, no free index up to 14, a base that
// no key types, or a dead key that is not of type 19. `deadKeyStates` of each
// dead key gains the states of its tables.
void ApplyDeadKeys(Keyboard& keyboard,
                   const std::map<std::string, std::vector<DeadKeyTable>>& tablesByKey);

// The keys that take the compositions of a base character: keys of types 1
// and 33 whose label unit 0 is the base, and keys of types 17 and 49 whose
// plain or AltGr character is the base. Other keys whose label happens to
// begin with the base are left alone.
std::vector<std::string> CompositionPartners(const Keyboard& keyboard, char16_t base);

}  // namespace kbf
