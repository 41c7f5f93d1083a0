// Conformance of the .res reader behind FindResourceW: entries laid out as
// the resource compiler writes them are read exactly (ordinals, strings,
// padding, languages, joined files); damaged ones are refused with the
// offset of the fault and nothing read past the image; and of several
// languages of one resource the lookup takes the neutral one, then US
// English, then the first.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/kernel/resource_file.h"

namespace {

using wince::modules::FindEntry;
using wince::modules::ModuleResources;
using wince::modules::ReadResourceFile;
using wince::modules::ResourceFileError;

// A TYPE or NAME: an ordinal, or a string.
struct Id {
  Id(uint16_t number) : ordinal(number) {}
  Id(const char16_t* text) : name(text) {}
  uint16_t ordinal = 0;
  std::u16string name;
};

// A .res image built entry by entry, as the resource compiler lays it out.
struct ResImage {
  std::vector<uint8_t> bytes = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
                                0, 0, 0, 0, 0,    0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0};

  void Put16(uint16_t v) {
    bytes.push_back(v & 0xFF);
    bytes.push_back(v >> 8);
  }
  void Put32(uint32_t v) {
    Put16(v & 0xFFFF);
    Put16(v >> 16);
  }
  void PutId(const Id& id) {
    if (id.name.empty()) {
      Put16(0xFFFF);
      Put16(id.ordinal);
      return;
    }
    for (char16_t c : id.name) Put16(c);
    Put16(0);
  }
  void Pad() {
    while (bytes.size() % 4) bytes.push_back(0);
  }
  // Returns where the entry starts.
  size_t Add(const Id& type, const Id& name, uint16_t language, const std::string& data) {
    const size_t at = bytes.size();
    Put32(static_cast<uint32_t>(data.size()));
    Put32(0);  // header size, below
    PutId(type);
    PutId(name);
    Pad();
    Put32(0);       // DataVersion
    Put16(0x1030);  // MemoryFlags
    Put16(language);
    Put32(0);  // Version
    Put32(0);  // Characteristics
    Set32(at + 4, static_cast<uint32_t>(bytes.size() - at));
    bytes.insert(bytes.end(), data.begin(), data.end());
    Pad();
    return at;
  }
  void Set32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
};

TEST(ResourceFile, ReadsEntriesWithTheirPaddingAndSkipsJoinedFileMarkers) {
  ResImage res;
  const size_t bitmap = res.Add(2, 207, 0x0409, "");
  const size_t named = res.Add(u"GREETINGS", u"HI", 0x0407, "hello");
  // A second file joined to the first brings its own empty entry.
  ResImage second;
  res.bytes.insert(res.bytes.end(), second.bytes.begin(), second.bytes.end());
  const size_t last = res.Add(u"ABC", 7, 0, "x");
  ModuleResources read;
  ResourceFileError error;
  ASSERT_TRUE(ReadResourceFile(res.bytes, read, error)) << error.reason;
  ASSERT_EQ(read.size(), 3u);
  EXPECT_TRUE(read[0].type.numeric && read[0].type.id == 2 && read[0].name.id == 207);
  EXPECT_EQ(read[0].language, 0x0409);
  EXPECT_EQ(read[0].size, 0u);
  EXPECT_EQ(read[0].data, res.bytes.data() + bitmap + 32);
  EXPECT_EQ(read[1].type.name, u"GREETINGS");
  EXPECT_EQ(read[1].name.name, u"HI");
  EXPECT_EQ(read[1].language, 0x0407);
  // 8 + "GREETINGS" (20) + "HI" (6), padded to 36, + 16.
  EXPECT_EQ(read[1].data, res.bytes.data() + named + 52);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(read[1].data), read[1].size), "hello");
  EXPECT_EQ(read[2].type.name, u"ABC");
  EXPECT_TRUE(read[2].name.numeric && read[2].name.id == 7);
  EXPECT_EQ(read[2].data, res.bytes.data() + last + 36);
  EXPECT_EQ(read[2].size, 1u);
}

