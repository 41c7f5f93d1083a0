// The record of a tapora-sim run: every event between the input method, the
// stand-in SIP manager and the user, one per line, in two forms. The JSON form
// is one object a line with keys in a fixed order, "line" first (the script
// line being run, 0 for the stand-in's own start and stop), for tools and
// golden files. The readable form is for the terminal, e.g.
//   line 3: SendCharEvents 'a' (flags 0x80)
//
// Events the input method makes carry "call"; calls the stand-in makes on the
// input method, its factory, the exports and the installer hooks carry
// "method" and are written when they return, with "hr" (an HRESULT, always
// "0x" and eight lower-case hex digits) or "result".
//
// UTF-16 from the input method becomes UTF-8; a surrogate without its partner
// becomes U+FFFD, so that a faulty string is still logged, never refused.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace sim {

struct Event {
  std::string json;      // one JSON object, no line break
  std::string readable;  // one line for people, no line break
};

// IIMCallback.
Event VirtualKeyEvent(int line, uint8_t vk, uint32_t flags);
// The arrays hold `count` entries; either may be null when count is 0.
Event CharEventsEvent(int line, uint32_t vk, uint32_t keyFlags, uint32_t count, const uint32_t* shiftStates,
                      const uint32_t* chars);
// `length` units of `text` (null reads as none).
Event StringEvent(int line, const char16_t* text, uint32_t length);
Event SetImInfoEvent(int line, int left, int top, int right, int bottom);

// The user and the SIP manager.
enum class MessageBoxOwner { None, Dialog, Other };
Event MessageBoxEvent(int line, MessageBoxOwner owner, std::u16string_view caption, std::u16string_view text,
                      uint32_t type);
Event SipShowImEvent(int line, uint32_t flags);
// The class id in its registry form, "{26CA1951-5391-48C1-AC94-17CF92B65759}".
Event SipSetCurrentImEvent(int line, std::string_view clsid);
Event DebugStringEvent(int line, std::u16string_view text);

// Calls made on the input method, as they return.
Event HresultMethodEvent(int line, std::string_view method, uint32_t hr);
Event ResultMethodEvent(int line, std::string_view method, int64_t result);

// A GUID's registry form, upper-case: pass its Data1, Data2, Data3 and Data4.
std::string GuidText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t data4[8]);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Writes each event's forms to the streams given (either may be null).
class EventLog {
 public:
  EventLog(std::ostream* json, std::ostream* readable) : json_(json), readable_(readable) {}
  void Write(const Event& event);

 private:
  std::ostream* json_;
  std::ostream* readable_;
};

}  // namespace sim
