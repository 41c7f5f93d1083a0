// The library's entry point and exports: the one way in for the SIP manager
// (and the registrar). Built into the library module only; the rest of the
// system is shared with the tools and tests.
#include <windows.h>

#include <new>

#include "im/class_factory.h"
#include "im/input_method_state.h"
#include "im/registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) tapora::InputMethodState.moduleInstance = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  tapora::ClassFactory* factory = new (std::nothrow) tapora::ClassFactory(clsid);
  if (factory == NULL) return E_OUTOFMEMORY;
  const HRESULT result = factory->QueryInterface(riid, object);
  // The caller holds the reference it asked for; the one the factory was
  // built with goes, so that its last Release destroys it.
  factory->Release();
  return result;
}

STDAPI DllCanUnloadNow() {
  return tapora::InputMethodState.serverLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() { return tapora::RegisterInputMethodServer(tapora::INPUT_METHOD_CLSID_TEXT); }

// A key that is missing or cannot be deleted is skipped: always S_OK.
STDAPI DllUnregisterServer() {
  tapora::UnregisterInputMethodServer();
  return S_OK;
}
