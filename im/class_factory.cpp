// The class factory. serverLocks counts live factories and input methods plus
// outstanding LockServer locks; everything runs on the SIP manager's thread,
// so plain increments do.
#include "im/class_factory.h"

#include <new>

#include "im/input_method.h"
#include "im/input_method_state.h"

namespace tapora {

ClassFactory::ClassFactory(REFCLSID clsid) : refCount_(1), clsid_(clsid) {
  InputMethodState.serverLocks += 1;
}

ClassFactory::~ClassFactory() { InputMethodState.serverLocks -= 1; }

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == NULL) return E_POINTER;
  *object = NULL;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef() { return static_cast<ULONG>(++refCount_); }

ULONG STDMETHODCALLTYPE ClassFactory::Release() {
  const LONG count = --refCount_;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                      void** object) {
  if (object != NULL) *object = NULL;
  if (outer != NULL) return CLASS_E_NOAGGREGATION;
  if (!IsEqualCLSID(clsid_, CLSID_InputMethod)) return E_FAIL;
  InputMethod* inputMethod = new (std::nothrow) InputMethod();
  if (inputMethod == NULL) return E_OUTOFMEMORY;
  const HRESULT result = inputMethod->QueryInterface(riid, object);
  // A refused interface leaves the object without a reference: it goes again.
  if (FAILED(result)) delete inputMethod;
  return result;
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock) {
  InputMethodState.serverLocks += lock ? 1 : -1;
  return S_OK;
}

}  // namespace tapora
