// Reading a tapora-sim script (see script.h). One pass over the text, a line at
// a time, no recursion: a hostile script costs time linear in its length.
#include "tools/tapora-sim/script.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>

namespace sim {

namespace {

// Pen positions reach the panel packed into 16-bit halves of a message
// parameter, so anything wider would arrive as some other point.
constexpr long kCoordinateMin = -32768;
constexpr long kCoordinateMax = 32767;
// The virtual clock counts milliseconds in 32 bits.
constexpr long kWaitMax = INT32_MAX;
// Words quoted in messages are cut here so that a hostile line gives a short one.
constexpr size_t kQuoteBytes = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Bytes in the UTF-8 sequence that starts with this lead byte (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Offset of the first byte that is not well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF), or nothing.
std::optional<size_t> InvalidUtf8At(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t n;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + n > s.size()) return i;
    for (size_t k = 1; k < n; ++k) {
      const unsigned char b = static_cast<unsigned char>(s[i + k]);
      if (k == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return i;
    }
    i += n;
  }
  return std::nullopt;
}

// Well-formed UTF-8 (checked by InvalidUtf8At) to UTF-16.
std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t n = SequenceLength(c);
    uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += n;
  }
  return out;
}

// 'word', cut short (on a character boundary) when it is long.
std::string Quote(std::string_view word) {
  if (word.size() <= kQuoteBytes) return "'" + std::string(word) + "'";
  size_t cut = kQuoteBytes;
  while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
  return "'" + std::string(word.substr(0, cut)) + "...'";
}

std::vector<std::string_view> SplitWords(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    const size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

// An optionally negative decimal integer within [min, max]; an error otherwise.
std::string ParseNumber(std::string_view word, long min, long max, const char* range, long* out) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec == std::errc::invalid_argument || end != word.data() + word.size()) {
    return "numbers must be integers: " + Quote(word);
  }
  if (ec == std::errc::result_out_of_range || value < min || value > max) {
    return std::string(range) + ": " + Quote(word);
  }
  *out = static_cast<long>(value);
  return {};
}

struct NamedKind {
  std::string_view name;
  CommandKind kind;
};

constexpr NamedKind kCommands[] = {
    {"down", CommandKind::Down},         {"move", CommandKind::Move},
    {"up", CommandKind::Up},             {"tap", CommandKind::Tap},
    {"press", CommandKind::Press},       {"wait", CommandKind::Wait},
    {"snapshot", CommandKind::Snapshot}, {"hide", CommandKind::Hide},
    {"show", CommandKind::Show},         {"select", CommandKind::Select},
    {"deselect", CommandKind::Deselect}, {"install", CommandKind::Install},
    {"uninstall", CommandKind::Uninstall}, {"options", CommandKind::Options},
    {"expect-text", CommandKind::ExpectText},
};

std::string ParsePosition(std::string_view name, std::string_view rest, Command* command) {
  const std::vector<std::string_view> words = SplitWords(rest);
  if (words.size() < 2) return "expected two numbers after " + Quote(name);
  if (words.size() > 2) return "too many words after " + Quote(name) + ": " + Quote(words[2]);
  long x = 0, y = 0;
  const char* range = "coordinates go from -32768 to 32767";
  std::string error = ParseNumber(words[0], kCoordinateMin, kCoordinateMax, range, &x);
  if (error.empty()) error = ParseNumber(words[1], kCoordinateMin, kCoordinateMax, range, &y);
  command->x = static_cast<int>(x);
  command->y = static_cast<int>(y);
  return error;
}

std::string ParseWait(std::string_view rest, Command* command) {
  const std::vector<std::string_view> words = SplitWords(rest);
  if (words.empty()) return "expected a time in milliseconds after 'wait'";
  if (words.size() > 1) return "too many words after 'wait': " + Quote(words[1]);
  return ParseNumber(words[0], 0, kWaitMax, "times go from 0 to 2147483647 milliseconds", &command->ms);
}

std::string ParseSnapshot(std::string_view rest, Command* command) {
  const std::vector<std::string_view> words = SplitWords(rest);
  if (words.empty()) return "expected a file name ending in .png after 'snapshot'";
  if (words.size() > 1) {
    return "too many words after 'snapshot': " + Quote(words[1]) + " (the file name is one word)";
  }
  const std::string_view file = words[0];
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  bool png = file.size() > 4;
  for (size_t i = 0; png && i < 4; ++i) png = lower(file[file.size() - 4 + i]) == ".png"[i];
  if (!png) return "the snapshot's file name must end in .png: " + Quote(file);
  command->text = file;
  return {};
}

