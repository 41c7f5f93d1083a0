// Reads compiled resource files (.res), as the Windows resource compiler
// writes them, into a module's resource list.
//
// A .res file is a run of entries, each starting on a DWORD boundary:
//
//   offset  width  field
//   0       4      DataSize         bytes of data after the header
//   4       4      HeaderSize       bytes of this header, these 8 included
//   8       var    TYPE             0xFFFF then a WORD ordinal, or a
//                                   NUL-terminated UTF-16 string
//   var     var    NAME             the same
//           0-2    padding to a DWORD boundary
//   H-16    4      DataVersion
//   H-12    2      MemoryFlags
//   H-10    2      LanguageId
//   H-8     4      Version
//   H-4     4      Characteristics
//   H       D      the data         (H = HeaderSize, D = DataSize)
//           0-3    padding to a DWORD boundary, the last entry's too
//
// The first entry is an empty one of 32 bytes (type and name ordinal 0, no
// data) that marks the file as the 32-bit form. Files joined end to end
// repeat it; such entries are skipped. The start of a real one:
//
//   00000000: 0000 0000 2000 0000 ffff 0000 ffff 0000   empty entry
//   00000010: 0000 0000 0000 0000 0000 0000 0000 0000
//   00000020: e800 0000 2000 0000 ffff 0200 ffff cf00   232 bytes, RT_BITMAP #207
//   00000030: 0000 0000 3010 0904 0000 0000 0000 0000   flags 0x1030, language 0x0409
//   00000040: 2800 0000 1000 0000 1000 0000 0100 0400   the data: a packed DIB
//
// The image may be anything (a module on disk can be damaged, and the reader
// is fuzzed): each length is checked against what is left before it is
// used, in 64-bit arithmetic, and the header must be exactly as long as its
// fields say.
#include "wince/kernel/resource_file.h"

#include <cstring>

namespace wince::modules {
namespace {

constexpr size_t kEmptyEntrySize = 32;
constexpr uint8_t kEmptyEntry[kEmptyEntrySize] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                                                  0xFF, 0xFF, 0, 0};
constexpr size_t kFixedTail = 16;  // DataVersion to Characteristics

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint64_t AlignUp(uint64_t at) { return (at + 3) & ~uint64_t{3}; }

class Reader {
 public:
  Reader(std::span<const uint8_t> image, ResourceFileError& error) : image_(image), error_(error) {}

  bool Fail(size_t offset, std::string reason) {
    error_.offset = offset;
    error_.reason = std::move(reason);
    return false;
  }

  // A TYPE or NAME field at *at, which must end before end (the header's end).
  bool Id(size_t* at, size_t end, const char* what, ResourceId& id) {
    const uint8_t* p = image_.data();
    if (end - *at < 2) return Fail(*at, std::string(what) + " runs past its header");
    if (U16(p + *at) == 0xFFFF) {
      if (end - *at < 4) return Fail(*at, std::string(what) + " runs past its header");
      id.numeric = true;
      id.id = U16(p + *at + 2);
      *at += 4;
      return true;
    }
    size_t q = *at;
    for (; end - q >= 2 && U16(p + q) != 0; q += 2) id.name.push_back(static_cast<char16_t>(U16(p + q)));
    if (end - q < 2) return Fail(*at, std::string(what) + " has no terminating NUL inside its header");
    if (id.name.empty()) return Fail(*at, std::string(what) + " is an empty string");
    *at = q + 2;
    return true;
  }

  // The entry at `at`; *next is where the following one starts. *empty is set
  // for the empty marker entry, which adds nothing.
  bool Entry(size_t at, size_t* next, bool* empty, ModuleResource& entry) {
    const uint8_t* p = image_.data();
    const size_t size = image_.size();
    if (size - at < 8) return Fail(at, "entry header cut short by the end of the file");
    const uint32_t dataSize = U32(p + at);
    const uint32_t headerSize = U32(p + at + 4);
    if (headerSize % 4 != 0)
      return Fail(at, "header size " + std::to_string(headerSize) + " is not a multiple of 4");
    if (headerSize < 8 + 4 + 4 + kFixedTail || headerSize > size - at)
      return Fail(at, "header size " + std::to_string(headerSize) + " does not fit in the file");
    const size_t headerEnd = at + headerSize;
    size_t field = at + 8;
    if (!Id(&field, headerEnd, "TYPE", entry.type) || !Id(&field, headerEnd, "NAME", entry.name))
      return false;
    field = static_cast<size_t>(AlignUp(field));
    if (field + kFixedTail != headerEnd)
      return Fail(at, "header size " + std::to_string(headerSize) + " does not match its fields (" +
                          std::to_string(field + kFixedTail - at) + ")");
    if (dataSize > size - headerEnd)
      return Fail(at, "data of " + std::to_string(dataSize) + " bytes runs past the end of the file");
    const uint64_t end = uint64_t{headerEnd} + dataSize;
    if (AlignUp(end) > size) return Fail(static_cast<size_t>(end), "entry not padded to a DWORD boundary");
    *empty = entry.type.numeric && entry.type.id == 0 && entry.name.numeric &&
             entry.name.id == 0 && dataSize == 0;
    if (!*empty && ((entry.type.numeric && entry.type.id == 0) ||
                    (entry.name.numeric && entry.name.id == 0)))
      return Fail(at, "ordinal 0 names no resource");
    entry.language = U16(p + field + 6);
    entry.data = p + headerEnd;
    entry.size = dataSize;
    *next = static_cast<size_t>(AlignUp(end));
    return true;
  }

 private:
  std::span<const uint8_t> image_;
  ResourceFileError& error_;
};

}  // namespace

bool ReadResourceFile(std::span<const uint8_t> image, ModuleResources& out, ResourceFileError& error) {
  out.clear();
  Reader reader(image, error);
  if (image.size() < kEmptyEntrySize || std::memcmp(image.data(), kEmptyEntry, kEmptyEntrySize) != 0)
    return reader.Fail(0, "no empty first entry: not a 32-bit resource file");
  if (reinterpret_cast<uintptr_t>(image.data()) % 4 != 0)
    return reader.Fail(0, "image not aligned to a DWORD in memory");
  ModuleResources entries;
  for (size_t at = kEmptyEntrySize; at < image.size();) {
    ModuleResource entry;
    bool empty = false;
    size_t next = 0;
    if (!reader.Entry(at, &next, &empty, entry)) return false;
    if (!empty) entries.push_back(std::move(entry));
    at = next;
  }
  out = std::move(entries);
  return true;
}

}  // namespace wince::modules
