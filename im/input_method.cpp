// The input method object. Its life cycle, as the SIP manager drives it (the
// state is process-wide, so it is the library's state as much as the object's):
//
//   loaded      -> factory      a ClassFactory for the class asked for     [DllGetClassObject]
//   factory     -> created      InputMethod built, resourceInstance set    [ClassFactory::CreateInstance]
//   created     -> selected     window class registered, keyboard loaded,
//                               panel window made in the SIP window        [Select]
//   created     -> created      a failed load: the class registered again
//                               is unregistered, E_FAIL                    [Select]
//   selected    -> selected     image lists built once, rectangle reported [GetInfo]
//                               panel window sized to the SIP rectangle    [ReceiveSipInfo]
//                               modifiers held towards the system released [Hiding]
//                               options dialog, reload when it asked       [UserOptionsDlg]
//   selected    -> created      modifiers released, keyboard freed, image
//                               lists, window and class destroyed          [Deselect]
//   created     -> loaded       last reference released, serverLocks - 1   [Release]
//
// The callback, KeyboardSelection and TypematicEnabled survive Deselect, so a
// later Select reuses the language and layout chosen before.
#include "im/input_method.h"

#include "apicalls/api_dialog.h"
#include "apicalls/api_gdi.h"
#include "apicalls/api_modules.h"
#include "apicalls/api_sip.h"
#include "apicalls/api_window.h"
#include "im/class_factory.h"
#include "im/input_method_state.h"
#include "im/panel_window.h"
#include "input/held_modifiers.h"
#include "language/keyboard_selection.h"
#include "language/options_dialog.h"
#include "layout/load_keyboard.h"
#include "resources/resource_ids.h"

namespace tapora {

namespace {

bool LoadSelectedKeyboard() {
  BuildKeyboardPath();
  return LoadKeyboard(KeyboardSelection.keyboardPath, &KeyboardSelection.windowHeight,
                      &KeyboardSelection.windowWidth);
}

// A masked list of one image from a bitmap resource; a bitmap that does not
// load leaves the list empty.
HIMAGELIST BuildImageList(int width, int height, int bitmapId) {
  HIMAGELIST list = api::ImageList_Create(width, height, ILC_MASK, 1, 1);
  HBITMAP bitmap = api::LoadBitmapW(InputMethodState.moduleInstance, MAKEINTRESOURCEW(bitmapId));
  if (bitmap != NULL) {
    api::ImageList_AddMasked(list, bitmap, IMAGE_MASK_COLOUR);
    api::DeleteObject(bitmap);
  }
  return list;
}

void DestroyImageLists() {
  if (InputMethodState.wideImages != NULL) api::ImageList_Destroy(InputMethodState.wideImages);
  if (InputMethodState.narrowImages != NULL) api::ImageList_Destroy(InputMethodState.narrowImages);
  InputMethodState.wideImages = NULL;
  InputMethodState.narrowImages = NULL;
}

}  // namespace

InputMethod::InputMethod() : refCount_(0), controllingUnknown_(this) {
  InputMethodState.resourceInstance = InputMethodState.moduleInstance;
  InputMethodState.serverLocks += 1;
}

InputMethod::~InputMethod() { InputMethodState.serverLocks -= 1; }

HRESULT STDMETHODCALLTYPE InputMethod::QueryInterface(REFIID riid, void** object) {
  if (object == NULL) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IInputMethod)) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IInputMethod*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE InputMethod::AddRef() { return static_cast<ULONG>(++refCount_); }

ULONG STDMETHODCALLTYPE InputMethod::Release() {
  const LONG count = --refCount_;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE InputMethod::Select(HWND sipWindow) {
  if (RegisterPanelWindowClass() == 0) return E_FAIL;
  if (!LoadSelectedKeyboard()) {
    // Unregistered again, so that a later Select can succeed once the
    // keyboard is mended.
    api::UnregisterClassW(PANEL_WINDOW_CLASS, InputMethodState.moduleInstance);
    return E_FAIL;
  }
  CreatePanelWindow(sipWindow);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::Deselect() {
  ReleaseHeldModifiers();
  ResetKeyboard();
  DestroyImageLists();
  api::DestroyWindow(InputMethodState.panelWindow);
  // Not ours any more: no later call may move or destroy it.
  InputMethodState.panelWindow = NULL;
  api::UnregisterClassW(PANEL_WINDOW_CLASS, InputMethodState.moduleInstance);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::Showing() { return S_OK; }

HRESULT STDMETHODCALLTYPE InputMethod::Hiding() {
  ReleaseHeldModifiers();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::GetInfo(IMINFO* info) {
  if (info == NULL) return E_POINTER;
  // Each list is built only while it is missing: a list whose creation
  // failed is tried again next time without building its partner twice.
  if (InputMethodState.wideImages == NULL) {
    InputMethodState.wideImages = BuildImageList(32, 16, IDB_WIDE_IMAGE);
  }
  if (InputMethodState.narrowImages == NULL) {
    InputMethodState.narrowImages = BuildImageList(16, 16, IDB_NARROW_IMAGE);
  }
  info->fdwFlags = 0;
  info->hImageNarrow = InputMethodState.narrowImages;
  info->hImageWide = InputMethodState.wideImages;
  info->iNarrow = 0;
  info->iWide = 0;
  info->rcSipRect.left = 0;
  info->rcSipRect.top = SIP_BOTTOM - KeyboardSelection.windowHeight;
  info->rcSipRect.right = KeyboardSelection.windowWidth;
  info->rcSipRect.bottom = SIP_BOTTOM;
  if (InputMethodState.callback != NULL) InputMethodState.callback->SetImInfo(info);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::ReceiveSipInfo(SIPINFO* info) {
  if (info == NULL) return E_POINTER;
  const RECT& rect = info->rcSipRect;
  api::MoveWindow(InputMethodState.panelWindow, 0, 0, rect.right - rect.left,
                  rect.bottom - rect.top, FALSE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::RegisterCallback(IIMCallback* callback) {
  InputMethodState.callback = callback;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE InputMethod::GetImData(DWORD, void*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE InputMethod::SetImData(DWORD, void*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE InputMethod::UserOptionsDlg(HWND parent) {
  const HINSTANCE instance = InputMethodState.resourceInstance;
  HRSRC found = api::FindResourceW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG);
  HGLOBAL loaded = found != NULL ? api::LoadResource(instance, found) : NULL;
  const void* dialog = loaded != NULL ? api::LockResource(loaded) : NULL;
  // Without its template the dialog cannot run; say so rather than pretend.
  if (dialog == NULL) return E_FAIL;
  api::DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialog), parent,
                               OptionsDialogProc, 0);
  if (ReloadRequested == 0) return S_OK;
  CLSID clsid = CLSID_InputMethod;
  api::SipSetCurrentIM(&clsid);
  ReloadRequested = 0;
  BuildKeyboardPath();
  api::SipShowIM(SIPF_OFF);
  if (!LoadKeyboard(KeyboardSelection.keyboardPath, &KeyboardSelection.windowHeight,
                    &KeyboardSelection.windowWidth)) {
    return E_FAIL;
  }
  api::SipShowIM(SIPF_ON);
  return S_OK;
}

}  // namespace tapora
