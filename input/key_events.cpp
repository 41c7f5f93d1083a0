// Key events through the registered callback (see key_events.h).
#include "input/key_events.h"

#include "im/input_method_state.h"

namespace tapora {

void SendVirtualKeyEvent(BYTE virtualKey, DWORD flags) {
  IIMCallback* callback = InputMethodState.callback;
  if (callback != nullptr) callback->SendVirtualKey(virtualKey, flags);
}

void SendCharEventsCall(UINT virtualKey, UINT keyFlags, UINT charCount, UINT* shiftStates,
                        UINT* characters) {
  IIMCallback* callback = InputMethodState.callback;
  if (callback != nullptr) {
    callback->SendCharEvents(virtualKey, keyFlags, charCount, shiftStates, characters);
  }
}

void SendStringEvent(const WCHAR* text, DWORD length) {
  IIMCallback* callback = InputMethodState.callback;
  // The callback only reads the text; the interface's string type is not const.
  if (callback != nullptr) callback->SendString(const_cast<WCHAR*>(text), length);
}

}  // namespace tapora
