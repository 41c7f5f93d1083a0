// The SIP manager's interfaces and structures, as an input method and the SIP
// manager exchange them: IInputMethod (implemented by the input method),
// IIMCallback (the SIP manager's, through which every key event is sent),
// IMINFO, SIPINFO, their interface identifiers and the SIPF_* flags. This is the
// one definition of them: a Windows build of the system and the host build both
// take them from here, and the host's tools include this header to stand in for
// the SIP manager. The SIP manager's functions (SipShowIM, SipSetCurrentIM) come
// from the host's <sip.h>, or are declared below for a Windows build.
#pragma once

#include <windows.h>
#include <commctrl.h>  // HIMAGELIST
#ifdef WINCE_HOST
#include <sip.h>
#endif

// Flags of SipShowIM and of the fdwFlags fields.
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// Key event flags of IIMCallback::SendVirtualKey.
#ifndef KEYEVENTF_KEYUP
#define KEYEVENTF_KEYUP 0x0002
#endif
#ifndef KEYEVENTF_SILENT
#define KEYEVENTF_SILENT 0x0004
#endif

typedef struct tagIMINFO {
  DWORD cbSize;
  HIMAGELIST hImageNarrow;
  HIMAGELIST hImageWide;
  int iNarrow;
  int iWide;
  DWORD fdwFlags;
  RECT rcSipRect;
} IMINFO, *LPIMINFO;

typedef struct tagSIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;
  RECT rcVisibleDesktop;
  RECT rcSipRect;
  DWORD dwImDataSize;
  void* pvImData;
} SIPINFO, *LPSIPINFO;

// The device is a 32-bit system; the layouts must match its SIP manager.
static_assert(sizeof(void*) != 4 || sizeof(IMINFO) == 40, "IMINFO is 40 bytes on the device");
static_assert(sizeof(void*) != 4 || sizeof(SIPINFO) == 48, "SIPINFO is 48 bytes on the device");

// {42429666-AE04-11D0-A4F8-00AA00A749B9}
inline constexpr IID IID_IInputMethod = {0x42429666, 0xAE04, 0x11D0,
                                         {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};
// {42429669-AE04-11D0-A4F8-00AA00A749B9}
inline constexpr IID IID_IIMCallback = {0x42429669, 0xAE04, 0x11D0,
                                        {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};

// The SIP manager's side. Slots 3 to 6, after IUnknown's three.
struct IIMCallback : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* pimi) = 0;
  virtual HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE bVk, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SendCharEvents(UINT uVk, UINT uKeyFlags, UINT uChars,
                                                   UINT* puShift, UINT* puChars) = 0;
  // dwChars units of psz are sent; a terminator is not needed and not sent.
  virtual HRESULT STDMETHODCALLTYPE SendString(BSTR psz, DWORD dwChars) = 0;
};

// The input method's side. Slots 3 to 12, after IUnknown's three.
struct IInputMethod : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select(HWND hwndSip) = 0;
  virtual HRESULT STDMETHODCALLTYPE Deselect() = 0;
  virtual HRESULT STDMETHODCALLTYPE Showing() = 0;
  virtual HRESULT STDMETHODCALLTYPE Hiding() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInfo(IMINFO* pimi) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReceiveSipInfo(SIPINFO* psi) = 0;
  virtual HRESULT STDMETHODCALLTYPE RegisterCallback(IIMCallback* lpIMCallback) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetImData(DWORD dwSize, void* pvImData) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetImData(DWORD dwSize, void* pvImData) = 0;
  virtual HRESULT STDMETHODCALLTYPE UserOptionsDlg(HWND hwndParent) = 0;
};

#ifndef WINCE_HOST
// The SIP manager's functions live in the device's core library; a desktop SDK
// does not declare them.
extern "C" {
BOOL WINAPI SipShowIM(DWORD dwFlag);
BOOL WINAPI SipSetCurrentIM(CLSID* pClsid);
}
#endif
