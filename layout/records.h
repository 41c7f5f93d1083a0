// The keyboard file records: their kinds and sizes, the offset and width of
// every field, the in-memory key entry and panel block, the byte accessors
// through which every multi-byte field is read, and bounded readers for the
// text fields. This header is the one definition of the stored layout; the
// loader, drawing and input code all read records through it.
//
// Records are byte-packed and little-endian, and are held in memory byte for
// byte as stored. Fields are unaligned, so nothing here casts a byte buffer to
// a struct: fields are read and written through ReadU16/ReadU32/... at an
// offset. Each record has a field table (one entry per field, in stored order,
// which is also the order in which ReadRecord reads them); the named offsets
// below are checked against the tables at compile time.
//
// A key record as stored (a Shift key of type 18, 36 x 20 pixels, UTF-16
// labels "Shift", output "[Shift-Down]", colours face 7, text 0, light 15,
// shadow 8):
//
//   0000: 00 00 00 00 00 00 24 00 14 00 12 53 00 68 00 69
//   0010: 00 66 00 74 00 00 00 53 00 68 00 69 00 66 00 74
//   0020: 00 00 00 5b 00 53 00 68 00 69 00 66 00 74 00 2d
//   0030: 00 44 00 6f 00 77 00 6e 00 5d 00 00 00 00 00 00
//   0040: 00 00 00 07 00 0f 08
//
//   offset 4 down = 0, 6 width = 0x0024, 8 height = 0x0014, 10 keyType = 0x12,
//   11 label, 23 shiftLabel, 35 output (32 bytes), 67..70 the four colours.
#pragma once

#include <windows.h>