// The rest of the line after exactly one space; an error when the separator is
// another blank.
std::string TakeRestAfterSpace(std::string_view name, std::string_view rest, std::string_view* out) {
  if (!rest.empty() && rest[0] != ' ') return "put one space between " + Quote(name) + " and what follows";
  *out = rest.empty() ? rest : rest.substr(1);
  return {};
}

std::string ParsePress(std::string_view rest, Command* command) {
  std::string_view label;
  std::string error = TakeRestAfterSpace("press", rest, &label);
  if (!error.empty()) return error;
  if (label.empty()) return "expected a key label after 'press'";
  command->text = label;
  return {};
}

std::string ParseExpectText(std::string_view rest, Command* command) {
  std::string_view body;
  std::string error = TakeRestAfterSpace("expect-text", rest, &body);
  if (!error.empty()) return error;
  std::string text;
  text.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\\') {
      text.push_back(body[i]);
      continue;
    }
    if (i + 1 == body.size()) return "the text ends with a lone backslash (write \\\\ for a backslash)";
    const char next = body[++i];
    if (next == 'n') {
      text.push_back('\n');
    } else if (next == 't') {
      text.push_back('\t');
    } else if (next == '\\') {
      text.push_back('\\');
    } else {
      const size_t n = std::min(SequenceLength(static_cast<unsigned char>(next)), body.size() - i);
      return "unknown escape '\\" + std::string(body.substr(i, n)) + "' in the text (use \\n, \\t or \\\\)";
    }
  }
  command->expected = Utf8ToUtf16(text);
  return {};
}

// The options line's words: blanks separate them, except inside double quotes.
std::string SplitOptionWords(std::string_view s, std::vector<std::string_view>* words) {
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    const size_t start = i;
    bool quoted = false;
    while (i < s.size() && (quoted || !IsBlank(s[i]))) {
      if (s[i] == '"') quoted = !quoted;
      ++i;
    }
    if (quoted) return "the quote in " + Quote(s.substr(start, i - start)) + " is not closed";
    if (i > start) words->push_back(s.substr(start, i - start));
  }
  return {};
}

struct OptionKey {
  std::string_view key;  // with its '='
  OptionAction::Kind kind;
  bool takesName;
};

// In the order the actions must come.
constexpr OptionKey kOptionKeys[] = {
    {"language=", OptionAction::Kind::Language, true},
    {"layout=", OptionAction::Kind::Layout, true},
    {"default-language=", OptionAction::Kind::DefaultLanguage, false},
    {"default-layout=", OptionAction::Kind::DefaultLayout, false},
    {"typematic=", OptionAction::Kind::Typematic, false},
};

std::optional<OptionAction::Kind> FinalAction(std::string_view word) {
  if (word == "ok") return OptionAction::Kind::Ok;
  if (word == "cancel") return OptionAction::Kind::Cancel;
  if (word == "deactivate") return OptionAction::Kind::Deactivate;
  return std::nullopt;
}

std::string ParseOptionValue(const OptionKey& key, std::string_view value, OptionAction* action) {
  if (key.takesName) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.find('"') != std::string_view::npos) {
      return "put the quotes around the whole name: " + Quote(std::string(key.key) + std::string(value));
    }
    if (value.empty()) return Quote(key.key) + " needs a name";
    action->name = value;
    return {};
  }
  if (value == "on" || value == "off") {
    action->on = value == "on";
    return {};
  }
  return Quote(key.key) + " takes on or off, not " + Quote(value);
}

