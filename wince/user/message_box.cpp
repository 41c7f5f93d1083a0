// MessageBoxW: every box is recorded (owner, text, caption, type) and
// answered at once, optionally echoed to stderr as "[caption] text".
#include <cstdio>

#include <windows.h>

#include "wince/host/message_box.h"
#include "wince/kernel/unicode.h"

namespace wince::host {
namespace {

// Button sets in the low four bits of the type, and their answers.
constexpr UINT kButtonMask = 0x0000000F;
constexpr int kIdAbort = 3, kIdRetry = 4;

struct MessageBoxState {
  std::vector<MessageBoxRecord> records;
  int answer = 0;  // 0: the first button of the box
  bool echo = false;
  std::function<void(const MessageBoxRecord&)> observer;
};

MessageBoxState& State() {
  static MessageBoxState state;
  return state;
}

int FirstButton(UINT type) {
  switch (type & kButtonMask) {
    case 2: return kIdAbort;         // MB_ABORTRETRYIGNORE
    case 3: return IDYES;            // MB_YESNOCANCEL
    case MB_YESNO: return IDYES;
    case 5: return kIdRetry;         // MB_RETRYCANCEL
    case 6: return IDCANCEL;         // MB_CANCELTRYCONTINUE: Cancel comes first
    default: return IDOK;            // MB_OK, MB_OKCANCEL
  }
}

std::u16string Text(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxes() { return State().records; }
void ClearMessageBoxes() { State().records.clear(); }
void SetMessageBoxAnswer(int answer) { State().answer = answer; }
void SetMessageBoxEcho(bool toStderr) { State().echo = toStderr; }
void SetMessageBoxObserver(std::function<void(const MessageBoxRecord&)> observer) {
  State().observer = std::move(observer);
}

}  // namespace wince::host

extern "C" int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  using namespace wince::host;
  MessageBoxState& state = State();
  MessageBoxRecord record{hWnd, Text(lpText), lpCaption ? Text(lpCaption) : u"Error", uType};
  if (state.echo) {
    std::fprintf(stderr, "[%s] %s\n", wince::text::EncodeUtf8(record.caption).c_str(),
                 wince::text::EncodeUtf8(record.text).c_str());
  }
  if (state.observer) state.observer(record);
  state.records.push_back(std::move(record));
  return state.answer != 0 ? state.answer : FirstButton(uType);
}
