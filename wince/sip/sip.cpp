// The SIP manager's functions an input method calls: SipShowIM and
// SipSetCurrentIM. On the host nobody but the stand-in for the SIP manager
// acts on them, so each call is recorded, in order, for it to read and answer
// once the input-method call that made it has returned.
#include <sip.h>

#include <vector>

#include <windows.h>

#include "wince/host/sip.h"

namespace wince::sip {

std::vector<host::SipCall>& Calls() {
  static std::vector<host::SipCall> calls;
  return calls;
}

std::function<void(const host::SipCall&)>& Observer() {
  static std::function<void(const host::SipCall&)> observer;
  return observer;
}

void Record(const host::SipCall& call) {
  Calls().push_back(call);
  if (Observer()) Observer()(call);
}

}  // namespace wince::sip

namespace wince::host {

const std::vector<SipCall>& SipCalls() { return sip::Calls(); }
void ClearSipCalls() { sip::Calls().clear(); }
void SetSipCallObserver(std::function<void(const SipCall&)> observer) {
  sip::Observer() = std::move(observer);
}

}  // namespace wince::host

using wince::host::SipCall;

extern "C" BOOL WINAPI SipShowIM(DWORD dwFlag) {
  SipCall call{};
  call.kind = SipCall::Show;
  call.flags = dwFlag;
  wince::sip::Record(call);
  return TRUE;
}

extern "C" BOOL WINAPI SipSetCurrentIM(CLSID* pClsid) {
  if (pClsid == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SipCall call{};
  call.kind = SipCall::SetCurrent;
  call.clsid = *pClsid;
  wince::sip::Record(call);
  return TRUE;
}
