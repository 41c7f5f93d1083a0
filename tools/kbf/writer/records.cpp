// Encoding and decoding of the stored records, field by field in offset order.
#include "tools/kbf/writer/records.h"

#include <stdexcept>

#include "tools/kbf/writer/bytes.h"

namespace kbf {

using detail::ByteReader;
using detail::ByteWriter;

std::vector<uint8_t> ContainerHeader::Encode() const {
  ByteWriter w(kContainerHeaderSize);
  w.Bytes(magic);
  w.Bytes(unknown2);
  w.U32(dataStart);
  w.U8(hasPanelSet);
  return w.Take();
}

ContainerHeader ContainerHeader::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  ContainerHeader h;
  h.magic = r.Bytes<2>();
  h.unknown2 = r.Bytes<3>();
  h.dataStart = r.U32();
  h.hasPanelSet = r.U8();
  return h;
}

std::vector<uint8_t> ContainerEntry::Encode() const {
  ByteWriter w(kContainerEntrySize);
  w.Bytes(memberName);
  w.U32(memberOffset);
  w.U32(memberSize);
  return w.Take();
}

ContainerEntry ContainerEntry::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  ContainerEntry e;
  e.memberName = r.Bytes<13>();
  e.memberOffset = r.U32();
  e.memberSize = r.U32();
  return e;
}

std::vector<uint8_t> PanelSetHeader::Encode() const {
  ByteWriter w(kPanelSetHeaderSize);
  w.Bytes(magic);
  w.U8(unknown2);
  w.U8(formatVersion);
  w.U32(panelCount);
  w.U8(unknown8);
  w.U16(unknown9);
  w.U16(unknown11);
  w.U16(positionX);
  w.U16(positionY);
  w.U8(unknown17);
  w.U8(unknown18);
  w.U8(unknown19);
  w.Bytes(unknown20);
  w.Bytes(unknown24);
  w.U8(unknown88);
  w.U8(unknown89);
  w.U16(unknown90);
  w.U32(unknown92);
  return w.Take();
}

PanelSetHeader PanelSetHeader::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  PanelSetHeader h;
  h.magic = r.Bytes<2>();
  h.unknown2 = r.U8();
  h.formatVersion = r.U8();
  h.panelCount = r.U32();
  h.unknown8 = r.U8();
  h.unknown9 = r.U16();
  h.unknown11 = r.U16();
  h.positionX = r.U16();
  h.positionY = r.U16();
  h.unknown17 = r.U8();
  h.unknown18 = r.U8();
  h.unknown19 = r.U8();
  h.unknown20 = r.Bytes<4>();
  h.unknown24 = r.Bytes<64>();
  h.unknown88 = r.U8();
  h.unknown89 = r.U8();
  h.unknown90 = r.U16();
  h.unknown92 = r.U32();
  return h;
}

std::vector<uint8_t> PanelRecord::Encode() const {
  ByteWriter w(kPanelRecordSize);
  w.U16(unknown0);
  w.U8(unknown2);
  w.U8(unknown3);
  w.Bytes(keyListName);
  w.U8(unknown17);
  w.U16(top);
  w.U16(left);
  w.U16(width);
  w.U16(height);
  w.U8(unknown26);
  w.U8(unknown27);
  w.U8(unknown28);
  w.Bytes(unknown29);
  w.U32(keyCount);
  return w.Take();
}

PanelRecord PanelRecord::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  PanelRecord p;
  p.unknown0 = r.U16();
  p.unknown2 = r.U8();
  p.unknown3 = r.U8();
  p.keyListName = r.Bytes<13>();
  p.unknown17 = r.U8();
  p.top = r.U16();
  p.left = r.U16();
  p.width = r.U16();
  p.height = r.U16();
  p.unknown26 = r.U8();
  p.unknown27 = r.U8();
  p.unknown28 = r.U8();
  p.unknown29 = r.Bytes<4>();
  p.keyCount = r.U32();
  return p;
}

std::vector<uint8_t> KeyListHeader::Encode() const {
  ByteWriter w(kKeyListHeaderSize);
  w.U16(unknown0);
  w.U8(unknown2);
  w.U8(unknown3);
  w.U32(static_cast<uint32_t>(placementCount));
  return w.Take();
}

KeyListHeader KeyListHeader::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  KeyListHeader h;
  h.unknown0 = r.U16();
  h.unknown2 = r.U8();
  h.unknown3 = r.U8();
  h.placementCount = static_cast<int32_t>(r.U32());
  return h;
}

std::vector<uint8_t> KeyPlacement::Encode() const {
  ByteWriter w(kKeyPlacementSize);
  w.Bytes(keyFileName);
  w.U16(x);
  w.U16(y);
  return w.Take();
}

KeyPlacement KeyPlacement::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  KeyPlacement p;
  p.keyFileName = r.Bytes<13>();
  p.x = r.U16();
  p.y = r.U16();
  return p;
}

