// The platform-call layer for what the input method shares with the SIP
// manager: the SIP manager's functions, and the masked image lists it shows
// the input method's pictures from.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "im/sip_interfaces.h"

namespace tapora::api {

BOOL SipShowIM(DWORD flags);
BOOL SipSetCurrentIM(CLSID* clsid);
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF maskColour);
BOOL ImageList_Destroy(HIMAGELIST list);

}  // namespace tapora::api