std::string ParseOptions(std::string_view rest, Command* command) {
  std::vector<std::string_view> words;
  std::string error = SplitOptionWords(rest, &words);
  if (!error.empty()) return error;
  const size_t keyCount = std::size(kOptionKeys);
  std::optional<size_t> last;  // index in kOptionKeys of the last action so far
  std::string_view finalWord;   // ok, cancel or deactivate once it has come
  for (const std::string_view word : words) {
    if (!finalWord.empty()) return "nothing may follow " + Quote(finalWord) + ": " + Quote(word);
    if (const std::optional<OptionAction::Kind> final = FinalAction(word)) {
      command->actions.push_back(OptionAction{*final, {}, false});
      finalWord = word;
      continue;
    }
    size_t k = 0;
    while (k < keyCount && word.substr(0, kOptionKeys[k].key.size()) != kOptionKeys[k].key) ++k;
    if (k == keyCount) {
      for (const OptionKey& key : kOptionKeys) {
        if (word == key.key.substr(0, key.key.size() - 1)) {
          return Quote(word) + " needs a value: " + std::string(key.key) + (key.takesName ? "NAME" : "on|off");
        }
      }
      return "unknown options action " + Quote(word) +
             " (the actions are language=, layout=, default-language=, default-layout=, typematic=, "
             "then ok, cancel or deactivate)";
    }
    if (last && *last == k) return Quote(kOptionKeys[k].key) + " is given twice";
    if (last && *last > k) {
      return Quote(kOptionKeys[k].key) + " must come before " + Quote(kOptionKeys[*last].key);
    }
    last = k;
    OptionAction action{kOptionKeys[k].kind, {}, false};
    error = ParseOptionValue(kOptionKeys[k], word.substr(kOptionKeys[k].key.size()), &action);
    if (!error.empty()) return error;
    command->actions.push_back(std::move(action));
  }
  if (finalWord.empty()) return "'options' must end with ok, cancel or deactivate";
  return {};
}

// One line without its line break; no command when it is blank or a comment.
std::string ParseLine(std::string_view line, std::optional<Command>* out) {
  if (line.find('\0') != std::string_view::npos) return "the line holds a NUL byte";
  if (const std::optional<size_t> bad = InvalidUtf8At(line)) {
    return "the line is not valid UTF-8 (byte " + std::to_string(*bad + 1) + ")";
  }
  size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size() || line[start] == '#') return {};
  size_t end = start;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  const std::string_view name = line.substr(start, end - start);
  const std::string_view rest = line.substr(end);

  const NamedKind* found = nullptr;
  for (const NamedKind& entry : kCommands) {
    if (entry.name == name) found = &entry;
  }
  if (found == nullptr) return "unknown command " + Quote(name);

  Command command;
  command.kind = found->kind;
  std::string error;
  switch (found->kind) {
    case CommandKind::Down:
    case CommandKind::Move:
    case CommandKind::Up:
    case CommandKind::Tap:
      error = ParsePosition(name, rest, &command);
      break;
    case CommandKind::Press:
      error = ParsePress(rest, &command);
      break;
    case CommandKind::Wait:
      error = ParseWait(rest, &command);
      break;
    case CommandKind::Snapshot:
      error = ParseSnapshot(rest, &command);
      break;
    case CommandKind::Options:
      error = ParseOptions(rest, &command);
      break;
    case CommandKind::ExpectText:
      error = ParseExpectText(rest, &command);
      break;
    case CommandKind::Hide:
    case CommandKind::Show:
    case CommandKind::Select:
    case CommandKind::Deselect:
    case CommandKind::Install:
    case CommandKind::Uninstall: {
      const std::vector<std::string_view> words = SplitWords(rest);
      if (!words.empty()) error = Quote(name) + " takes nothing after it: " + Quote(words[0]);
      break;
    }
  }
  if (error.empty()) *out = std::move(command);
  return error;
}

}  // namespace

std::string_view CommandName(CommandKind kind) {
  for (const NamedKind& entry : kCommands) {
    if (entry.kind == kind) return entry.name;
  }
  return "?";
}

std::variant<std::vector<Command>, ScriptError> ParseScript(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<Command> commands;
  int number = 1;
  size_t pos = 0;
  while (true) {
    const size_t newline = text.find('\n', pos);
    std::string_view line = text.substr(pos, newline == std::string_view::npos ? std::string_view::npos : newline - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::optional<Command> command;
    std::string error = ParseLine(line, &command);
    if (!error.empty()) return ScriptError{number, std::move(error)};
    if (command) {
      command->line = number;
      commands.push_back(std::move(*command));
    }
    if (newline == std::string_view::npos) break;
    pos = newline + 1;
    // A line count past INT_MAX would need a 2 GB script; stop numbering there
    // rather than overflow.
    if (number < INT_MAX) ++number;
  }
  return commands;
}

}  // namespace sim
