// Test and tool hooks of the SIP manager's functions: the calls an input
// method made to SipShowIM and SipSetCurrentIM, oldest first.
#pragma once

#include <functional>
#include <vector>

#include <windows.h>

namespace wince::host {

struct SipCall {
  enum Kind { Show, SetCurrent } kind;
  DWORD flags;  // Show: SIPF_ON or SIPF_OFF as passed
  CLSID clsid;  // SetCurrent: the class made current
};

const std::vector<SipCall>& SipCalls();
void ClearSipCalls();
// Called with each call as it is made. Empty to clear.
void SetSipCallObserver(std::function<void(const SipCall&)> observer);

}  // namespace wince::host
