// The byte accessors and the bounded text readers that drawing and input use:
// unaligned little-endian fields, signed counts, and texts that fill their
// field or outgrow their destination.
#include <gtest/gtest.h>

#include <string>

#include "layout/records.h"

namespace {

using namespace tapora;

TEST(RecordAccessors, ReadAndWriteLittleEndianAtAnyOffset) {
  BYTE bytes[12] = {0x00, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0x80, 0x00};
  EXPECT_EQ(ReadU16(bytes, 1), 0x1234);
  EXPECT_EQ(ReadU32(bytes, 3), 0x12345678u);
  EXPECT_EQ(ReadI32(bytes, 7), INT32_MIN + 0xFFFFFF);
  EXPECT_EQ(ReadI32(bytes, 6), -238);  // 12 FF FF FF
  BYTE out[7] = {};
  WriteU16(out, 0, 0xBEEF);
  WriteU32(out, 2, 0xDEADBEEF);
  WriteU8(out, 6, 0x7F);
  EXPECT_EQ(ReadU16(out, 0), 0xBEEF);
  EXPECT_EQ(ReadU32(out, 2), 0xDEADBEEFu);
  EXPECT_EQ(out[2], 0xEF);
  WriteI32(out, 1, -1);
  EXPECT_EQ(ReadU32(out, 1), 0xFFFFFFFFu);
  EXPECT_EQ(ReadI32(out, 1), -1);
}

TEST(RecordText, NameWithoutNulEndsAtItsThirteenthByte) {
  const char stored[] = "ABCDEFGH.PNLXTRAILING";
  const BYTE* field = reinterpret_cast<const BYTE*>(stored);
  WCHAR name[NAME_UNITS];
  EXPECT_EQ(std::u16string(ReadNameField(field, name, NAME_UNITS)), u"ABCDEFGH.PNLX");

  const BYTE shortName[13] = {'K', 'E', 'Y', '.', 'K', 'E', 'Y', 0, 'J', 'U', 'N', 'K', 0};
  EXPECT_EQ(std::u16string(ReadNameField(shortName, name, NAME_UNITS)), u"KEY.KEY");
}

TEST(RecordText, EightBitTextUsesTheSystemCodePage) {
  const BYTE field[12] = {0x80, 'a', 0xE9, 0};
  WCHAR text[13];
  EXPECT_EQ(std::u16string(Read8BitFieldText(field, 12, text, 13)), u"\u20ACa\u00E9");
  CHAR raw[13];
  EXPECT_EQ(std::string(Read8BitField(field, 12, raw, 13)), "\x80" "a\xE9");
}

TEST(RecordText, Utf16FieldThatFillsItsWidthEndsThere) {
  // A label of six units and no NUL, directly followed by the shift label.
  BYTE record[71] = {};
  const char16_t label[] = u"ABCDEF";
  const char16_t shift[] = u"XY";
  for (int i = 0; i < 6; ++i) WriteU16(record, KEY_LABEL + 2 * i, label[i]);
  for (int i = 0; i < 2; ++i) WriteU16(record, KEY_SHIFT_LABEL + 2 * i, shift[i]);
  WCHAR text[40];
  EXPECT_EQ(std::u16string(ReadUtf16Field(record + KEY_LABEL, KEY_LABEL_WIDTH, text, 40)), u"ABCDEF");
  EXPECT_EQ(std::u16string(ReadUtf16Field(record + KEY_SHIFT_LABEL, KEY_SHIFT_LABEL_WIDTH, text, 40)),
            u"XY");

  // An output of 16 units followed by the colour bytes.
  for (int i = 0; i < 16; ++i) WriteU16(record, KEY_OUTPUT + 2 * i, u'a' + i);
  record[KEY_FACE_COLOUR] = 'Q';
  record[KEY_TEXT_COLOUR] = 0;
  EXPECT_EQ(std::u16string(ReadUtf16Field(record + KEY_OUTPUT, KEY_OUTPUT_WIDTH, text, 40)),
            u"abcdefghijklmnop");
}

TEST(RecordText, DestinationCapacityCutsAndTerminates) {
  const BYTE name[13] = {'L', 'O', 'N', 'G', 'N', 'A', 'M', 'E', '.', 'K', 'E', 'Y', 0};
  WCHAR guard[8];
  std::fill(std::begin(guard), std::end(guard), u'#');
  EXPECT_EQ(std::u16string(ReadNameField(name, guard, 5)), u"LONG");
  EXPECT_EQ(guard[5], u'#');
  std::fill(std::begin(guard), std::end(guard), u'#');
  EXPECT_EQ(std::u16string(ReadNameField(name, guard, 1)), u"");
  EXPECT_EQ(guard[1], u'#');

  BYTE output[32] = {};
  for (int i = 0; i < 16; ++i) WriteU16(output, 2 * i, u'x');
  std::fill(std::begin(guard), std::end(guard), u'#');
  EXPECT_EQ(std::u16string(ReadUtf16Field(output, 32, guard, 4)), u"xxx");
  EXPECT_EQ(guard[4], u'#');
  CHAR raw[3] = {'#', '#', '#'};
  EXPECT_EQ(std::string(Read8BitField(name, 13, raw, 2)), "L");
  EXPECT_EQ(raw[2], '#');
}

}  // namespace