namespace tapora {

// ---- record kinds

enum class RecordKind : DWORD {
  ContainerHeader = 1,
  ContainerEntry = 2,
  PanelSetHeader = 3,
  PanelName = 4,
  KeyPlacement = 5,
  PanelRecord = 6,
  KeyListHeader = 7,
  KeyRecord = 8,
};

struct Field {
  DWORD offset;
  DWORD width;
};

// Width of every 8.3 name field: 12 characters and a NUL.
constexpr DWORD NAME_WIDTH = 13;
// Units of a buffer that holds any name field converted to UTF-16.
constexpr int NAME_UNITS = NAME_WIDTH + 1;

// The one fixed name of the family: the panel-set file, loose or as a member.
inline constexpr WCHAR PANEL_SET_FILE_NAME[] = TEXT("PNL00001.PNL");

// ---- ContainerHeader (10 bytes, offset 0 of a container)
constexpr DWORD CONTAINER_MAGIC = 0;          // 2 bytes "P*"
constexpr DWORD CONTAINER_DATA_START = 5;     // u32
constexpr DWORD CONTAINER_HAS_PANEL_SET = 9;  // u8, 1 = holds "PNL00001.PNL"
constexpr DWORD CONTAINER_HEADER_SIZE = 10;
constexpr Field CONTAINER_HEADER_FIELDS[] = {{0, 2}, {2, 3}, {5, 4}, {9, 1}};

// ---- ContainerEntry (21 bytes, the directory from offset 10)
constexpr DWORD ENTRY_MEMBER_NAME = 0;    // name
constexpr DWORD ENTRY_MEMBER_OFFSET = 13; // u32, from dataStart
constexpr DWORD ENTRY_MEMBER_SIZE = 17;   // u32, not used
constexpr DWORD CONTAINER_ENTRY_SIZE = 21;
constexpr Field CONTAINER_ENTRY_FIELDS[] = {{0, 13}, {13, 4}, {17, 4}};

// ---- PanelSetHeader (96 bytes, offset 0 of "PNL00001.PNL")
constexpr DWORD SET_MAGIC = 0;           // 2 bytes "PN"
constexpr DWORD SET_FORMAT_VERSION = 3;  // u8, must be 1
constexpr DWORD SET_PANEL_COUNT = 4;     // u32
constexpr DWORD SET_POSITION_X = 13;     // u16, kept but unused
constexpr DWORD SET_POSITION_Y = 15;     // u16, kept but unused
constexpr DWORD PANEL_SET_HEADER_SIZE = 96;
constexpr Field PANEL_SET_HEADER_FIELDS[] = {
    {0, 2},  {2, 1},  {3, 1},  {4, 4},  {8, 1},  {9, 2},  {11, 2}, {13, 2}, {15, 2},
    {17, 1}, {18, 1}, {19, 1}, {20, 1}, {21, 1}, {22, 1}, {23, 1}, {24, 64}, {88, 1},
    {89, 1}, {90, 2}, {92, 4}};

// ---- panel name (13 bytes, after the set header, one per panel)
constexpr DWORD PANEL_NAME_SIZE = NAME_WIDTH;
constexpr Field PANEL_NAME_FIELDS[] = {{0, 13}};

// ---- KeyPlacement (17 bytes, after the key-list header, one per key)
constexpr DWORD PLACEMENT_KEY_FILE_NAME = 0;  // name
constexpr DWORD PLACEMENT_X = 13;             // u16, from the panel's left
constexpr DWORD PLACEMENT_Y = 15;             // u16, from the panel's top
constexpr DWORD KEY_PLACEMENT_SIZE = 17;
constexpr Field KEY_PLACEMENT_FIELDS[] = {{0, 13}, {13, 2}, {15, 2}};

// ---- PanelRecord (37 bytes, offset 0 of a panel file; start of a PanelBlock)
constexpr DWORD PANEL_KEY_LIST_NAME = 4;  // name
constexpr DWORD PANEL_TOP = 18;           // u16 (stored before left)
constexpr DWORD PANEL_LEFT = 20;          // u16
constexpr DWORD PANEL_WIDTH = 22;         // u16
constexpr DWORD PANEL_HEIGHT = 24;        // u16
constexpr DWORD PANEL_KEY_COUNT = 33;     // u32, KeyEntry items after the record
constexpr DWORD PANEL_RECORD_SIZE = 37;
constexpr Field PANEL_RECORD_FIELDS[] = {
    {0, 2},  {2, 1},  {3, 1},  {4, 13}, {17, 1}, {18, 2}, {20, 2}, {22, 2}, {24, 2},
    {26, 1}, {27, 1}, {28, 1}, {29, 1}, {30, 1}, {31, 1}, {32, 1}, {33, 4}};

// ---- KeyListHeader (8 bytes, offset 0 of a key-list file)
constexpr DWORD LIST_PLACEMENT_COUNT = 4;  // i32, 0 or negative = none
constexpr DWORD KEY_LIST_HEADER_SIZE = 8;
constexpr Field KEY_LIST_HEADER_FIELDS[] = {{0, 2}, {2, 1}, {3, 1}, {4, 4}};

// ---- KeyRecord (71 bytes, offset 0 of a key file; one block per placement)
constexpr DWORD KEY_DOWN = 4;                  // u8, 1 = shown down
constexpr DWORD KEY_WIDTH = 6;                 // u16
constexpr DWORD KEY_HEIGHT = 8;                // u16
constexpr DWORD KEY_TYPE = 10;                 // u8
constexpr DWORD KEY_LABEL = 11;                // 12 bytes
constexpr DWORD KEY_SHIFT_LABEL = 23;          // 12 bytes
constexpr DWORD KEY_OUTPUT = 35;               // 32 bytes, UTF-16LE
constexpr DWORD KEY_FACE_COLOUR = 67;          // u8 palette index
constexpr DWORD KEY_TEXT_COLOUR = 68;          // u8
constexpr DWORD KEY_LIGHT_EDGE_COLOUR = 69;    // u8
constexpr DWORD KEY_SHADOW_EDGE_COLOUR = 70;   // u8
constexpr DWORD KEY_LABEL_WIDTH = 12;
constexpr DWORD KEY_SHIFT_LABEL_WIDTH = 12;
constexpr DWORD KEY_OUTPUT_WIDTH = 32;
constexpr DWORD KEY_OUTPUT_UNITS = 16;
// Per-state characters of key types 17, 19 and 49, inside the label field.
constexpr DWORD KEY_STATE_CHAR_NONE = 11;
constexpr DWORD KEY_STATE_CHAR_SHIFT = 15;
constexpr DWORD KEY_STATE_CHAR_ALTGR = 17;
constexpr DWORD KEY_STATE_CHAR_ALTGR_SHIFT = 19;
// Dead-key mask of key type 19: 1 none, 2 Shift, 4 AltGr, 8 AltGr and Shift.
constexpr DWORD KEY_DEAD_KEY_STATES = 21;
constexpr DWORD KEY_RECORD_SIZE = 71;
constexpr Field KEY_RECORD_FIELDS[] = {
    {0, 2},   {2, 1},   {3, 1},  {4, 1},  {5, 1},  {6, 2},  {8, 2}, {10, 1},
    {11, 12}, {23, 12}, {35, 32}, {67, 1}, {68, 1}, {69, 1}, {70, 1}};

// ---- in memory only

// KeyEntry (8 bytes): follows the PanelRecord in a PanelBlock, entry k at
// PANEL_KEY_ENTRIES + KEY_ENTRY_SIZE * k.
constexpr DWORD KEY_ENTRY_KEY_HANDLE = 0;  // u32 heap handle of the KeyRecord block
constexpr DWORD KEY_ENTRY_X = 4;           // u16
constexpr DWORD KEY_ENTRY_Y = 6;           // u16
constexpr DWORD KEY_ENTRY_SIZE = 8;
// A PanelBlock is the PanelRecord followed by keyCount KeyEntry items.
constexpr DWORD PANEL_KEY_ENTRIES = PANEL_RECORD_SIZE;
// The panel array: u32 PanelBlock handles in panel order, ended by a 0 entry.
constexpr DWORD PANEL_ARRAY_ENTRY_SIZE = 4;

// The largest record; ReadRecord stages into a buffer of this size.
constexpr DWORD LARGEST_RECORD_SIZE = PANEL_SET_HEADER_SIZE;

// ---- checks of the tables

template <DWORD N>
constexpr bool FieldsAreContiguous(const Field (&fields)[N], DWORD size) {
  DWORD next = 0;
  for (DWORD i = 0; i < N; ++i) {
    if (fields[i].offset != next || fields[i].width == 0) return false;
    next += fields[i].width;
  }
  return next == size;
}

template <DWORD N>
constexpr bool HasField(const Field (&fields)[N], DWORD offset, DWORD width) {
  for (DWORD i = 0; i < N; ++i) {
    if (fields[i].offset == offset && fields[i].width == width) return true;
  }
  return false;
}

static_assert(FieldsAreContiguous(CONTAINER_HEADER_FIELDS, 10));
static_assert(FieldsAreContiguous(CONTAINER_ENTRY_FIELDS, 21));
static_assert(FieldsAreContiguous(PANEL_SET_HEADER_FIELDS, 96));
static_assert(FieldsAreContiguous(PANEL_NAME_FIELDS, 13));
static_assert(FieldsAreContiguous(KEY_PLACEMENT_FIELDS, 17));
static_assert(FieldsAreContiguous(PANEL_RECORD_FIELDS, 37));
static_assert(FieldsAreContiguous(KEY_LIST_HEADER_FIELDS, 8));
static_assert(FieldsAreContiguous(KEY_RECORD_FIELDS, 71));

static_assert(CONTAINER_HEADER_SIZE == 10 && CONTAINER_ENTRY_SIZE == 21 &&
              PANEL_SET_HEADER_SIZE == 96 && PANEL_NAME_SIZE == 13 && KEY_PLACEMENT_SIZE == 17 &&
              PANEL_RECORD_SIZE == 37 && KEY_LIST_HEADER_SIZE == 8 && KEY_RECORD_SIZE == 71);

static_assert(HasField(CONTAINER_HEADER_FIELDS, CONTAINER_MAGIC, 2));
static_assert(HasField(CONTAINER_HEADER_FIELDS, CONTAINER_DATA_START, 4));
static_assert(HasField(CONTAINER_HEADER_FIELDS, CONTAINER_HAS_PANEL_SET, 1));
static_assert(HasField(CONTAINER_ENTRY_FIELDS, ENTRY_MEMBER_NAME, NAME_WIDTH));
static_assert(HasField(CONTAINER_ENTRY_FIELDS, ENTRY_MEMBER_OFFSET, 4));
static_assert(HasField(CONTAINER_ENTRY_FIELDS, ENTRY_MEMBER_SIZE, 4));
static_assert(HasField(PANEL_SET_HEADER_FIELDS, SET_MAGIC, 2));
static_assert(HasField(PANEL_SET_HEADER_FIELDS, SET_FORMAT_VERSION, 1));
static_assert(HasField(PANEL_SET_HEADER_FIELDS, SET_PANEL_COUNT, 4));
static_assert(HasField(PANEL_SET_HEADER_FIELDS, SET_POSITION_X, 2));
static_assert(HasField(PANEL_SET_HEADER_FIELDS, SET_POSITION_Y, 2));
static_assert(HasField(KEY_PLACEMENT_FIELDS, PLACEMENT_KEY_FILE_NAME, NAME_WIDTH));
static_assert(HasField(KEY_PLACEMENT_FIELDS, PLACEMENT_X, 2));
static_assert(HasField(KEY_PLACEMENT_FIELDS, PLACEMENT_Y, 2));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_KEY_LIST_NAME, NAME_WIDTH));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_TOP, 2));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_LEFT, 2));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_WIDTH, 2));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_HEIGHT, 2));
static_assert(HasField(PANEL_RECORD_FIELDS, PANEL_KEY_COUNT, 4));
static_assert(HasField(KEY_LIST_HEADER_FIELDS, LIST_PLACEMENT_COUNT, 4));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_DOWN, 1));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_WIDTH, 2));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_HEIGHT, 2));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_TYPE, 1));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_LABEL, KEY_LABEL_WIDTH));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_SHIFT_LABEL, KEY_SHIFT_LABEL_WIDTH));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_OUTPUT, KEY_OUTPUT_WIDTH));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_FACE_COLOUR, 1));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_TEXT_COLOUR, 1));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_LIGHT_EDGE_COLOUR, 1));
static_assert(HasField(KEY_RECORD_FIELDS, KEY_SHADOW_EDGE_COLOUR, 1));
static_assert(KEY_OUTPUT_WIDTH == 2 * KEY_OUTPUT_UNITS);
static_assert(KEY_STATE_CHAR_NONE == KEY_LABEL && KEY_STATE_CHAR_SHIFT == KEY_LABEL + 4 &&
              KEY_STATE_CHAR_ALTGR == KEY_LABEL + 6 && KEY_STATE_CHAR_ALTGR_SHIFT == KEY_LABEL + 8);
