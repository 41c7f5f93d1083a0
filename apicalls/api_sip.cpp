// Thin pass-throughs to the SIP manager's functions and the image lists.
#include "apicalls/api_sip.h"

namespace tapora::api {

BOOL SipShowIM(DWORD flags) { return ::SipShowIM(flags); }

BOOL SipSetCurrentIM(CLSID* clsid) { return ::SipSetCurrentIM(clsid); }

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) {
  return ::ImageList_Create(width, height, flags, initial, grow);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF maskColour) {
  return ::ImageList_AddMasked(list, bitmap, maskColour);
}

BOOL ImageList_Destroy(HIMAGELIST list) { return ::ImageList_Destroy(list); }

}  // namespace tapora::api