std::vector<uint8_t> KeyRecord::Encode() const {
  ByteWriter w(kKeyRecordSize);
  w.U16(unknown0);
  w.U8(unknown2);
  w.U8(unknown3);
  w.U8(down);
  w.U8(unknown5);
  w.U16(width);
  w.U16(height);
  w.U8(keyType);
  w.Bytes(label);
  w.Bytes(shiftLabel);
  w.Bytes(output);
  w.U8(faceColour);
  w.U8(textColour);
  w.U8(lightEdgeColour);
  w.U8(shadowEdgeColour);
  return w.Take();
}

KeyRecord KeyRecord::Decode(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  KeyRecord k;
  k.unknown0 = r.U16();
  k.unknown2 = r.U8();
  k.unknown3 = r.U8();
  k.down = r.U8();
  k.unknown5 = r.U8();
  k.width = r.U16();
  k.height = r.U16();
  k.keyType = r.U8();
  k.label = r.Bytes<12>();
  k.shiftLabel = r.Bytes<12>();
  k.output = r.Bytes<32>();
  k.faceColour = r.U8();
  k.textColour = r.U8();
  k.lightEdgeColour = r.U8();
  k.shadowEdgeColour = r.U8();
  return k;
}

namespace {

template <size_t N>
void PutUtf16(std::array<uint8_t, N>& field, std::u16string_view text, const char* what) {
  if (text.size() * 2 > N) throw std::length_error(std::string(what) + ": text longer than the field");
  field.fill(0);
  for (size_t i = 0; i < text.size(); ++i) {
    field[2 * i] = static_cast<uint8_t>(text[i]);
    field[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
}

template <size_t N>
void Put8(std::array<uint8_t, N>& field, std::string_view bytes, const char* what) {
  if (bytes.size() > N) throw std::length_error(std::string(what) + ": text longer than the field");
  field.fill(0);
  for (size_t i = 0; i < bytes.size(); ++i) field[i] = static_cast<uint8_t>(bytes[i]);
}

template <size_t N>
std::u16string GetUtf16(const std::array<uint8_t, N>& field) {
  std::u16string text;
  for (size_t i = 0; i + 1 < N; i += 2) {
    char16_t unit = static_cast<char16_t>(field[i] | (field[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

template <size_t N>
std::string Get8(const std::array<uint8_t, N>& field) {
  std::string text;
  for (uint8_t b : field) {
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

}  // namespace

KeyRecord& KeyRecord::SetLabel(std::u16string_view text) {
  PutUtf16(label, text, "label");
  return *this;
}
KeyRecord& KeyRecord::SetShiftLabel(std::u16string_view text) {
  PutUtf16(shiftLabel, text, "shiftLabel");
  return *this;
}
KeyRecord& KeyRecord::SetOutput(std::u16string_view text) {
  PutUtf16(output, text, "output");
  return *this;
}
KeyRecord& KeyRecord::SetLabel8(std::string_view bytes) {
  Put8(label, bytes, "label");
  return *this;
}
KeyRecord& KeyRecord::SetShiftLabel8(std::string_view bytes) {
  Put8(shiftLabel, bytes, "shiftLabel");
  return *this;
}

KeyRecord& KeyRecord::SetStateChar(KeyState state, char16_t ch) {
  size_t at = 2 * static_cast<size_t>(state);
  label[at] = static_cast<uint8_t>(ch);
  label[at + 1] = static_cast<uint8_t>(ch >> 8);
  return *this;
}

char16_t KeyRecord::StateChar(KeyState state) const {
  size_t at = 2 * static_cast<size_t>(state);
  return static_cast<char16_t>(label[at] | (label[at + 1] << 8));
}

// Record offset 21 is byte 10 of `label`.
KeyRecord& KeyRecord::SetDeadKeyStates(uint8_t mask) {
  label[10] = mask;
  return *this;
}
uint8_t KeyRecord::DeadKeyStates() const { return label[10]; }

KeyRecord& KeyRecord::SetColours(uint8_t face, uint8_t text, uint8_t lightEdge, uint8_t shadowEdge) {
  faceColour = face;
  textColour = text;
  lightEdgeColour = lightEdge;
  shadowEdgeColour = shadowEdge;
  return *this;
}

std::u16string KeyRecord::LabelText() const { return GetUtf16(label); }
std::u16string KeyRecord::ShiftLabelText() const { return GetUtf16(shiftLabel); }
std::u16string KeyRecord::OutputText() const { return GetUtf16(output); }
std::string KeyRecord::Label8() const { return Get8(label); }
std::string KeyRecord::ShiftLabel8() const { return Get8(shiftLabel); }

bool IsUtf16KeyType(uint8_t keyType) {
  switch (keyType) {
    case 17: case 18: case 19: case 21: case 49: case 50: case 53:
      return true;
    default:
      return false;
  }
}

bool IsStateCharKeyType(uint8_t keyType) {
  return keyType == 17 || keyType == 19 || keyType == 49;
}

}  // namespace kbf
