// Writing "registry.reg" (format in reg_file.h): the whole hive as text, in
// an order that depends only on the tree, so the same registry is always
// written as the same bytes.
#include <cstdio>

#include "wince/kernel/unicode.h"
#include "wince/registry/reg_file.h"

namespace wince::registry {
namespace {

constexpr const char* kNewline = "\r\n";
// A folded hex line breaks once it reaches this column, as regedit keeps
// lines under 80.
constexpr size_t kFoldColumn = 76;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::string Quote(std::u16string_view text) {
  std::string out = "\"";
  for (char c : text::EncodeUtf8(text)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The REG_SZ data as text when writing it so reads it back byte for byte.
bool AsText(const std::vector<BYTE>& data, std::u16string* textOut) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  std::u16string units;
  for (size_t i = 0; i < data.size(); i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  if (units.back() != 0) return false;
  units.pop_back();
  if (units.find(u'\0') != std::u16string::npos || !IsWritableName(units)) return false;
  *textOut = std::move(units);
  return true;
}

void WriteHex(std::string* out, size_t column, const std::vector<BYTE>& data) {
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    *out += byte;
    column += 2;
    if (i + 1 == data.size()) break;
    *out += ',';
    ++column;
    if (column >= kFoldColumn) {
      *out += "\\";
      *out += kNewline;
      *out += "  ";
      column = 2;
    }
  }
}

void WriteValue(std::string* out, const Value& v) {
  std::string line = v.name.empty() ? "@" : Quote(v.name);
  line += '=';
  std::u16string textData;
  char prefix[32];
  if (v.type == REG_SZ && AsText(v.data, &textData)) {
    *out += line + Quote(textData) + kNewline;
    return;
  }
  if (v.type == REG_DWORD && v.data.size() == 4) {
    unsigned value = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | unsigned{v.data[3]} << 24;
    std::snprintf(prefix, sizeof prefix, "dword:%08x", value);
    *out += line + prefix + kNewline;
    return;
  }
  if (v.type == REG_BINARY) {
    std::snprintf(prefix, sizeof prefix, "hex:");
  } else {
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.type));
  }
  line += prefix;
  *out += line;
  WriteHex(out, line.size(), v.data);
  *out += kNewline;
}

void WriteKey(std::string* out, const Key& key, const std::string& path, bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    *out += "[" + path + "]" + kNewline;
    for (const Value& v : key.values) WriteValue(out, v);
    *out += kNewline;
  }
  for (const auto& sub : key.subkeys) {
    WriteKey(out, *sub, path + "\\" + text::EncodeUtf8(sub->name), false);
  }
}

}  // namespace

bool IsWritableName(std::u16string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c == u'\r' || c == u'\n') return false;
    if (IsHighSurrogate(c)) {
      if (i + 1 == name.size() || !IsLowSurrogate(name[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(c)) {
      return false;
    }
  }
  return true;
}

std::string WriteRegFile(const Hive& hive) {
  std::string out = std::string("REGEDIT4") + kNewline + kNewline;
  for (const auto& root : hive.roots) WriteKey(&out, *root, text::EncodeUtf8(root->name), true);
  return out;
}

}  // namespace wince::registry
