// The input method the SIP manager drives: an IInputMethod whose methods work
// on the process-wide state (InputMethodState, KeyboardSelection, the keyboard
// in memory), so a second object would share the window, callback and keyboard.
#pragma once

#include <windows.h>

#include "im/sip_interfaces.h"

namespace tapora {

class InputMethod final : public IInputMethod {
 public:
  InputMethod();
  ~InputMethod();
  InputMethod(const InputMethod&) = delete;
  InputMethod& operator=(const InputMethod&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Select(HWND sipWindow) override;
  HRESULT STDMETHODCALLTYPE Deselect() override;
  HRESULT STDMETHODCALLTYPE Showing() override;
  HRESULT STDMETHODCALLTYPE Hiding() override;
  HRESULT STDMETHODCALLTYPE GetInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE ReceiveSipInfo(SIPINFO* info) override;
  HRESULT STDMETHODCALLTYPE RegisterCallback(IIMCallback* callback) override;
  HRESULT STDMETHODCALLTYPE GetImData(DWORD size, void* data) override;
  HRESULT STDMETHODCALLTYPE SetImData(DWORD size, void* data) override;
  HRESULT STDMETHODCALLTYPE UserOptionsDlg(HWND parent) override;

 private:
  LONG refCount_;
  IUnknown* controllingUnknown_;  // itself: aggregation is refused
};

// The bottom line of the SIP rectangle GetInfo reports, whatever the screen.
constexpr LONG SIP_BOTTOM = 294;
// The mask colour of the SIP manager's images.
constexpr COLORREF IMAGE_MASK_COLOUR = RGB(192, 192, 192);

}  // namespace tapora
