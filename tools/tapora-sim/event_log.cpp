// The run's event record (see event_log.h).
#include "tools/tapora-sim/event_log.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& object) {
  // Replace, not throw: a method name is the only text not made here, and a
  // bad byte in it must not end the run.
  return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json Call(int line, std::string_view call) {
  Json object;
  object["line"] = line;
  object["call"] = call;
  return object;
}

std::string Hex(uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*x", digits, value);
  return buffer;
}

std::string Prefix(int line) { return "line " + std::to_string(line) + ": "; }

// Text for the readable form: one line, between `delimiter`s, control
// characters escaped.
std::string Quoted(std::u16string_view text, char delimiter) {
  const std::string utf8 = Utf16ToUtf8(text);
  std::string out(1, delimiter);
  for (const char c : utf8) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == delimiter || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned>(byte));
      out += buffer;
    } else {
      out += c;
    }
  }
  out += delimiter;
  return out;
}

// A virtual key as people know it, or nothing.
std::string KeyName(uint32_t vk) {
  struct Name {
    uint32_t vk;
    const char* name;
  };
  static constexpr Name kNames[] = {
      {8, "Back"},      {9, "Tab"},    {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"},   {18, "Alt"},
      {27, "Esc"},      {32, "Space"}, {33, "PageUp"}, {34, "PageDown"}, {35, "End"}, {36, "Home"},
      {37, "Left"},     {38, "Up"},    {39, "Right"}, {40, "Down"},  {45, "Insert"}, {46, "Delete"},
  };
  for (const Name& n : kNames) {
    if (n.vk == vk) return n.name;
  }
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  return {};
}

std::string KeyText(uint32_t vk) {
  const std::string name = KeyName(vk);
  return std::to_string(vk) + (name.empty() ? "" : " (" + name + ")");
}

void AppendUtf8(uint32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

const char* OwnerName(MessageBoxOwner owner) {
  switch (owner) {
    case MessageBoxOwner::None:
      return "none";
    case MessageBoxOwner::Dialog:
      return "dialog";
    case MessageBoxOwner::Other:
      break;
  }
  return "other";
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t unit = text[i];
    uint32_t cp = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(cp, &out);
  }
  return out;
}

std::string GuidText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t data4[8]) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
  return buffer;
}

Event VirtualKeyEvent(int line, uint8_t vk, uint32_t flags) {
  Json object = Call(line, "SendVirtualKey");
  object["vk"] = vk;
  object["flags"] = flags;
  const std::string how = flags == 4 ? "down" : flags == 6 ? "up" : "flags " + Hex(flags, 1);
  return {Dump(object), Prefix(line) + "SendVirtualKey " + KeyText(vk) + " " + how};
}

Event CharEventsEvent(int line, uint32_t vk, uint32_t keyFlags, uint32_t count, const uint32_t* shiftStates,
                      const uint32_t* chars) {
  Json object = Call(line, "SendCharEvents");
  object["vk"] = vk;
  object["keyFlags"] = keyFlags;
  object["count"] = count;
  Json shift = Json::array();
  Json units = Json::array();
  std::u16string text;
  for (uint32_t i = 0; i < count; ++i) {
    if (shiftStates != nullptr) shift.push_back(shiftStates[i]);
    if (chars != nullptr) {
      units.push_back(chars[i]);
      text.push_back(static_cast<char16_t>(chars[i]));
    }
  }
  object["shift"] = std::move(shift);
  object["chars"] = std::move(units);
  const std::string what = count == 0 ? "key " + KeyText(vk) : Quoted(text, '\'');
  return {Dump(object), Prefix(line) + "SendCharEvents " + what + " (flags " + Hex(keyFlags, 1) + ")"};
}

Event StringEvent(int line, const char16_t* text, uint32_t length) {
  const std::u16string_view units = text == nullptr ? std::u16string_view() : std::u16string_view(text, length);
  Json object = Call(line, "SendString");
  object["text"] = Utf16ToUtf8(units);
  object["length"] = length;
  return {Dump(object),
          Prefix(line) + "SendString " + Quoted(units, '"') + " (" + std::to_string(length) + " units)"};
}

Event SetImInfoEvent(int line, int left, int top, int right, int bottom) {
  Json object = Call(line, "SetImInfo");
  object["rect"] = Json::array({left, top, right, bottom});
  return {Dump(object), Prefix(line) + "SetImInfo (" + std::to_string(left) + "," + std::to_string(top) + ")-(" +
                            std::to_string(right) + "," + std::to_string(bottom) + ")"};
}

Event MessageBoxEvent(int line, MessageBoxOwner owner, std::u16string_view caption, std::u16string_view text,
                      uint32_t type) {
  Json object = Call(line, "MessageBox");
  object["owner"] = OwnerName(owner);
  object["caption"] = Utf16ToUtf8(caption);
  object["text"] = Utf16ToUtf8(text);
  object["type"] = type;
  return {Dump(object), Prefix(line) + "MessageBox " + Quoted(caption, '"') + ": " + Quoted(text, '"') +
                            " (type " + Hex(type, 1) + ", owner " + OwnerName(owner) + ")"};
}

Event SipShowImEvent(int line, uint32_t flags) {
  Json object = Call(line, "SipShowIM");
  object["flags"] = flags;
  return {Dump(object), Prefix(line) + "SipShowIM flags " + Hex(flags, 1)};
}

Event SipSetCurrentImEvent(int line, std::string_view clsid) {
  Json object = Call(line, "SipSetCurrentIM");
  object["clsid"] = clsid;
  return {Dump(object), Prefix(line) + "SipSetCurrentIM " + std::string(clsid)};
}

Event DebugStringEvent(int line, std::u16string_view text) {
  Json object = Call(line, "OutputDebugString");
  object["text"] = Utf16ToUtf8(text);
  return {Dump(object), Prefix(line) + "OutputDebugString " + Quoted(text, '"')};
}

Event HresultMethodEvent(int line, std::string_view method, uint32_t hr) {
  Json object;
  object["line"] = line;
  object["method"] = method;
  object["hr"] = Hex(hr, 8);
  return {Dump(object), Prefix(line) + std::string(method) + " -> " + Hex(hr, 8)};
}

Event ResultMethodEvent(int line, std::string_view method, int64_t result) {
  Json object;
  object["line"] = line;
  object["method"] = method;
  object["result"] = result;
  return {Dump(object), Prefix(line) + std::string(method) + " -> " + std::to_string(result)};
}

void EventLog::Write(const Event& event) {
  if (json_ != nullptr) *json_ << event.json << '\n';
  if (readable_ != nullptr) *readable_ << event.readable << '\n';
}

}  // namespace sim
