// The SIP manager's functions that an input method calls. The interfaces and
// structures that pass between the SIP manager and an input method (IIMCallback,
// IInputMethod, IMINFO, SIPINFO, SIPF_*) are declared once, by the system, in
// im/sip_interfaces.h, which both the host build and a Windows build use.
#pragma once

#include "windef.h"

extern "C" {

// Shows (SIPF_ON) or hides (SIPF_OFF) the input panel.
BOOL WINAPI SipShowIM(DWORD dwFlag);
// Makes the input method of that class the current one.
BOOL WINAPI SipSetCurrentIM(CLSID* pClsid);

}  // extern "C"