TEST(ResourceFile, DamagedImagesAreRefusedWithTheOffsetOfTheFault) {
  struct Case {
    const char* what;
    void (*damage)(ResImage&, size_t entry);
    size_t offset;  // of the faulty entry, or field
    const char* reason;
  };
  const Case cases[] = {
      {"no empty first entry", [](ResImage& r, size_t) { r.bytes[4] = 0x10; }, 0, "not a 32-bit"},
      {"empty file", [](ResImage& r, size_t) { r.bytes.clear(); }, 0, "not a 32-bit"},
      {"header cut short", [](ResImage& r, size_t at) { r.bytes.resize(at + 6); }, 32, "cut short"},
      {"header cut inside its name",
       [](ResImage& r, size_t at) { r.bytes.resize(at + 20); }, 32, "does not fit"},
      {"data past the end", [](ResImage& r, size_t at) { r.Set32(at, 0x7FFFFFF0); }, 32, "past the end"},
      {"data size that wraps", [](ResImage& r, size_t at) { r.Set32(at, 0xFFFFFFFF); }, 32,
       "past the end"},
      {"header size past the end", [](ResImage& r, size_t at) { r.Set32(at + 4, 0x1000); }, 32,
       "does not fit"},
      {"header size off a DWORD", [](ResImage& r, size_t at) { r.Set32(at + 4, 46); }, 32,
       "multiple of 4"},
      {"header size beside its fields", [](ResImage& r, size_t at) { r.Set32(at + 4, 52); }, 32,
       "does not match"},
      {"name without its NUL",
       [](ResImage& r, size_t at) {
         for (size_t i = at + 8; i < at + 48; ++i) r.bytes[i] = 'A';
       },
       40, "terminating NUL"},
      {"last entry not padded", [](ResImage& r, size_t) { r.bytes.pop_back(); }, 32 + 48 + 5,
       "not padded"},
      {"trailing bytes", [](ResImage& r, size_t) { r.bytes.push_back(0); }, 32 + 48 + 8, "cut short"},
      {"ordinal 0", [](ResImage& r, size_t at) { r.bytes[at + 28] = 0; }, 32, "ordinal 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResImage res;
    const size_t entry = res.Add(u"GREETING", 3, 0x0409, "hello");
    c.damage(res, entry);
    // An exact-size copy, so that a read past the end is caught under ASan.
    const std::vector<uint8_t> image(res.bytes);
    ModuleResources read(1);
    ResourceFileError error;
    EXPECT_FALSE(ReadResourceFile(image, read, error));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(error.offset, c.offset);
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
  }
}

TEST(ResourceFile, LookupPrefersNeutralThenUsEnglishThenTheFirst) {
  ResImage res;
  res.Add(5, 6, 0x0407, "de");
  res.Add(5, 6, 0x0409, "us");
  res.Add(5, 7, 0x040C, "fr");
  res.Add(5, 7, 0x0407, "de");
  res.Add(5, 8, 0x0409, "us");
  res.Add(5, 8, 0x0000, "neutral");
  res.Add(u"GREETINGS", u"HELLO", 0x0409, "named");
  ModuleResources read;
  ResourceFileError error;
  ASSERT_TRUE(ReadResourceFile(res.bytes, read, error)) << error.reason;
  const struct {
    LPCWSTR type, name;
    const char* found;
    DWORD error;
  } lookups[] = {
      {RT_DIALOG, MAKEINTRESOURCEW(6), "us", 0},
      {RT_DIALOG, MAKEINTRESOURCEW(7), "fr", 0},
      {RT_DIALOG, u"#8", "neutral", 0},
      {u"greetings", u"Hello", "named", 0},
      {RT_DIALOG, MAKEINTRESOURCEW(9), nullptr, ERROR_RESOURCE_NAME_NOT_FOUND},
      {u"GREETINGS", MAKEINTRESOURCEW(6), nullptr, ERROR_RESOURCE_NAME_NOT_FOUND},
      {RT_BITMAP, MAKEINTRESOURCEW(6), nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const auto& l : lookups) {
    DWORD failure = 0xdeadbeef;
    const auto* found = FindEntry(read, l.type, l.name, &failure);
    if (!l.found) {
      EXPECT_EQ(found, nullptr);
      EXPECT_EQ(failure, l.error);
      continue;
    }
    ASSERT_NE(found, nullptr) << l.found;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(found->data), found->size), l.found);
  }
}

}  // namespace
