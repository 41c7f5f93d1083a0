// Reading "registry.reg" (format in reg_file.h). The reader is strict: the
// first fault refuses the file with its line number, so a registry is never
// half loaded and the person who edited the file learns where to look.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "wince/kernel/unicode.h"
#include "wince/registry/reg_file.h"

namespace wince::registry {
namespace {

struct Lines {
  std::vector<std::string_view> lines;
  explicit Lines(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines.push_back(line);
      start = end + 1;
    }
  }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimStart(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one file's worth of sections and values; each method returns false
// after setting the error.
class Reader {
 public:
  Reader(std::string_view text, Hive* hive, ReadError* error)
      : lines_(text), hive_(hive), error_(error) {}

  bool Run() {
    if (lines_.lines.empty() || lines_.lines[0] != "REGEDIT4") {
      return Fail(1, "the first line must be REGEDIT4");
    }
    for (index_ = 1; index_ < lines_.lines.size(); ++index_) {
      std::string_view line = lines_.lines[index_];
      std::string_view trimmed = TrimStart(line);
      if (trimmed.empty() || trimmed.front() == ';') continue;
      bool ok = line.front() == '[' ? Section(line) : Value(line);
      if (!ok) return false;
    }
    return true;
  }

 private:
  int LineNumber() const { return static_cast<int>(index_) + 1; }

  bool Fail(int line, std::string what) {
    error_->line = line;
    error_->what = std::move(what);
    return false;
  }
  bool Fail(std::string what) { return Fail(LineNumber(), std::move(what)); }

  bool Utf16(std::string_view utf8, std::u16string* out) {
    bool invalid = false;
    *out = text::DecodeUtf8(utf8, &invalid);
    if (invalid) return Fail("the text is not UTF-8");
    return true;
  }

  bool Section(std::string_view line) {
    line = TrimEnd(line);
    if (line.size() < 2 || line.back() != ']') return Fail("unterminated section (no closing ])");
    std::u16string path;
    if (!Utf16(line.substr(1, line.size() - 2), &path)) return false;
    std::vector<std::u16string_view> parts;
    for (size_t start = 0;;) {
      size_t end = path.find(u'\\', start);
      if (end == std::u16string::npos) end = path.size();
      if (end == start) return Fail("empty key name in the section");
      if (!IsWritableName(std::u16string_view(path).substr(start, end - start))) {
        return Fail("bad key name");
      }
      parts.push_back(std::u16string_view(path).substr(start, end - start));
      if (end == path.size()) break;
      start = end + 1;
    }
    if (parts.size() > kMaxDepth + 1) return Fail("keys nested too deeply");
    Key* key = nullptr;
    for (size_t i = 0; i < hive_->roots.size(); ++i) {
      if (SameName(parts[0], kRootNames[i])) key = hive_->roots[i].get();
    }
    if (!key) return Fail("unknown root key (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, ...)");
    for (size_t i = 1; i < parts.size(); ++i) {
      std::shared_ptr<Key> sub = FindSubkey(*key, parts[i]);
      key = sub ? sub.get() : AddSubkey(*key, parts[i]).get();
    }
    section_ = key;
    return true;
  }

  // A quoted string at the start of *s, with \\ and \" escaped; *s moves past it.
  bool Quoted(std::string_view* s, std::u16string* out) {
    std::string bytes;
    size_t i = 1;
    for (;; ++i) {
      if (i >= s->size()) return Fail("unterminated string (no closing \")");
      char c = (*s)[i];
      if (c == '"') break;
      if (c == '\\') {
        if (i + 1 >= s->size() || ((*s)[i + 1] != '\\' && (*s)[i + 1] != '"')) {
          return Fail("bad escape in a string (only \\\\ and \\\")");
        }
        c = (*s)[++i];
      }
      bytes.push_back(c);
    }
    s->remove_prefix(i + 1);
    return Utf16(bytes, out);
  }

  bool Value(std::string_view line) {
    int first = LineNumber();
    if (!section_) return Fail("a value before the first section");
    std::string_view s = line;
    std::u16string name;
    if (s.front() == '@') {
      s.remove_prefix(1);
    } else if (s.front() == '"') {
      if (!Quoted(&s, &name)) return false;
    } else {
      return Fail("not a section, value or comment");
    }
    s = TrimStart(s);
    if (s.empty() || s.front() != '=') return Fail("expected = after the value name");
    s = TrimStart(s.substr(1));
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
    if (!s.empty() && s.front() == '"') {
      std::u16string text;
      if (!Quoted(&s, &text)) return false;
      for (char16_t c : text) {
        data.push_back(static_cast<BYTE>(c & 0xFF));
        data.push_back(static_cast<BYTE>(c >> 8));
      }
      data.push_back(0);
      data.push_back(0);
    } else if (s.substr(0, 6) == "dword:") {
      if (!Dword(&s, &data)) return false;
      type = REG_DWORD;
    } else if (s.substr(0, 3) == "hex") {
      if (!Hex(&s, &type, &data)) return false;
    } else {
      return Fail("unknown value data (expected \"text\", dword: or hex:)");
    }
    if (!TrimEnd(s).empty()) return Fail("unexpected text after the value");
    if (!IsWritableName(name)) return Fail(first, "bad value name");
    PutValue(*section_, name, type, std::move(data));
    return true;
  }

  bool Dword(std::string_view* s, std::vector<BYTE>* data) {
    s->remove_prefix(6);
    uint32_t value = 0;
    size_t digits = 0;
    while (digits < s->size() && HexDigit((*s)[digits]) >= 0) {
      value = (value << 4) | static_cast<uint32_t>(HexDigit((*s)[digits]));
      ++digits;
    }
    if (digits == 0 || digits > 8) return Fail("a dword needs one to eight hex digits");
    s->remove_prefix(digits);
    for (int i = 0; i < 4; ++i) data->push_back(static_cast<BYTE>(value >> (8 * i)));
    return true;
  }

  // "hex:" or "hex(t):" then bytes "xx,xx,...", continued on the next line
  // after a trailing backslash.
  bool Hex(std::string_view* s, DWORD* type, std::vector<BYTE>* data) {
    s->remove_prefix(3);
    *type = REG_BINARY;
    if (!s->empty() && s->front() == '(') {
      uint64_t t = 0;
      size_t i = 1;
      for (; i < s->size() && HexDigit((*s)[i]) >= 0 && i <= 8; ++i) {
        t = (t << 4) | static_cast<uint64_t>(HexDigit((*s)[i]));
      }
      if (i == 1 || i >= s->size() || (*s)[i] != ')') return Fail("bad hex(type)");
      *type = static_cast<DWORD>(t);
      s->remove_prefix(i + 1);
    }
    if (s->empty() || s->front() != ':') return Fail("expected : after hex");
    s->remove_prefix(1);
    *s = TrimEnd(*s);
    if (s->empty()) return true;
    for (;;) {
      if (s->size() < 2 || HexDigit((*s)[0]) < 0 || HexDigit((*s)[1]) < 0) {
        return Fail("bad hex byte (two hex digits each, separated by commas)");
      }
      data->push_back(static_cast<BYTE>(HexDigit((*s)[0]) * 16 + HexDigit((*s)[1])));
      s->remove_prefix(2);
      if (s->empty()) return true;
      if (s->front() != ',') return Fail("expected , between hex bytes");
      s->remove_prefix(1);
      *s = TrimStart(*s);
      if (s->empty()) return Fail("hex bytes end in a comma");
      if (*s == "\\") {
        if (++index_ >= lines_.lines.size()) {
          return Fail(static_cast<int>(index_), "hex bytes continue past the end of the file");
        }
        *s = TrimEnd(TrimStart(lines_.lines[index_]));
      }
    }
  }

  Lines lines_;
  Hive* hive_;
  ReadError* error_;
  size_t index_ = 0;
  Key* section_ = nullptr;
};

}  // namespace

bool ReadRegFile(std::string_view text, Hive* hive, ReadError* error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.find('\0') != std::string_view::npos) {
    size_t at = text.find('\0');
    error->line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    error->what = "a NUL byte";
    return false;
  }
  return Reader(text, hive, error).Run();
}

}  // namespace wince::registry
