// Typed records of a keyboard's file family, every stored byte named.
//
// Each record has Encode(), which yields exactly its stored bytes, and
// Decode(), which reads them back (bytes past the end of the input read as 0,
// as the system's record reader leaves them). Fields that the system never
// interprets are named unknownNN after their offset, so that any file, odd
// bytes included, can be described and rebuilt exactly.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kbf {

// A 13-byte name field: 8.3 name in the 8-bit code page, NUL-padded.
using NameField = std::array<uint8_t, 13>;

// Sizes as stored.
inline constexpr size_t kContainerHeaderSize = 10;
inline constexpr size_t kContainerEntrySize = 21;
inline constexpr size_t kPanelSetHeaderSize = 96;
inline constexpr size_t kNameSize = 13;
inline constexpr size_t kKeyPlacementSize = 17;
inline constexpr size_t kPanelRecordSize = 37;
inline constexpr size_t kKeyListHeaderSize = 8;
inline constexpr size_t kKeyRecordSize = 71;

// Container header, offset 0 of a ".kbf" file.
struct ContainerHeader {
  std::array<uint8_t, 2> magic{'P', '*'};  // 0
  std::array<uint8_t, 3> unknown2{};        // 2
  uint32_t dataStart = 0;                   // 5: end of the directory, start of member data
  uint8_t hasPanelSet = 1;                  // 9: 1 = holds "PNL00001.PNL"

  std::vector<uint8_t> Encode() const;
  static ContainerHeader Decode(std::span<const uint8_t> bytes);
  bool operator==(const ContainerHeader&) const = default;
};

// One directory entry of a container.
struct ContainerEntry {
  NameField memberName{};     // 0
  uint32_t memberOffset = 0;  // 13: from dataStart
  uint32_t memberSize = 0;    // 17: not interpreted by the loader

  std::vector<uint8_t> Encode() const;
  static ContainerEntry Decode(std::span<const uint8_t> bytes);
  bool operator==(const ContainerEntry&) const = default;
};

// Header of the panel-set file "PNL00001.PNL"; the panel names follow it.
struct PanelSetHeader {
  std::array<uint8_t, 2> magic{'P', 'N'};  // 0
  uint8_t unknown2 = 0;                     // 2
  uint8_t formatVersion = 1;                // 3: the loader accepts only 1
  uint32_t panelCount = 0;                  // 4
  uint8_t unknown8 = 0;                     // 8
  uint16_t unknown9 = 0;                    // 9
  uint16_t unknown11 = 0;                   // 11
  uint16_t positionX = 0;                   // 13: stored window position, not used
  uint16_t positionY = 0;                   // 15
  uint8_t unknown17 = 0;                    // 17
  uint8_t unknown18 = 0;                    // 18
  uint8_t unknown19 = 0;                    // 19
  std::array<uint8_t, 4> unknown20{};       // 20
  std::array<uint8_t, 64> unknown24{};      // 24
  uint8_t unknown88 = 0;                    // 88
  uint8_t unknown89 = 0;                    // 89
  uint16_t unknown90 = 0;                   // 90
  uint32_t unknown92 = 0;                   // 92

  std::vector<uint8_t> Encode() const;
  static PanelSetHeader Decode(std::span<const uint8_t> bytes);
  bool operator==(const PanelSetHeader&) const = default;
};

// A panel file: place and size of the panel and the name of its key list.
struct PanelRecord {
  uint16_t unknown0 = 0;           // 0
  uint8_t unknown2 = 0;            // 2
  uint8_t unknown3 = 0;            // 3
  NameField keyListName{};         // 4
  uint8_t unknown17 = 0;           // 17
  uint16_t top = 0;                // 18: top before left, as stored
  uint16_t left = 0;               // 20
  uint16_t width = 0;              // 22
  uint16_t height = 0;             // 24
  uint8_t unknown26 = 0;           // 26
  uint8_t unknown27 = 0;           // 27
  uint8_t unknown28 = 0;           // 28
  std::array<uint8_t, 4> unknown29{};  // 29
  uint32_t keyCount = 0;           // 33: stored as given; files normally hold 0

  std::vector<uint8_t> Encode() const;
  static PanelRecord Decode(std::span<const uint8_t> bytes);
  bool operator==(const PanelRecord&) const = default;
};

// Header of a key-list file; the placements follow it.
struct KeyListHeader {
  uint16_t unknown0 = 0;       // 0
  uint8_t unknown2 = 0;        // 2
  uint8_t unknown3 = 0;        // 3
  int32_t placementCount = 0;  // 4: 0 or negative = none

