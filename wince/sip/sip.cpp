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

}  // namespace wince::sip

namespace wince::host {

const std::vector<SipCall>& SipCalls() { return sip::Calls(); }
void ClearSipCalls() { sip::Calls().clear(); }

}  // namespace wince::host

using wince::host::SipCall;

extern "C" BOOL WINAPI SipShowIM(DWORD dwFlag) {
  SipCall call{};
  call.kind = SipCall::Show;
  call.flags = dwFlag;
  wince::sip::Calls().push_back(call);
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
  wince::sip::Calls().push_back(call);
  return TRUE;
}
