// tapora-sim's event record: the exact JSON line and readable line of each
// event kind, and how UTF-16 from the input method becomes UTF-8.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/tapora-sim/event_log.h"

namespace {

TEST(SimEventLog, EachKindFormatsExactly) {
  const uint32_t shift[] = {0x80, 0x40000080};
  const uint32_t chars[] = {'a', 0x20AC};
  const uint32_t ctrl = 0x40000080;
  const uint8_t data4[8] = {0xAC, 0x94, 0x17, 0xCF, 0x92, 0xB6, 0x57, 0x59};
  const std::string clsid = sim::GuidText(0x26CA1951, 0x5391, 0x48C1, data4);
  struct Case {
    sim::Event event;
    const char* json;
    const char* readable;
  };
  const Case cases[] = {
      {sim::VirtualKeyEvent(3, 13, 4), R"({"line":3,"call":"SendVirtualKey","vk":13,"flags":4})",
       "line 3: SendVirtualKey 13 (Enter) down"},
      {sim::VirtualKeyEvent(3, 16, 6), R"({"line":3,"call":"SendVirtualKey","vk":16,"flags":6})",
       "line 3: SendVirtualKey 16 (Shift) up"},
      {sim::VirtualKeyEvent(4, 0x70, 5), R"({"line":4,"call":"SendVirtualKey","vk":112,"flags":5})",
       "line 4: SendVirtualKey 112 flags 0x5"},
      {sim::CharEventsEvent(3, 0, 128, 1, shift, chars),
       R"({"line":3,"call":"SendCharEvents","vk":0,"keyFlags":128,"count":1,"shift":[128],"chars":[97]})",
       "line 3: SendCharEvents 'a' (flags 0x80)"},
      {sim::CharEventsEvent(3, 0, 128, 2, shift, chars),
       R"({"line":3,"call":"SendCharEvents","vk":0,"keyFlags":128,"count":2,"shift":[128,1073741952],"chars":[97,8364]})",
       "line 3: SendCharEvents 'a\xe2\x82\xac' (flags 0x80)"},
      {sim::CharEventsEvent(9, 67, ctrl, 0, &ctrl, chars),
       R"({"line":9,"call":"SendCharEvents","vk":67,"keyFlags":1073741952,"count":0,"shift":[],"chars":[]})",
       "line 9: SendCharEvents key 67 (C) (flags 0x40000080)"},
      {sim::StringEvent(3, u"abc", 3), R"({"line":3,"call":"SendString","text":"abc","length":3})",
       "line 3: SendString \"abc\" (3 units)"},
      {sim::StringEvent(3, u"a\"\n", 3), R"({"line":3,"call":"SendString","text":"a\"\n","length":3})",
       "line 3: SendString \"a\\\"\\n\" (3 units)"},
      {sim::StringEvent(3, nullptr, 2), R"({"line":3,"call":"SendString","text":"","length":2})",
       "line 3: SendString \"\" (2 units)"},
      {sim::SetImInfoEvent(0, 0, 214, 240, 294), R"({"line":0,"call":"SetImInfo","rect":[0,214,240,294]})",
       "line 0: SetImInfo (0,214)-(240,294)"},
      {sim::MessageBoxEvent(5, sim::MessageBoxOwner::Dialog, u"Tapora SIP", u"No keyboard.", 48),
       R"({"line":5,"call":"MessageBox","owner":"dialog","caption":"Tapora SIP","text":"No keyboard.","type":48})",
       "line 5: MessageBox \"Tapora SIP\": \"No keyboard.\" (type 0x30, owner dialog)"},
      {sim::MessageBoxEvent(0, sim::MessageBoxOwner::None, u"", u"x", 0),
       R"({"line":0,"call":"MessageBox","owner":"none","caption":"","text":"x","type":0})",
       "line 0: MessageBox \"\": \"x\" (type 0x0, owner none)"},
      {sim::MessageBoxEvent(0, sim::MessageBoxOwner::Other, u"c", u"t", 16),
       R"({"line":0,"call":"MessageBox","owner":"other","caption":"c","text":"t","type":16})",
       "line 0: MessageBox \"c\": \"t\" (type 0x10, owner other)"},
      {sim::SipShowImEvent(7, 1), R"({"line":7,"call":"SipShowIM","flags":1})", "line 7: SipShowIM flags 0x1"},
      {sim::SipSetCurrentImEvent(7, clsid),
       R"({"line":7,"call":"SipSetCurrentIM","clsid":"{26CA1951-5391-48C1-AC94-17CF92B65759}"})",
       "line 7: SipSetCurrentIM {26CA1951-5391-48C1-AC94-17CF92B65759}"},
      {sim::DebugStringEvent(0, u"load\t1\r\n"), R"({"line":0,"call":"OutputDebugString","text":"load\t1\r\n"})",
       "line 0: OutputDebugString \"load\\t1\\r\\n\""},
      {sim::DebugStringEvent(0, std::u16string(u"\x01\0", 2)),
       R"({"line":0,"call":"OutputDebugString","text":"\u0001\u0000"})",
       "line 0: OutputDebugString \"\\x01\\x00\""},
      {sim::HresultMethodEvent(0, "Select", 0), R"({"line":0,"method":"Select","hr":"0x00000000"})",
       "line 0: Select -> 0x00000000"},
      {sim::HresultMethodEvent(2, "GetInfo", 0x80004005), R"({"line":2,"method":"GetInfo","hr":"0x80004005"})",
       "line 2: GetInfo -> 0x80004005"},
      {sim::HresultMethodEvent(2, "QueryInterface", 0x1), R"({"line":2,"method":"QueryInterface","hr":"0x00000001"})",
       "line 2: QueryInterface -> 0x00000001"},
      {sim::ResultMethodEvent(0, "Release", 0), R"({"line":0,"method":"Release","result":0})",
       "line 0: Release -> 0"},
      {sim::ResultMethodEvent(12, "Install_Init", 1), R"({"line":12,"method":"Install_Init","result":1})",
       "line 12: Install_Init -> 1"},
      {sim::ResultMethodEvent(12, "X", -1), R"({"line":12,"method":"X","result":-1})", "line 12: X -> -1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.event.json, c.json);
    EXPECT_EQ(c.event.readable, c.readable);
  }
}