  std::vector<uint8_t> Encode() const;
  static KeyListHeader Decode(std::span<const uint8_t> bytes);
  bool operator==(const KeyListHeader&) const = default;
};

// One key on a panel: which key file, and where relative to the panel.
struct KeyPlacement {
  NameField keyFileName{};  // 0
  uint16_t x = 0;           // 13
  uint16_t y = 0;           // 15

  std::vector<uint8_t> Encode() const;
  static KeyPlacement Decode(std::span<const uint8_t> bytes);
  bool operator==(const KeyPlacement&) const = default;
};

// Unit index in `label` of each per-state character (key types 17, 19, 49).
enum class KeyState : uint8_t { Plain = 0, Shift = 2, AltGr = 3, AltGrShift = 4 };

// Bits of deadKeyStates (and the dead key's state index).
inline constexpr uint8_t kStatePlain = 1;
inline constexpr uint8_t kStateShift = 2;
inline constexpr uint8_t kStateAltGr = 4;
inline constexpr uint8_t kStateAltGrShift = 8;

// Colour indexes of the 16-colour palette that the default key uses.
inline constexpr uint8_t kBlack = 0;
inline constexpr uint8_t kSilver = 7;
inline constexpr uint8_t kGrey = 8;
inline constexpr uint8_t kWhite = 15;

// A key file.
//
// Example, a type 1 key 20 x 16 labelled "q" (8-bit) with shift label "Q"
// and the default colours:
//   00: 00 00 00 00 00 00 14 00 10 00 01 71 00 00 00 00   width 20, height 16, type 1, "q"
//   16: 00 00 00 00 00 00 00 51 00 00 00 00 00 00 00 00   shiftLabel "Q" at 23
//   32: 00 00 00 ...  (output, 32 zero bytes from 35)
//   67: 07 00 0f 08                                       silver, black, white, grey
struct KeyRecord {
  uint16_t unknown0 = 0;             // 0
  uint8_t unknown2 = 0;              // 2
  uint8_t unknown3 = 0;              // 3
  uint8_t down = 0;                  // 4: initial shown-down state
  uint8_t unknown5 = 0;              // 5
  uint16_t width = 0;                // 6
  uint16_t height = 0;               // 8
  uint8_t keyType = 0;               // 10
  std::array<uint8_t, 12> label{};       // 11
  std::array<uint8_t, 12> shiftLabel{};  // 23
  std::array<uint8_t, 32> output{};      // 35: UTF-16LE, 16 units
  uint8_t faceColour = kSilver;          // 67
  uint8_t textColour = kBlack;           // 68
  uint8_t lightEdgeColour = kWhite;      // 69
  uint8_t shadowEdgeColour = kGrey;      // 70

  std::vector<uint8_t> Encode() const;
  static KeyRecord Decode(std::span<const uint8_t> bytes);
  bool operator==(const KeyRecord&) const = default;

  // Text setters write the text and zero the rest of the field. A text that
  // fills the field exactly is stored without a NUL; a longer one throws
  // std::length_error. UTF-16 setters store UTF-16LE units; the 8-bit ones
  // store the bytes as given (code page bytes).
  KeyRecord& SetLabel(std::u16string_view text);
  KeyRecord& SetShiftLabel(std::u16string_view text);
  KeyRecord& SetOutput(std::u16string_view text);
  KeyRecord& SetLabel8(std::string_view bytes);
  KeyRecord& SetShiftLabel8(std::string_view bytes);

  // Per-state characters and the dead-key mask live inside `label`; these
  // touch only their own unit or byte.
  KeyRecord& SetStateChar(KeyState state, char16_t ch);
  char16_t StateChar(KeyState state) const;
  KeyRecord& SetDeadKeyStates(uint8_t mask);  // byte at record offset 21
  uint8_t DeadKeyStates() const;

  KeyRecord& SetColours(uint8_t face, uint8_t text, uint8_t lightEdge, uint8_t shadowEdge);

  // Texts as the system reads them: UTF-16 up to the first zero unit or the
  // field's end; 8-bit up to the first NUL or the field's end.
  std::u16string LabelText() const;
  std::u16string ShiftLabelText() const;
  std::u16string OutputText() const;
  std::string Label8() const;
  std::string ShiftLabel8() const;
};

// Key types whose labels are UTF-16 (the others are 8-bit text).
bool IsUtf16KeyType(uint8_t keyType);
// Key types whose `label` holds one character per modifier state.
bool IsStateCharKeyType(uint8_t keyType);

}  // namespace kbf