static_assert(KEY_DEAD_KEY_STATES == 21 && KEY_DEAD_KEY_STATES < KEY_LABEL + KEY_LABEL_WIDTH);
static_assert(KEY_ENTRY_SIZE == 8 && KEY_ENTRY_Y + 2 == KEY_ENTRY_SIZE);

// Size of a record kind; 0 for a number that names no kind.
constexpr DWORD RecordSize(RecordKind kind) {
  switch (kind) {
    case RecordKind::ContainerHeader: return CONTAINER_HEADER_SIZE;
    case RecordKind::ContainerEntry: return CONTAINER_ENTRY_SIZE;
    case RecordKind::PanelSetHeader: return PANEL_SET_HEADER_SIZE;
    case RecordKind::PanelName: return PANEL_NAME_SIZE;
    case RecordKind::KeyPlacement: return KEY_PLACEMENT_SIZE;
    case RecordKind::PanelRecord: return PANEL_RECORD_SIZE;
    case RecordKind::KeyListHeader: return KEY_LIST_HEADER_SIZE;
    case RecordKind::KeyRecord: return KEY_RECORD_SIZE;
  }
  return 0;
}

// ---- byte accessors (little-endian, at a byte offset, no alignment needed)

inline BYTE ReadU8(const BYTE* record, DWORD offset) { return record[offset]; }

