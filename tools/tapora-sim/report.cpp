// The run's report (see report.h), written through the event log's forms.
#include "tools/tapora-sim/report.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "tools/tapora-sim/event_log.h"

namespace sim {
namespace {

MessageBoxOwner Owner(const char* owner) {
  const std::string kind(owner);
  if (kind == "none") return MessageBoxOwner::None;
  return kind == "dialog" ? MessageBoxOwner::Dialog : MessageBoxOwner::Other;
}

}  // namespace

Report::Report(const std::string& events) {
  if (events.empty()) return;
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(events).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  events_.open(events, std::ios::out | std::ios::trunc);
  logging_ = events_.is_open();
  ok_ = logging_;
}

void Report::Write(const std::string& json, const std::string& readable) {
  if (logging_) events_ << json << '\n' << std::flush;
  std::cout << readable << '\n';
}

void Report::SendVirtualKey(BYTE vk, DWORD flags) {
  const Event e = VirtualKeyEvent(line, vk, flags);
  Write(e.json, e.readable);
}

void Report::SendCharEvents(UINT vk, UINT keyFlags, UINT count, const UINT* shift,
                            const UINT* chars) {
  const Event e = CharEventsEvent(line, vk, keyFlags, count, shift, chars);
  Write(e.json, e.readable);
}

void Report::SendString(const char16_t* text, DWORD length) {
  const Event e = StringEvent(line, text, length);
  Write(e.json, e.readable);
}

void Report::SetImInfo(const RECT& rect) {
  const Event e = SetImInfoEvent(line, rect.left, rect.top, rect.right, rect.bottom);
  Write(e.json, e.readable);
}

void Report::ShowMessageBox(const char* owner, const std::u16string& caption,
                        const std::u16string& text, UINT type) {
  const Event e = MessageBoxEvent(line, Owner(owner), caption, text, type);
  Write(e.json, e.readable);
}

void Report::SipShowIM(DWORD flags) {
  const Event e = SipShowImEvent(line, flags);
  Write(e.json, e.readable);
}

void Report::SipSetCurrentIM(const CLSID& clsid) {
  const Event e = SipSetCurrentImEvent(line, ClsidText(clsid));
  Write(e.json, e.readable);
}

void Report::DebugString(const std::u16string& text) {
  const Event e = DebugStringEvent(line, text);
  Write(e.json, e.readable);
}

void Report::Hresult(const char* method, HRESULT hr) {
  const Event e = HresultMethodEvent(line, method, static_cast<uint32_t>(hr));
  Write(e.json, e.readable);
}

void Report::Result(const char* method, long result) {
  const Event e = ResultMethodEvent(line, method, result);
  Write(e.json, e.readable);
}

void Report::Note(const std::string& text) {
  std::cout << "line " << line << ": " << text << '\n';
}

std::string ClsidText(const CLSID& clsid) {
  return GuidText(clsid.Data1, clsid.Data2, clsid.Data3, clsid.Data4);
}

bool ParseClsid(const std::u16string& text, CLSID* clsid) {
  const std::string s = Utf16ToUtf8(text);
  unsigned a = 0, b = 0, c = 0, d[8] = {};
  char close = 0;
  if (s.size() != 38 ||
      std::sscanf(s.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x%c", &a, &b, &c, &d[0], &d[1],
                  &d[2], &d[3], &d[4], &d[5], &d[6], &d[7], &close) != 12 ||
      close != '}') {
    return false;
  }
  clsid->Data1 = a;
  clsid->Data2 = static_cast<WORD>(b);
  clsid->Data3 = static_cast<WORD>(c);
  for (int i = 0; i < 8; ++i) clsid->Data4[i] = static_cast<BYTE>(d[i]);
  return true;
}

}  // namespace sim