TEST(SimEventLog, Utf16BecomesUtf8WithLoneSurrogatesReplaced) {
  struct Case {
    std::u16string text;
    const char* utf8;
  };
  const Case cases[] = {
      {u"", ""},
      {u"a\u00e9\u20ac", "a\xc3\xa9\xe2\x82\xac"},
      {u"\U0001F600", "\xf0\x9f\x98\x80"},
      {u"\U0010FFFF", "\xf4\x8f\xbf\xbf"},
      {std::u16string(1, 0xD83D), "\xef\xbf\xbd"},                         // high alone at the end
      {std::u16string{0xD83D, u'x'}, "\xef\xbf\xbdx"},                     // high then not low
      {std::u16string{u'x', 0xDE00}, "x\xef\xbf\xbd"},                     // low alone
      {std::u16string{0xDE00, 0xD83D}, "\xef\xbf\xbd\xef\xbf\xbd"},         // reversed pair
      {std::u16string{0xD83D, 0xD83D, 0xDE00}, "\xef\xbf\xbd\xf0\x9f\x98\x80"},  // pair after a lone high
  };
  for (const Case& c : cases) EXPECT_EQ(sim::Utf16ToUtf8(c.text), c.utf8);
  // The JSON form carries the same UTF-8, the length still in units.
  const char16_t lone[] = {u'a', 0xD800};
  EXPECT_EQ(sim::StringEvent(1, lone, 2).json,
            "{\"line\":1,\"call\":\"SendString\",\"text\":\"a\xef\xbf\xbd\",\"length\":2}");
  const char16_t pair[] = {0xD83D, 0xDE00};
  EXPECT_EQ(sim::StringEvent(1, pair, 2).json,
            "{\"line\":1,\"call\":\"SendString\",\"text\":\"\xf0\x9f\x98\x80\",\"length\":2}");
}

TEST(SimEventLog, WritesOneLineOfEachFormToEachStream) {
  std::ostringstream json, readable;
  sim::EventLog log(&json, &readable);
  log.Write(sim::SipShowImEvent(1, 0));
  log.Write(sim::ResultMethodEvent(0, "Release", 0));
  EXPECT_EQ(json.str(),
            "{\"line\":1,\"call\":\"SipShowIM\",\"flags\":0}\n"
            "{\"line\":0,\"method\":\"Release\",\"result\":0}\n");
  EXPECT_EQ(readable.str(), "line 1: SipShowIM flags 0x0\nline 0: Release -> 0\n");
  sim::EventLog quiet(nullptr, nullptr);
  quiet.Write(sim::SipShowImEvent(1, 0));  // no stream, no harm
}

}  // namespace