inline WORD ReadU16(const BYTE* record, DWORD offset) {
  return static_cast<WORD>(record[offset] | (record[offset + 1] << 8));
}

inline DWORD ReadU32(const BYTE* record, DWORD offset) {
  return static_cast<DWORD>(record[offset]) | (static_cast<DWORD>(record[offset + 1]) << 8) |
         (static_cast<DWORD>(record[offset + 2]) << 16) |
         (static_cast<DWORD>(record[offset + 3]) << 24);
}

inline LONG ReadI32(const BYTE* record, DWORD offset) {
  // Two's complement by value, so no implementation-defined conversion.
  DWORD value = ReadU32(record, offset);
  if (value <= 0x7FFFFFFFu) return static_cast<LONG>(value);
  return -static_cast<LONG>(~value) - 1;
}

inline void WriteU8(BYTE* record, DWORD offset, BYTE value) { record[offset] = value; }

inline void WriteU16(BYTE* record, DWORD offset, WORD value) {
  record[offset] = static_cast<BYTE>(value & 0xFF);
  record[offset + 1] = static_cast<BYTE>(value >> 8);
}

inline void WriteU32(BYTE* record, DWORD offset, DWORD value) {
  record[offset] = static_cast<BYTE>(value & 0xFF);
  record[offset + 1] = static_cast<BYTE>((value >> 8) & 0xFF);
  record[offset + 2] = static_cast<BYTE>((value >> 16) & 0xFF);
  record[offset + 3] = static_cast<BYTE>(value >> 24);
}

inline void WriteI32(BYTE* record, DWORD offset, LONG value) {
  WriteU32(record, offset, static_cast<DWORD>(value));
}

// ---- bounded text readers
//
// Every reader stops at the first NUL, at the field's end or at the
// destination's capacity, whichever comes first, and always terminates the
// destination (capacity counts the terminator; a capacity below 1 writes
// nothing). No reader looks past the field it is given, so a text that fills
// its field to the last byte ends there rather than running into the next one.

// An 8-bit field of `width` bytes (a name, or an 8-bit label) converted to
// UTF-16 with the system code page.
WCHAR* Read8BitFieldText(const BYTE* field, DWORD width, WCHAR* destination, int capacity);

// A 13-byte name field converted to UTF-16; a name without a NUL ends at its
// 13th byte.
WCHAR* ReadNameField(const BYTE* field, WCHAR* destination, int capacity);

// A UTF-16LE field of `widthBytes` bytes (label 12, shiftLabel 12, output 32).
WCHAR* ReadUtf16Field(const BYTE* field, DWORD widthBytes, WCHAR* destination, int capacity);

// An 8-bit field copied as bytes (no conversion).
CHAR* Read8BitField(const BYTE* field, DWORD width, CHAR* destination, int capacity);

}  // namespace tapora
